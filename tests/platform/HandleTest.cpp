// Handles: a freed handle stays dead while its slot is reused, until the
// slot's generation wraps after 32,767 reuses (Windows recycles its handles
// too); and when the layer runs out of handles it refuses to create rather
// than hand out one twice.
#include <algorithm>

#include "LayerTestSupport.h"

namespace {

class Handles : public LayerTest {};

TEST_F(Handles, AHandleStaysDeadWhenItsSlotIsReused) {
    std::vector<HBITMAP> deleted;
    for (int i = 0; i < 8; ++i) {
        Dib dib = makeDib(1, 1);
        deleted.push_back(dib.handle);
        ASSERT_TRUE(DeleteObject(dib.handle));
    }
    std::vector<Dib> alive;
    for (int i = 0; i < 8; ++i) alive.push_back(makeDib(2 + i, 1));
    BITMAP description{};
    for (HBITMAP old : deleted) EXPECT_EQ(GetObjectA(old, sizeof description, &description), 0);
    for (const Dib& dib : alive) {
        ASSERT_EQ(GetObjectA(dib.handle, sizeof description, &description), int(sizeof description));
        EXPECT_EQ(description.bmWidth, dib.width) << "each new handle names its own bitmap";
    }
}

// The program creates and deletes its read-out's font every frame, 50 times
// a second: one slot, reused over and over. Its first handle stays dead for
// 32,766 reuses (11 minutes of frames) and names the slot's object again at
// the 32,767th, when the generation wraps.
TEST_F(Handles, AHandleComesBackOnlyWhenItsSlotsGenerationWraps) {
    LOGFONTA request{};
    request.lfHeight = -12;
    HFONT first = CreateFontIndirectA(&request);
    ASSERT_TRUE(DeleteObject(first));
    constexpr int reusesBeforeWrap = 32766;
    LOGFONTA seen{};
    for (int reuse = 1; reuse <= reusesBeforeWrap; ++reuse) {
        HFONT font = CreateFontIndirectA(&request);
        ASSERT_NE(font, first) << "reuse " << reuse;
        ASSERT_EQ(GetObjectA(first, sizeof seen, &seen), 0) << "reuse " << reuse;
        ASSERT_TRUE(DeleteObject(font));
    }
    HFONT wrapped = CreateFontIndirectA(&request);
    EXPECT_EQ(wrapped, first) << "the generation wraps after 32,767 reuses";
}

TEST_F(Handles, AFreedSlotWaitsBehindTheSlotsFreedBeforeIt) {
    LOGFONTA request{};
    HFONT a = CreateFontIndirectA(&request), b = CreateFontIndirectA(&request);
    ASSERT_TRUE(DeleteObject(a));
    ASSERT_TRUE(DeleteObject(b));
    HFONT c = CreateFontIndirectA(&request), d = CreateFontIndirectA(&request);
    // Same slots, new generations, oldest free slot first.
    EXPECT_EQ(uintptr_t(c) & 0xffff, uintptr_t(a) & 0xffff);
    EXPECT_EQ(uintptr_t(d) & 0xffff, uintptr_t(b) & 0xffff);
    EXPECT_NE(c, a);
    EXPECT_NE(d, b);
}

TEST_F(Handles, WhenHandlesRunOutCreationFailsInsteadOfRepeatingAHandle) {
    const std::vector<uint8_t> block = regionBlock({});
    auto makeRegion = [&] {
        return ExtCreateRegion(nullptr, DWORD(block.size()), reinterpret_cast<const RGNDATA*>(block.data()));
    };
    constexpr std::size_t plenty = std::size_t(1) << 21;  // more than any handle table holds
    std::vector<HRGN> made;
    made.reserve(plenty);
    while (made.size() < plenty) {
        HRGN region = makeRegion();
        if (!region) break;
        made.push_back(region);
    }
    ASSERT_LT(made.size(), plenty) << "creation never failed";

    std::vector<HRGN> sorted = made;
    std::sort(sorted.begin(), sorted.end());
    auto repeated = std::adjacent_find(sorted.begin(), sorted.end());
    EXPECT_EQ(repeated, sorted.end()) << "handle " << (repeated == sorted.end() ? nullptr : *repeated)
                                      << " was handed out twice";
    std::size_t dead =
        std::count_if(made.begin(), made.end(), [](HRGN r) { return GetRegionData(r, 0, nullptr) == 0; });
    EXPECT_EQ(dead, 0u) << "every handle handed out names its region";

    std::size_t live = layer::testing::liveObjects();
    EXPECT_EQ(CreateCompatibleDC(nullptr), nullptr) << "a full table refuses a DC";
    ASSERT_TRUE(DeleteObject(made.back()));
    made.pop_back();
    EXPECT_EQ(CreateCompatibleDC(nullptr), nullptr) << "a DC and its initial bitmap need two handles";
    EXPECT_EQ(layer::testing::liveObjects(), live - 1) << "the refused DC left nothing behind";
    ASSERT_TRUE(DeleteObject(made.back()));
    made.pop_back();
    EXPECT_TRUE(CreateCompatibleDC(nullptr)) << "freed handles are there to use again";
}

}  // namespace
