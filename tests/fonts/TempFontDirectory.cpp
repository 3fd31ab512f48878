#include "TempFontDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace layer::test {

TempFontDirectory::TempFontDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "font-engine-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data())) path_ = buffer.data();
}

TempFontDirectory::~TempFontDirectory() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string TempFontDirectory::add(const std::string& sourceFile) {
    const auto target = std::filesystem::path(path_) / std::filesystem::path(sourceFile).filename();
    std::error_code error;
    std::filesystem::copy_file(sourceFile, target, std::filesystem::copy_options::overwrite_existing, error);
    return error ? std::string() : target.string();
}

std::string TempFontDirectory::addJunk(const std::string& name) {
    const auto target = std::filesystem::path(path_) / name;
    std::ofstream file(target, std::ios::binary | std::ios::trunc);
    file << "this is not a font, only bytes that look nothing like one\n";
    return file ? target.string() : std::string();
}

}  // namespace layer::test
