#pragma once

#include "fonts/FontRequest.h"
#include "fonts/RasterFont.h"
#include "fonts/StyleSynthesis.h"

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>

namespace layer {

class FaceMatcher;
class FontFace;
class FreeTypeLibrary;

// Hands out RasterFonts for LOGFONT-like requests (CreateFontIndirect).
//
// The program recreates its font every frame, so everything is cached:
//  - each full request (after defaults are applied) maps to one RasterFont,
//    returned again as the same object while it is cached;
//  - each (face name, weight, italic) remembers its fontconfig match;
//  - each font file is opened with FreeType once.
// A repeated open is a hash lookup. Fonts no one holds any more are dropped
// once more than a few dozen different requests have been seen.
//
// Not thread-safe: use from one thread (the UI thread).
class FontEngine {
public:
    static constexpr int kDefaultEmPixels = 12;  // for emPixels <= 0 (lfHeight 0)
    static constexpr int kMaxEmPixels = 1024;

    // The engine over the system's fontconfig setup.
    static FontEngine& shared();

    // An engine over the fonts a matcher offers (tests use a font directory).
    // A null matcher gives an engine whose open() always returns nullptr.
    explicit FontEngine(std::unique_ptr<FaceMatcher> matcher);
    ~FontEngine();
    FontEngine(const FontEngine&) = delete;
    FontEngine& operator=(const FontEngine&) = delete;

    // Some font is always found for any face name (fontconfig falls back to a
    // default family); bold or italic the chosen file lacks is synthesised.
    // nullptr only when no font file at all can be loaded.
    std::shared_ptr<const RasterFont> open(const FontRequest& request);

private:
    // A request with defaults applied and the face name lower-cased, since
    // Windows face names are case-insensitive.
    struct Key {
        std::string face;
        int emPixels = 0;
        int weight = 0;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };
    struct Style {
        std::shared_ptr<const FontFace> face;  // null: nothing could be loaded
        StyleSynthesis synthesis;
    };

    void normalise(const FontRequest& request, Key& key) const;
    const Style& style(const Key& request);
    Style resolve(const Key& key);
    std::shared_ptr<const FontFace> loadFile(const std::string& path, int index);
    void dropUnusedFonts();

    std::shared_ptr<FreeTypeLibrary> library_;
    std::unique_ptr<FaceMatcher> matcher_;
    // Style cache key: the request's face, weight and italic only.
    std::unordered_map<Key, Style, KeyHash> styles_;
    std::unordered_map<std::string, std::shared_ptr<const FontFace>> files_;
    std::unordered_map<Key, std::shared_ptr<const RasterFont>, KeyHash> fonts_;
    Key lookup_;  // reused so a cache hit allocates nothing
};

}  // namespace layer
