// The skin: the resource catalogue, the window region as the program applies
// it, and a start with resources missing.
#include <gtest/gtest.h>

#include <cstring>

#include "ProgramHarness.h"
#include "app/AppState.h"
#include "layer/Headless.h"
#include "layer/Testing.h"
#include "res/resource.h"

namespace headless = layer::headless;

namespace {

struct CatalogueEntry {
    int id;
    int width, height;
};

const CatalogueEntry catalogue[] = {
    {IDB_ANIM_FIRST, 7, 61},
    {IDB_ANIM_1, 7, 61},
    {IDB_ANIM_2, 7, 61},
    {IDB_ANIM_3, 7, 61},
    {IDB_DOWN, 7, 7},
    {IDB_DOWN_PRESSED, 7, 7},
    {IDB_CLOSE, 14, 15},
    {IDB_CLOSE_PRESSED, 14, 15},
    {IDB_INFO, 14, 9},
    {IDB_INFO_PRESSED, 14, 9},
    {IDB_BACKGROUND, 326, 272},
    {IDB_MINIMISE, 13, 15},
    {IDB_MINIMISE_PRESSED, 13, 15},
    {IDB_PAUSE, 11, 11},
    {IDB_PAUSE_PRESSED, 11, 11},
    {IDB_PLAY, 11, 11},
    {IDB_PLAY_PRESSED, 11, 11},
    {IDB_RECORD, 11, 11},
    {IDB_RECORD_PRESSED, 11, 11},
    {IDB_THUMB_PRESSED, 7, 24},
    {IDB_THUMB, 7, 24},
    {IDB_STOP, 11, 11},
    {IDB_STOP_PRESSED, 11, 11},
    {IDB_UP, 7, 7},
    {IDB_UP_PRESSED, 7, 7},
    {IDB_VOLUME_THUMB, 9, 8},
};

TEST(SkinResources, EveryBitmapHasItsIdentifierSizeAndFormat) {
    ProgramHarness fresh;
    HINSTANCE module = GetModuleHandleA(nullptr);
    for (const CatalogueEntry& entry : catalogue) {
        HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(entry.id), RT_BITMAP);
        ASSERT_NE(resource, nullptr) << "bitmap " << entry.id;
        BITMAPINFOHEADER header;
        ASSERT_GE(SizeofResource(module, resource), sizeof header);
        std::memcpy(&header, LoadResource(module, resource), sizeof header);
        EXPECT_EQ(header.biWidth, entry.width) << "bitmap " << entry.id;
        EXPECT_EQ(header.biHeight, entry.height) << "bitmap " << entry.id << " is bottom-up";
        EXPECT_EQ(header.biBitCount, 24) << "bitmap " << entry.id;
        EXPECT_EQ(header.biCompression, DWORD(BI_RGB)) << "bitmap " << entry.id;
        EXPECT_EQ(SizeofResource(module, resource),
                  header.biSize + DWORD(((entry.width * 24 + 31) / 32) * 4 * entry.height))
            << "bitmap " << entry.id;
    }
}

TEST(SkinResources, TheRegionBlockHasItsHeaderAndSixtyFourBands) {
    ProgramHarness fresh;
    HINSTANCE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDR_REGION), "BINARY");
    ASSERT_NE(resource, nullptr);
    ASSERT_EQ(SizeofResource(module, resource), 1056u);
    RGNDATAHEADER header;
    std::memcpy(&header, LoadResource(module, resource), sizeof header);
    EXPECT_EQ(header.dwSize, 32u);
    EXPECT_EQ(header.iType, 1u);
    EXPECT_EQ(header.nCount, 64u);
    EXPECT_EQ(header.nRgnSize, 1024u);
    EXPECT_EQ(header.rcBound.left, 27);
    EXPECT_EQ(header.rcBound.top, 23);
    EXPECT_EQ(header.rcBound.right, 299);
    EXPECT_EQ(header.rcBound.bottom, 214);
    std::vector<RECT> rects(64);
    std::memcpy(rects.data(), static_cast<const char*>(LoadResource(module, resource)) + 32, 1024);
    for (std::size_t i = 1; i < rects.size(); ++i) {
        bool ordered = rects[i].top > rects[i - 1].top ||
                       (rects[i].top == rects[i - 1].top && rects[i].left >= rects[i - 1].right);
        EXPECT_TRUE(ordered) << "rectangle " << i << " is out of band order";
    }
}

struct RegionPoint {
    int x, y;
    bool inside;
    const char* where;
};

