#pragma once

#include <string>

namespace layer::test {

// A scratch directory of font files for running the engine against a known
// set of fonts; removed with everything in it on destruction.
class TempFontDirectory {
public:
    TempFontDirectory();
    ~TempFontDirectory();
    TempFontDirectory(const TempFontDirectory&) = delete;
    TempFontDirectory& operator=(const TempFontDirectory&) = delete;

    const std::string& path() const { return path_; }
    // Copies a font file in; returns the copy's path (empty on failure).
    std::string add(const std::string& sourceFile);
    // Writes a file of the given name holding bytes that are no font.
    std::string addJunk(const std::string& name);

private:
    std::string path_;
};

}  // namespace layer::test
