#include "TestFonts.h"

#include "fonts/FaceMatcher.h"

#include <filesystem>

namespace layer::test {

namespace {

const FaceMatcher* systemMatcher() {
    static const std::unique_ptr<FaceMatcher> matcher = FaceMatcher::systemFonts();
    return matcher.get();
}

}  // namespace

std::string TestFonts::file(const std::string& family, int weight, bool italic) {
    if (!systemMatcher()) return {};
    const auto candidates = systemMatcher()->candidates(family, weight, italic);
    return candidates.empty() ? std::string() : candidates.front().path;
}

std::shared_ptr<const FontFace> TestFonts::face(const std::string& family, int weight) {
    static const std::shared_ptr<FreeTypeLibrary> library = FreeTypeLibrary::create();
    return FontFace::load(library, file(family, weight), 0);
}

std::string TestFonts::baseName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace layer::test
