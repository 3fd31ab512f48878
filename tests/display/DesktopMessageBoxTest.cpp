// The picture of the desktop message box: its text drawn with the layer's
// fonts, the box sized to the text, and the OK button where clicks are taken.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "DesktopMessageBox.h"

namespace {

using layer::DesktopMessageBox;

constexpr COLORREF face = RGB(240, 240, 240);

// The bounding box of the pixels that are neither the face nor the button.
RECT inkBounds(const DesktopMessageBox::Picture& picture) {
    RECT ink{picture.pixels.width(), picture.pixels.height(), 0, 0};
    for (int y = 0; y < picture.okButton.top; ++y)
        for (int x = 0; x < picture.pixels.width(); ++x)
            if (picture.pixels.pixel(x, y) != face) {
                ink.left = std::min<LONG>(ink.left, x);
                ink.top = std::min<LONG>(ink.top, y);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
    return ink;
}

DesktopMessageBox::Picture drawn(const std::string& text) {
    std::optional<DesktopMessageBox::Picture> picture = DesktopMessageBox::draw(text);
    if (!picture) ADD_FAILURE() << "no picture for " << text << " (no font?)";
    return picture ? *picture : DesktopMessageBox::Picture{layer::Bitmap(1, 1, false), RECT{}};
}

TEST(DesktopMessageBox, TheTextIsDrawnAboveTheButton) {
    DesktopMessageBox::Picture picture = drawn("Information shit");
    RECT ink = inkBounds(picture);
    ASSERT_LT(ink.left, ink.right) << "no text drawn";
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, picture.pixels.width() - 10);
    EXPECT_GE(ink.bottom - ink.top, 7);
    EXPECT_GE(ink.right - ink.left, 60);
}

TEST(DesktopMessageBox, TheOkButtonIsCentredAtTheBottomInsideTheBox) {
    DesktopMessageBox::Picture picture = drawn("Information shit");
    const RECT& ok = picture.okButton;
    EXPECT_GT(ok.right - ok.left, 40);
    EXPECT_GT(ok.bottom - ok.top, 15);
    EXPECT_NEAR(ok.left + ok.right, picture.pixels.width(), 1);
    EXPECT_LT(ok.bottom, picture.pixels.height());
    EXPECT_GT(ok.bottom, picture.pixels.height() - 20);
    // The button is drawn where it takes clicks: a border round it.
    EXPECT_NE(picture.pixels.pixel(ok.left, ok.top), face);
    EXPECT_NE(picture.pixels.pixel(ok.right - 1, ok.bottom - 1), face);
    EXPECT_EQ(picture.pixels.pixel(ok.left - 1, ok.top - 1), face);
}

TEST(DesktopMessageBox, TheBoxGrowsWithItsText) {
    DesktopMessageBox::Picture shortText = drawn("Hi");
    DesktopMessageBox::Picture longText = drawn(std::string(60, 'W'));
    DesktopMessageBox::Picture twoLines = drawn("Hi\nthere");

    EXPECT_GT(longText.pixels.width(), shortText.pixels.width());
    RECT ink = inkBounds(longText);
    EXPECT_GE(ink.left, 10) << "the long text does not fit the box";
    EXPECT_LE(ink.right, longText.pixels.width() - 10) << "the long text does not fit the box";
    EXPECT_GT(twoLines.pixels.height(), shortText.pixels.height());
    EXPECT_EQ(twoLines.pixels.width(), shortText.pixels.width());  // both narrower than the smallest box
}

}  // namespace
