// The scale the desktop asks for: GDK_SCALE first, then Xft.dpi over 96.
#include <gtest/gtest.h>

#include "DesktopScale.h"

namespace {

using layer::DesktopScale;

struct ScaleCase {
    const char* gdkScale;
    const char* resources;
    int scale;
};

TEST(DesktopScale, TheDesktopsSettingInWholeNumbers) {
    const ScaleCase cases[] = {
        {nullptr, nullptr, 1},
        {"2", nullptr, 2},
        {"3", "Xft.dpi:\t96\n", 3},  // the variable wins
        {"1", "Xft.dpi:\t192\n", 1},
        {nullptr, "Xft.dpi:\t192\n", 2},
        {nullptr, "Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n", 1},  // 1.5, rounded down
        {nullptr, "Xft.dpi: 288\n", 3},
        {nullptr, "Xft.dpi:\t95\n", 1},
        {nullptr, "*dpi:\t192\n", 2},  // a looser binding matches too
        {nullptr, "Xft.dpi:\t191.9\n", 1},
        {nullptr, "Xcursor.size:\t48\n", 1},
        {nullptr, "Xft.dpi:\tlarge\n", 1},
        {"", "Xft.dpi:\t192\n", 2},   // set but empty: as if unset
        {"0", "Xft.dpi:\t192\n", 2},  // not a scale: the resource decides
        {"-2", nullptr, 1},
        {"1.5", nullptr, 1},
        {"two", "Xft.dpi:\t288\n", 3},
        {"1000", nullptr, DesktopScale::largest},
        {nullptr, "Xft.dpi:\t96000\n", DesktopScale::largest},
        {nullptr, "Xft.dpi:\t1e300\n", DesktopScale::largest},  // far beyond an int
        {nullptr, "Xft.dpi:\t-1e300\n", 1},
    };
    for (const ScaleCase& c : cases)
        EXPECT_EQ(DesktopScale::choose(c.gdkScale, c.resources), c.scale)
            << "GDK_SCALE " << (c.gdkScale ? c.gdkScale : "unset") << ", resources "
            << (c.resources ? c.resources : "none");
}

}  // namespace
