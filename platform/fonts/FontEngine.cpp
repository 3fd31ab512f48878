#include "fonts/FontEngine.h"

#include "fonts/FaceMatcher.h"
#include "fonts/FontFace.h"
#include "fonts/FreeTypeLibrary.h"
#include "fonts/GlyphCache.h"
#include "fonts/SystemFonts.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace layer {

namespace {

constexpr int kNormalWeight = 400;
// Past this many distinct requests, fonts nobody holds are let go.
constexpr size_t kFontCacheSoftLimit = 64;
// Match results are small, but an unbounded stream of face names should not
// grow memory forever; past this the match cache simply starts over.
constexpr size_t kStyleCacheLimit = 256;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::shared_ptr<const RasterFont> openSystemFont(const FontRequest& request) {
    return FontEngine::shared().open(request);
}

FontEngine& FontEngine::shared() {
    static FontEngine engine(FaceMatcher::systemFonts());
    return engine;
}

FontEngine::FontEngine(std::unique_ptr<FaceMatcher> matcher)
    : library_(FreeTypeLibrary::create()), matcher_(std::move(matcher)) {}

FontEngine::~FontEngine() = default;

size_t FontEngine::KeyHash::operator()(const Key& key) const {
    size_t hash = std::hash<std::string>{}(key.face);
    const auto mix = [&hash](size_t value) { hash ^= value + 0x9e3779b97f4a7c15ull + (hash << 6) + (hash >> 2); };
    mix(static_cast<size_t>(key.emPixels));
    mix(static_cast<size_t>(key.weight));
    mix((key.italic ? 1u : 0u) | (key.underline ? 2u : 0u) | (key.strikeOut ? 4u : 0u));
    return hash;
}

void FontEngine::normalise(const FontRequest& request, Key& key) const {
    key.face.assign(request.face);
    std::transform(key.face.begin(), key.face.end(), key.face.begin(), lowerAscii);
    key.emPixels = request.emPixels <= 0 ? kDefaultEmPixels : std::min(request.emPixels, kMaxEmPixels);
    key.weight = request.weight <= 0 ? kNormalWeight : std::min(request.weight, 1000);
    key.italic = request.italic;
    key.underline = request.underline;
    key.strikeOut = request.strikeOut;
}

std::shared_ptr<const RasterFont> FontEngine::open(const FontRequest& request) {
    if (!library_ || !matcher_) return nullptr;
    normalise(request, lookup_);
    if (auto hit = fonts_.find(lookup_); hit != fonts_.end()) return hit->second;

    const Style& chosen = style(lookup_);
    if (!chosen.face) return nullptr;
    auto font = RasterFont::create(GlyphCache::create(chosen.face, lookup_.emPixels, chosen.synthesis),
                                   RasterFont::Decorations{lookup_.underline, lookup_.strikeOut});
    if (!font) return nullptr;

    if (fonts_.size() >= kFontCacheSoftLimit) dropUnusedFonts();
    fonts_.emplace(lookup_, font);
    return font;
}

const FontEngine::Style& FontEngine::style(const Key& request) {
    // Only what fontconfig matches on: size and decorations don't matter here.
    Key key;
    key.face = request.face;
    key.weight = request.weight;
    key.italic = request.italic;
    if (auto hit = styles_.find(key); hit != styles_.end()) return hit->second;
    if (styles_.size() >= kStyleCacheLimit) styles_.clear();
    // A failed resolution is remembered too, so a system without usable fonts
    // doesn't run fontconfig on every frame.
    return styles_.emplace(key, resolve(key)).first->second;
}

FontEngine::Style FontEngine::resolve(const Key& key) {
    for (const FaceCandidate& candidate : matcher_->candidates(key.face, key.weight, key.italic)) {
        if (auto face = loadFile(candidate.path, candidate.index)) {
            return Style{std::move(face),
                         StyleSynthesis::needed(key.weight, key.italic, candidate.weight, candidate.italic)};
        }
    }
    return Style{};
}

std::shared_ptr<const FontFace> FontEngine::loadFile(const std::string& path, int index) {
    const std::string id = path + '#' + std::to_string(index);
    if (auto hit = files_.find(id); hit != files_.end()) return hit->second;
    auto face = FontFace::load(library_, path, index);
    // Unloadable files are not remembered; they only come up on a cache miss.
    if (face) files_.emplace(id, face);
    return face;
}

void FontEngine::dropUnusedFonts() {
    std::erase_if(fonts_, [](const auto& entry) { return entry.second.use_count() == 1; });
}

}  // namespace layer
