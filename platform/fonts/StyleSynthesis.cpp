#include "fonts/StyleSynthesis.h"

namespace layer {

namespace {
constexpr int kFirstBoldWeight = 600;  // FW_SEMIBOLD
}

StyleSynthesis StyleSynthesis::needed(int requestedWeight, bool requestedItalic, int faceWeight, bool faceItalic) {
    StyleSynthesis result;
    result.embolden = requestedWeight >= kFirstBoldWeight && faceWeight < kFirstBoldWeight;
    result.oblique = requestedItalic && !faceItalic;
    return result;
}

}  // namespace layer
