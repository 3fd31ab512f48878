#pragma once

#include "fonts/FontFace.h"

#include <memory>
#include <string>

namespace layer::test {

// Fonts of the test machine, found through the system's fontconfig setup so
// that no test depends on where the distribution installs them.
class TestFonts {
public:
    // Path of the file fontconfig picks first; empty if there is none.
    static std::string file(const std::string& family, int weight = 400, bool italic = false);
    // That file opened with FreeType; nullptr if it can't be.
    static std::shared_ptr<const FontFace> face(const std::string& family, int weight = 400);
    // File name without the directory.
    static std::string baseName(const std::string& path);
};

}  // namespace layer::test
