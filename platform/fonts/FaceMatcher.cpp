#include "fonts/FaceMatcher.h"

#include <algorithm>

namespace layer {

namespace {

// Enough to survive a few unreadable files without sorting through every
// font on the system.
constexpr int kMaxCandidates = 8;

bool readCandidate(FcPattern* font, FaceCandidate& out) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) return false;
    out.path = reinterpret_cast<const char*>(file);

    int index = 0;
    out.index = FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch ? index : 0;

    // Variable fonts report a weight range; the named instance matters less
    // here than not faking bold on a face that can be bold, so take its top.
    double weight = FC_WEIGHT_REGULAR;
    FcValue value;
    if (FcPatternGet(font, FC_WEIGHT, 0, &value) == FcResultMatch) {
        if (value.type == FcTypeInteger) weight = value.u.i;
        if (value.type == FcTypeDouble) weight = value.u.d;
        double lowest = weight;
        if (value.type == FcTypeRange) FcRangeGetDouble(value.u.r, &lowest, &weight);
    }
    out.weight = static_cast<int>(FcWeightToOpenTypeDouble(weight) + 0.5);

    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    out.italic = slant != FC_SLANT_ROMAN;
    return true;
}

}  // namespace

std::unique_ptr<FaceMatcher> FaceMatcher::systemFonts() {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return nullptr;
    return std::unique_ptr<FaceMatcher>(new FaceMatcher(config));
}

std::unique_ptr<FaceMatcher> FaceMatcher::fontDirectory(const std::string& directory) {
    FcConfig* config = FcConfigCreate();
    if (!config) return nullptr;
    // Scanning a directory writes a cache for it; give it the same per-user
    // cache directory the system configuration uses instead of none at all.
    static const char kCacheOnly[] = "<fontconfig><cachedir prefix=\"xdg\">fontconfig</cachedir></fontconfig>";
    FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kCacheOnly), FcFalse);
    FcConfigAppFontAddDir(config, reinterpret_cast<const FcChar8*>(directory.c_str()));
    return std::unique_ptr<FaceMatcher>(new FaceMatcher(config));
}

FaceMatcher::~FaceMatcher() { FcConfigDestroy(config_); }

FcPattern* FaceMatcher::makePattern(const std::string& family, int weight, bool italic) const {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return nullptr;
    if (!family.empty()) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

std::vector<FaceCandidate> FaceMatcher::candidates(const std::string& family, int weight, bool italic) const {
    std::vector<FaceCandidate> result;
    FcPattern* pattern = makePattern(family, weight, italic);
    if (!pattern) return result;

    FcResult status = FcResultNoMatch;
    FcFontSet* sorted = FcFontSort(config_, pattern, FcFalse, nullptr, &status);
    FcPatternDestroy(pattern);
    if (!sorted) return result;

    const int count = std::min(sorted->nfont, kMaxCandidates);
    for (int i = 0; i < count; ++i) {
        FaceCandidate candidate;
        if (readCandidate(sorted->fonts[i], candidate)) result.push_back(std::move(candidate));
    }
    FcFontSetDestroy(sorted);
    return result;
}

}  // namespace layer
