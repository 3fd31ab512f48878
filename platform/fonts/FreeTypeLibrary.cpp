#include "fonts/FreeTypeLibrary.h"

#include FT_DRIVER_H
#include FT_MODULE_H

namespace layer {

namespace {

// The classic TrueType interpreter runs the fonts' hinting programs in both
// directions, as GDI's grey anti-aliasing does: stems snap to whole pixels and
// advances come out of the hinted outline (or the hdmx table). The newer
// default only hints vertically, which gives softer, wider text than the
// program was designed against.
void selectClassicHinting(FT_Library library) {
    FT_UInt version = TT_INTERPRETER_VERSION_35;
    // Not fatal: without it the default interpreter is used.
    FT_Property_Set(library, "truetype", "interpreter-version", &version);
}

}  // namespace

std::shared_ptr<FreeTypeLibrary> FreeTypeLibrary::create() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return nullptr;
    selectClassicHinting(library);
    return std::shared_ptr<FreeTypeLibrary>(new FreeTypeLibrary(library));
}

FreeTypeLibrary::~FreeTypeLibrary() { FT_Done_FreeType(library_); }

}  // namespace layer
