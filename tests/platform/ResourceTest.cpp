// The program's resources: finding and loading raw blocks, bitmaps made from
// BITMAP resources by LoadBitmapA and LoadImageA, and resources that are
// hidden, of another type or corrupt.
#include <cstring>

#include "LayerTestSupport.h"

namespace {

constexpr int pictureId = 200;
constexpr int topDownId = 201;
constexpr int blockId = 130;

class Resources : public LayerTest {
protected:
    void SetUp() override {
        LayerTest::SetUp();
        entries_[0] = {pictureId, "BITMAP", picture_.data(), picture_.size()};
        entries_[1] = {topDownId, "BITMAP", topDown_.data(), topDown_.size()};
        entries_[2] = {blockId, "BINARY", block_.data(), block_.size()};
        layer::installResources(entries_, 3);
    }

    HINSTANCE module = GetModuleHandleA(nullptr);
    std::vector<uint8_t> picture_ = bitmapResource(bitmapResourceHeader(3, 2), patternColour);
    std::vector<uint8_t> topDown_ = bitmapResource(bitmapResourceHeader(2, -3), patternColour);
    std::vector<uint8_t> block_ = {1, 2, 3, 4, 5, 6, 7};
    layer::ResourceEntry entries_[3];
};

TEST_F(Resources, FindResourceFindsARawBlockByIdAndTypeNameInAnyCase) {
    for (const char* type : {"BINARY", "binary", "Binary"}) {
        SCOPED_TRACE(type);
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(blockId), type);
        ASSERT_TRUE(found);
        HGLOBAL loaded = LoadResource(module, found);
        ASSERT_TRUE(loaded);
        const void* bytes = LockResource(loaded);
        ASSERT_EQ(SizeofResource(module, found), block_.size());
        EXPECT_EQ(std::memcmp(bytes, block_.data(), block_.size()), 0);
    }
    EXPECT_TRUE(FindResourceA(nullptr, MAKEINTRESOURCEA(blockId), "BINARY")) << "a null module is the program's";
    HRSRC bitmap = FindResourceA(module, MAKEINTRESOURCEA(pictureId), RT_BITMAP);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(SizeofResource(module, bitmap), picture_.size());
}

TEST_F(Resources, FindResourceFindsNothingForAnotherIdTypeOrModule) {
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(blockId + 1), "BINARY"), nullptr);
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(blockId), "OTHER"), nullptr);
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(blockId), RT_BITMAP), nullptr);
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(pictureId), "BINARY"), nullptr);
    EXPECT_EQ(FindResourceA(reinterpret_cast<HMODULE>(uintptr_t{0x10000000}), MAKEINTRESOURCEA(blockId), "BINARY"),
              nullptr);
    EXPECT_EQ(LoadResource(module, nullptr), nullptr);
    EXPECT_EQ(SizeofResource(module, nullptr), 0u);
}

// The resource script's BITMAP and RCDATA keywords make numbered types; a
// type given by name is a custom one and does not find them.
TEST_F(Resources, PredefinedTypesAreFoundByNumberAndCustomTypesByName) {
    const std::vector<uint8_t> data = {9, 8, 7};
    const layer::ResourceEntry entries[] = {{300, "RCDATA", data.data(), data.size()},
                                            {301, "BINARY", data.data(), data.size()},
                                            {302, "BITMAP", picture_.data(), picture_.size()}};
    layer::installResources(entries, 3);
    EXPECT_TRUE(FindResourceA(module, MAKEINTRESOURCEA(300), RT_RCDATA));
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(300), "RCDATA"), nullptr);
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(301), RT_RCDATA), nullptr);
    EXPECT_TRUE(FindResourceA(module, MAKEINTRESOURCEA(302), RT_BITMAP));
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(302), "BITMAP"), nullptr);
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(302), RT_RCDATA), nullptr);
    EXPECT_TRUE(LoadBitmapA(module, MAKEINTRESOURCEA(302)));
    EXPECT_EQ(LoadBitmapA(module, MAKEINTRESOURCEA(300)), nullptr) << "raw data is no bitmap";
}