const RegionPoint regionPoints[] = {
    {27, 22, false, "above the left edge"},
    {26, 100, false, "left of the left edge"},
    {27, 100, true, "on the left edge"},
    {171, 23, false, "left of the dome's top row"},
    {172, 23, true, "the dome's top row"},
    {198, 23, true, "the dome's top row, last pixel"},
    {199, 23, false, "right of the dome's top row"},
    {87, 27, true, "the tab's top row"},
    {86, 27, false, "left of the tab's top row"},
    {87, 30, true, "the tab's side"},
    {100, 32, false, "the gap inside the tab"},
    {89, 32, false, "the gap's first column"},
    {86, 30, true, "the tab's side, outer column"},
    {215, 130, false, "the gap beside the animated bar"},
    {218, 130, false, "the gap's last column"},
    {219, 130, true, "the animated bar"},
    {214, 130, true, "the body beside the gap"},
    {226, 130, false, "right of the animated bar"},
    {235, 47, true, "the upper bar joining the right panel"},
    {235, 55, false, "between the bars"},
    {235, 63, true, "the lower bar"},
    {298, 45, true, "the right panel's edge"},
    {299, 45, false, "right of the right panel"},
    {227, 198, false, "the first slit of the lower right corner"},
    {228, 198, true, "beside the slit"},
    {212, 213, false, "the bevelled corner's bottom row"},
    {211, 213, true, "the last pixel of the bottom row"},
    {100, 214, false, "below the bottom"},
};

TEST(SkinRegion, TheWindowShowsOnlyTheRegionsPixels) {
    ProgramHarness program;
    program.at(100, [] {
        for (const RegionPoint& p : regionPoints) {
            COLORREF colour;
            EXPECT_EQ(headless::windowPixel(p.x, p.y, colour), p.inside)
                << p.where << " (" << p.x << ", " << p.y << ")";
        }
    });
    program.close(200);
    EXPECT_EQ(program.run(), 0);
}

// A press that reaches the window on bare skin starts the move; one that
// falls outside the region never reaches it, so the window stays put.
TEST(SkinRegion, PointerInputArrivesOnlyInsideTheRegion) {
    for (const RegionPoint& p : regionPoints) {
        ProgramHarness program;
        program.press(100, p.x, p.y);
        program.move(140, p.x + 10, p.y + 20);
        program.release(180, p.x + 10, p.y + 20);
        program.close(300);
        EXPECT_EQ(program.run(), 0);
        POINT moved = headless::windowPosition();
        bool windowMoved = moved.x != program.origin().x || moved.y != program.origin().y;
        bool onAControl = (p.y >= 23 && p.y < 38 && p.x >= 172 && p.x < 199);  // minimise, close
        if (onAControl) continue;
        EXPECT_EQ(windowMoved, p.inside) << p.where << " (" << p.x << ", " << p.y << ")";
    }
}

TEST(SkinRegion, TheBackgroundFillsTheRegionWhereNoControlCoversIt) {
    ProgramHarness program;
    program.at(100, [] {
        ResourceBitmap background = loadResourceBitmap(IDB_BACKGROUND);
        ASSERT_EQ(background.width, 326);
        const RECT covered[] = {{187, 202, 201, 211}, {172, 23, 199, 38}, {151, 56, 184, 67},   {198, 56, 209, 67},
                                {207, 71, 214, 189},  {35, 77, 44, 85},   {219, 101, 226, 162}, {47, 196, 120, 210}};
        int compared = 0;
        for (int y = 0; y < 272; ++y) {
            for (int x = 0; x < 326; ++x) {
                bool underSomething = false;
                for (const RECT& r : covered)
                    underSomething |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                COLORREF shown;
                if (underSomething || !headless::windowPixel(x, y, shown)) continue;
                ++compared;
                ASSERT_EQ(shown, background.at(x, y)) << "pixel (" << x << ", " << y << ") is " << describeColour(shown)
                                                      << ", expected " << describeColour(background.at(x, y));
            }
        }
        EXPECT_GT(compared, 30000);
    });
    program.close(200);
    EXPECT_EQ(program.run(), 0);
}

TEST(SkinResources, WithAnyResourceMissingTheProgramStillStartsRunsAndClosesWithZero) {
    std::vector<int> ids{IDR_REGION};
    for (const CatalogueEntry& entry : catalogue) ids.push_back(entry.id);
    for (int id : ids) {
        ProgramHarness program;
        layer::testing::hideResource(id);
        program.click(100, 156, 61);   // play
        program.click(200, 210, 185);  // scroll down
        program.press(300, 39, 80);    // volume
        program.move(320, 39, 90);
        program.release(340, 39, 90);
        program.close(500);
        EXPECT_EQ(program.run(), 0) << "resource " << id << " missing";
        EXPECT_GT(headless::presentCount(), 20) << "resource " << id << " missing";
    }
}

TEST(SkinResources, WithoutTheRegionTheWholeRectangleShows) {
    ProgramHarness program;
    layer::testing::hideResource(IDR_REGION);
    program.at(100, [] {
        COLORREF colour;
        EXPECT_TRUE(headless::windowPixel(0, 0, colour));
        EXPECT_TRUE(headless::windowPixel(325, 271, colour));
    });
    program.close(200);
    EXPECT_EQ(program.run(), 0);
}

}  // namespace
