#pragma once

#include <fontconfig/fontconfig.h>

#include <memory>
#include <string>
#include <vector>

namespace layer {

// A font file fontconfig offers for a request, with the style it really has.
struct FaceCandidate {
    std::string path;
    int index = 0;
    int weight = 400;  // OpenType scale
    bool italic = false;
};

// Turns a LOGFONT family/weight/italic into font files through fontconfig.
// fontconfig always proposes something (its aliases end in the default sans
// font), so an unknown family still yields candidates.
class FaceMatcher {
public:
    // The user's and system's fontconfig setup; nullptr if it cannot be loaded.
    static std::unique_ptr<FaceMatcher> systemFonts();
    // Only the fonts found in one directory, without any configuration; used to
    // run the engine against a known (possibly empty) set of fonts.
    static std::unique_ptr<FaceMatcher> fontDirectory(const std::string& directory);

    ~FaceMatcher();
    FaceMatcher(const FaceMatcher&) = delete;
    FaceMatcher& operator=(const FaceMatcher&) = delete;

    // Best match first, then the next best ones to fall back on when a file
    // cannot be opened. Empty only when the configuration has no fonts at all.
    std::vector<FaceCandidate> candidates(const std::string& family, int weight, bool italic) const;

private:
    explicit FaceMatcher(FcConfig* config) : config_(config) {}

    FcPattern* makePattern(const std::string& family, int weight, bool italic) const;

    FcConfig* config_;
};

}  // namespace layer
