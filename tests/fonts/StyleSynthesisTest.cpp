#include "fonts/StyleSynthesis.h"

#include <gtest/gtest.h>

namespace layer {
namespace {

struct SynthesisCase {
    int requestedWeight;
    bool requestedItalic;
    int faceWeight;
    bool faceItalic;
    bool embolden;
    bool oblique;
};

TEST(StyleSynthesis, FakesOnlyWhatTheFaceLacks) {
    const SynthesisCase cases[] = {
        // weight
        {400, false, 400, false, false, false},
        {700, false, 400, false, true, false},
        {700, false, 700, false, false, false},
        {600, false, 400, false, true, false},  // semibold already counts as bold
        {600, false, 599, false, true, false},
        {600, false, 600, false, false, false},
        {500, false, 400, false, false, false},  // medium is not emboldened
        {900, false, 700, false, false, false},  // a bold face is heavy enough
        {400, false, 700, false, false, false},  // never thinned
        {700, false, 200, false, true, false},   // light face, bold request
        // slant
        {400, true, 400, false, false, true},
        {400, true, 400, true, false, false},
        {400, false, 400, true, false, false},  // an italic face is not straightened
        // both
        {700, true, 400, false, true, true},
        {700, true, 700, true, false, false},
        {700, true, 700, false, false, true},
    };
    for (const SynthesisCase& c : cases) {
        const StyleSynthesis got =
            StyleSynthesis::needed(c.requestedWeight, c.requestedItalic, c.faceWeight, c.faceItalic);
        EXPECT_EQ(got.embolden, c.embolden) << "request " << c.requestedWeight << "/" << c.requestedItalic << " face "
                                            << c.faceWeight << "/" << c.faceItalic;
        EXPECT_EQ(got.oblique, c.oblique) << "request " << c.requestedWeight << "/" << c.requestedItalic << " face "
                                          << c.faceWeight << "/" << c.faceItalic;
    }
}

}  // namespace
}  // namespace layer