TEST_F(Resources, AHiddenResourceIsNotThere) {
    layer::testing::hideResource(blockId);
    layer::testing::hideResource(pictureId);
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(blockId), "BINARY"), nullptr);
    EXPECT_EQ(LoadBitmapA(module, MAKEINTRESOURCEA(pictureId)), nullptr);
    EXPECT_EQ(LoadImageA(module, MAKEINTRESOURCEA(pictureId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
    EXPECT_TRUE(LoadBitmapA(module, MAKEINTRESOURCEA(topDownId))) << "only the hidden ones are gone";
    layer::testing::resetHeadless();
    EXPECT_TRUE(FindResourceA(module, MAKEINTRESOURCEA(blockId), "BINARY")) << "a reset shows it again";
}

struct Loader {
    const char* what;
    HBITMAP (*load)(HINSTANCE, int id);
};

const Loader loaders[] = {
    {"LoadBitmapA", [](HINSTANCE m, int id) { return LoadBitmapA(m, MAKEINTRESOURCEA(id)); }},
    {"LoadImageA", [](HINSTANCE m, int id) {
         return static_cast<HBITMAP>(LoadImageA(m, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
     }}};

TEST_F(Resources, LoadedBitmapsShowTheResourcePixelsInEitherRowOrder) {
    for (const Loader& loader : loaders)
        for (int id : {pictureId, topDownId}) {
            SCOPED_TRACE(std::string(loader.what) + (id == pictureId ? ", bottom-up rows" : ", top-down rows"));
            HBITMAP loaded = loader.load(module, id);
            ASSERT_TRUE(loaded);
            BITMAP description{};
            ASSERT_EQ(GetObjectA(loaded, sizeof description, &description), int(sizeof description));
            int width = id == pictureId ? 3 : 2, height = id == pictureId ? 2 : 3;
            EXPECT_EQ(description.bmWidth, width);
            EXPECT_EQ(description.bmHeight, height);
            Dib copy = makeDib(width, height);
            HDC from = dcWith(loaded), to = dcWith(copy.handle);
            ASSERT_TRUE(BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY));
            EXPECT_TRUE(pixelsAre(copy, patternColour));
        }
}

TEST_F(Resources, LoadImageAsDibSectionHandsOutBitsInTheResourceLayout) {
    HBITMAP loaded =
        static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(pictureId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP description{};
    ASSERT_EQ(GetObjectA(loaded, sizeof description, &description), int(sizeof description));
    ASSERT_TRUE(description.bmBits);
    EXPECT_EQ(description.bmBitsPixel, 24);
    EXPECT_EQ(description.bmWidthBytes, 12);
    Dib view;
    view.bits = static_cast<uint8_t*>(description.bmBits);
    view.width = 3;
    view.height = 2;
    view.bottomUp = true;
    EXPECT_TRUE(pixelsAre(view, patternColour));
}

TEST_F(Resources, NoBitmapWithoutTheModuleOrFromAResourceOfAnotherKind) {
    std::size_t live = layer::testing::liveObjects();
    EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(pictureId)), nullptr) << "a null module means the system's";
    EXPECT_EQ(LoadBitmapA(module, MAKEINTRESOURCEA(blockId)), nullptr);
    EXPECT_EQ(LoadBitmapA(module, MAKEINTRESOURCEA(999)), nullptr);
    EXPECT_EQ(LoadImageA(module, MAKEINTRESOURCEA(pictureId), 1 /* IMAGE_ICON */, 0, 0, 0), nullptr);
    layer::testing::failCreation(layer::Creation::Bitmap, 1);
    EXPECT_EQ(LoadBitmapA(module, MAKEINTRESOURCEA(pictureId)), nullptr) << "the system is out of bitmaps";
    EXPECT_EQ(layer::testing::liveObjects(), live);
}

// Headers of the kinds Windows writes besides the plain one, and an optional
// colour table: the pixels start after all of it.
TEST_F(Resources, PixelsStartAfterALongerHeaderAndAColourTable) {
    struct Layout {
        const char* what;
        DWORD headerSize;
        DWORD colours;
    };
    for (Layout l : {Layout{"version 4 header", 108, 0}, Layout{"version 5 header", 124, 0},
                     Layout{"colour table of two", 40, 2}, Layout{"both", 124, 3}}) {
        SCOPED_TRACE(l.what);
        layer::testing::resetHeadless();
        BITMAPINFOHEADER header = bitmapResourceHeader(3, 2);
        header.biSize = l.headerSize;
        header.biClrUsed = l.colours;
        std::vector<uint8_t> plain = bitmapResource(header, patternColour);
        std::vector<uint8_t> bytes(plain.begin(), plain.begin() + sizeof header);
        bytes.resize(l.headerSize + 4 * l.colours, 0xEE);
        bytes.insert(bytes.end(), plain.begin() + sizeof header, plain.end());
        TailBuffer resource(bytes);
        layer::ResourceEntry entry{pictureId, "BITMAP", resource.data(), resource.size()};
        layer::installResources(&entry, 1);
        HBITMAP loaded = LoadBitmapA(module, MAKEINTRESOURCEA(pictureId));
        ASSERT_TRUE(loaded);
        Dib copy = makeDib(3, 2);
        ASSERT_TRUE(BitBlt(dcWith(copy.handle), 0, 0, 3, 2, dcWith(loaded), 0, 0, SRCCOPY));
        EXPECT_TRUE(pixelsAre(copy, patternColour));
        layer::installResources(nullptr, 0);
    }
}

struct CorruptCase {
    const char* what;
    void (*spoil)(std::vector<uint8_t>& bytes, BITMAPINFOHEADER& header);
};

TEST_F(Resources, ACorruptBitmapResourceGivesNoBitmapAndIsNeverReadPast) {
    const CorruptCase cases[] = {
        {"empty", [](std::vector<uint8_t>& b, BITMAPINFOHEADER&) { b.clear(); }},
        {"header cut short",
         [](std::vector<uint8_t>& b, BITMAPINFOHEADER&) { b.resize(sizeof(BITMAPINFOHEADER) - 1); }},
        {"header and no pixels",
         [](std::vector<uint8_t>& b, BITMAPINFOHEADER&) { b.resize(sizeof(BITMAPINFOHEADER)); }},
        {"pixels one byte short", [](std::vector<uint8_t>& b, BITMAPINFOHEADER&) { b.pop_back(); }},
        {"last row without its padding", [](std::vector<uint8_t>& b, BITMAPINFOHEADER&) { b.resize(b.size() - 3); }},
        {"header size beyond the resource",
         [](std::vector<uint8_t>& b, BITMAPINFOHEADER& h) { h.biSize = DWORD(b.size() + 1); }},
        {"header size beyond the pixels", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biSize = 64; }},
        {"header size of no known header", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biSize = 20; }},
        {"colour table with no room", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biClrUsed = 2; }},
        {"colour table larger than any", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biClrUsed = 0xFFFFFFFF; }},
        {"colour table count that wraps", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biClrUsed = 0x40000000; }},
        {"width 0", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biWidth = 0; }},
        {"negative width", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biWidth = -3; }},
        {"height 0", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biHeight = 0; }},
        {"width far beyond the pixels", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biWidth = 0x7FFFFFFF; }},
        {"height far beyond the pixels", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biHeight = 0x7FFFFFFF; }},
        {"top-down height far beyond", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biHeight = -0x7FFFFFFF; }},
        {"most negative height", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biHeight = INT32_MIN; }},
        {"one row more than the pixels", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biHeight = 3; }},
        {"8 bits per pixel", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biBitCount = 8; }},
        {"32 bits per pixel", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biBitCount = 32; }},
        {"run-length compression", [](std::vector<uint8_t>&, BITMAPINFOHEADER& h) { h.biCompression = 1; }},
    };
    for (const CorruptCase& c : cases) {
        SCOPED_TRACE(c.what);
        layer::testing::resetHeadless();
        BITMAPINFOHEADER header = bitmapResourceHeader(3, 2);
        std::vector<uint8_t> bytes = bitmapResource(header, patternColour);
        c.spoil(bytes, header);
        if (bytes.size() >= sizeof header) std::memcpy(bytes.data(), &header, sizeof header);
        TailBuffer resource(bytes);
        layer::ResourceEntry entry{pictureId, "BITMAP", resource.data(), resource.size()};
        layer::installResources(&entry, 1);
        std::size_t live = layer::testing::liveObjects();
        for (const Loader& loader : loaders) EXPECT_EQ(loader.load(module, pictureId), nullptr) << loader.what;
        EXPECT_EQ(layer::testing::liveObjects(), live);
        layer::installResources(nullptr, 0);
    }
}

}  // namespace
