#include "fonts/FaceMatcher.h"
#include "fonts/FontEngine.h"

#include "TempFontDirectory.h"
#include "TestFonts.h"

#include <gtest/gtest.h>

#include <string>

namespace layer {
namespace {

using test::TempFontDirectory;
using test::TestFonts;

bool monospaced(const RasterFont& font) { return font.measure("iiii", 4).width == font.measure("WWWW", 4).width; }

TEST(FaceMatcher, VerdanaFallsBackToDejaVuSansInEachWeight) {
    auto matcher = FaceMatcher::systemFonts();
    ASSERT_NE(matcher, nullptr);
    struct Case {
        int weight;
        const char* file;
        int fileWeight;
    };
    const Case cases[] = {{400, "DejaVuSans.ttf", 400}, {700, "DejaVuSans-Bold.ttf", 700}};
    for (const Case& c : cases) {
        const auto candidates = matcher->candidates("Verdana", c.weight, false);
        ASSERT_FALSE(candidates.empty());
        EXPECT_EQ(TestFonts::baseName(candidates.front().path), c.file);
        EXPECT_EQ(candidates.front().weight, c.fileWeight);
        EXPECT_FALSE(candidates.front().italic);
    }
}

TEST(FaceMatcher, OffersFallbacksForUnknownAndEmptyNames) {
    auto matcher = FaceMatcher::systemFonts();
    ASSERT_NE(matcher, nullptr);
    for (const char* family : {"", "No Such Face At All", "Verdana"}) {
        const auto candidates = matcher->candidates(family, 400, false);
        EXPECT_GT(candidates.size(), 1u) << family;
        for (const auto& candidate : candidates) EXPECT_FALSE(candidate.path.empty());
    }
}

TEST(FaceMatcher, EmptyDirectoryOffersNothing) {
    TempFontDirectory directory;
    auto matcher = FaceMatcher::fontDirectory(directory.path());
    ASSERT_NE(matcher, nullptr);
    EXPECT_TRUE(matcher->candidates("Verdana", 400, false).empty());
}

TEST(FontEngine, UnknownFaceStillGivesUsableFont) {
    for (const char* face : {"No Such Face At All", "", "\xff\xfe odd bytes"}) {
        auto font = FontEngine::shared().open(FontRequest{face, 12, 400});
        ASSERT_NE(font, nullptr) << face;
        EXPECT_GT(font->height(), 0);
        EXPECT_GT(font->measure("Volume", 6).width, 0);
    }
}

TEST(FontEngine, SameRequestGivesSameFont) {
    const FontRequest base{"Verdana", 11, 400};
    auto first = FontEngine::shared().open(base);
    ASSERT_NE(first, nullptr);

    struct Case {
        const char* what;
        FontRequest request;
        bool same;
    };
    const Case cases[] = {
        {"identical", base, true},
        {"face name in other case", {"VERDANA", 11, 400}, true},
        {"weight 0 is normal", {"Verdana", 11, 0}, true},
        {"other size", {"Verdana", 12, 400}, false},
        {"bold", {"Verdana", 11, 700}, false},
        {"italic", {"Verdana", 11, 400, true}, false},
        {"underline", {"Verdana", 11, 400, false, true}, false},
        {"strike-out", {"Verdana", 11, 400, false, false, true}, false},
        {"other face", {"DejaVu Sans Mono", 11, 400}, false},
    };
    for (const Case& c : cases) {
        auto font = FontEngine::shared().open(c.request);
        ASSERT_NE(font, nullptr) << c.what;
        EXPECT_EQ(font.get() == first.get(), c.same) << c.what;
        EXPECT_EQ(font->decorations().underline, c.request.underline) << c.what;
        EXPECT_EQ(font->decorations().strikeOut, c.request.strikeOut) << c.what;
    }
}

TEST(FontEngine, KeepsFontsThatAreStillHeldAcrossManyRequests) {
    FontEngine engine(FaceMatcher::systemFonts());
    auto held = engine.open(FontRequest{"Verdana", 9, 400});
    ASSERT_NE(held, nullptr);
    // Enough different requests to make the engine drop unused fonts.
    for (int em = 10; em < 200; ++em) ASSERT_NE(engine.open(FontRequest{"Verdana", em, 400}), nullptr);
    EXPECT_EQ(engine.open(FontRequest{"Verdana", 9, 400}).get(), held.get());
}

TEST(FontEngine, FontOutlivesItsEngine) {
    std::shared_ptr<const RasterFont> font;
    {
        FontEngine engine(FaceMatcher::systemFonts());
        font = engine.open(FontRequest{"Verdana", 14, 700});
    }
    ASSERT_NE(font, nullptr);
    EXPECT_GT(font->measure("Volume: 100", 11).width, 0);
}

TEST(FontEngine, NoLoadableFontGivesNull) {
    TempFontDirectory empty;
    TempFontDirectory junk;
    junk.addJunk("broken.ttf");
    for (const TempFontDirectory* directory : {&empty, &junk}) {
        FontEngine engine(FaceMatcher::fontDirectory(directory->path()));
        for (int repeat = 0; repeat < 2; ++repeat) {  // also once the failure is cached
            EXPECT_EQ(engine.open(FontRequest{"Verdana", 12, 400}), nullptr);
        }
    }
    EXPECT_EQ(FontEngine(nullptr).open(FontRequest{"Verdana", 12, 400}), nullptr);
}

TEST(FontEngine, AnyNameFindsTheOnlyFontThere) {
    TempFontDirectory directory;
    ASSERT_FALSE(directory.add(TestFonts::file("DejaVu Sans Mono")).empty());
    FontEngine engine(FaceMatcher::fontDirectory(directory.path()));
    for (const char* face : {"Verdana", "Arial", "", "DejaVu Sans"}) {
        auto font = engine.open(FontRequest{face, 12, 400});
        ASSERT_NE(font, nullptr) << face;
        EXPECT_TRUE(monospaced(*font)) << face;
    }
}

TEST(FontEngine, SkipsFileThatNoLongerLoads) {
    TempFontDirectory directory;
    const std::string sans = directory.add(TestFonts::file("DejaVu Sans"));
    ASSERT_FALSE(sans.empty());
    ASSERT_FALSE(directory.add(TestFonts::file("DejaVu Sans Mono")).empty());
    FontEngine engine(FaceMatcher::fontDirectory(directory.path()));

    // fontconfig has indexed both files; break the better match behind its back.
    ASSERT_EQ(TestFonts::baseName(directory.addJunk(TestFonts::baseName(sans))), TestFonts::baseName(sans));
    auto font = engine.open(FontRequest{"DejaVu Sans", 12, 400});
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(monospaced(*font));
}

}  // namespace
}  // namespace layer
