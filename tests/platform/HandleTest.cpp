// Handles: a freed handle never comes back to life, and when the layer runs out
// of handles it refuses to create rather than hand out one twice.
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
