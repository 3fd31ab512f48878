#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

namespace layer {

// Owns one FT_Library. Every FontFace keeps a shared_ptr to it, so the library
// is released only after the last face opened from it, whatever order the
// engine and the fonts handed out are destroyed in.
class FreeTypeLibrary {
public:
    // Returns nullptr when FreeType cannot be initialised.
    static std::shared_ptr<FreeTypeLibrary> create();

    ~FreeTypeLibrary();
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

    FT_Library handle() const { return library_; }

private:
    explicit FreeTypeLibrary(FT_Library library) : library_(library) {}

    FT_Library library_;
};

}  // namespace layer
