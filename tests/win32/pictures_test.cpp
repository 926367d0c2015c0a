// The Win32 painting of the program's pictures, read back pixel by pixel: the
// icon's colours where the drawing puts them (the skin of the hand, the pen,
// the ink, the pen's gold band), clear corners, and the sizes asked for.

#include "win32/pictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace velmo {
namespace {

struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;  // top-down, premultiplied

    std::uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y * width + x)]; }
};

Pixels Read(HBITMAP bitmap) {
    Pixels out;
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof(info), &info) == 0)
        return out;
    out.width = info.bmWidth;
    out.height = info.bmHeight;
    out.argb.resize(static_cast<size_t>(out.width * out.height));
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = out.width;
    header.bmiHeader.biHeight = -out.height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    // A memory DC: no desktop window is needed to read a bitmap.
    HDC memory = CreateCompatibleDC(nullptr);
    const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(out.height), out.argb.data(),
                               &header, DIB_RGB_COLORS);
    DeleteDC(memory);
    if (rows != out.height)
        out.argb.clear();
    return out;
}

Pixels ReadIcon(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return {};
    Pixels out = Read(info.hbmColor);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return out;
}

// An opaque pixel of the colour 0xRRGGBB, give or take the rounding of the
// antialiasing.
::testing::AssertionResult Opaque(std::uint32_t argb, std::uint32_t rgb) {
    bool matches = (argb >> 24) == 0xff;
    for (int shift : {0, 8, 16})
        matches = matches && std::abs(static_cast<int>((argb >> shift) & 0xff) -
                                      static_cast<int>((rgb >> shift) & 0xff)) <= 3;
    if (matches)
        return ::testing::AssertionSuccess();
    char text[64];
    std::snprintf(text, sizeof(text), "pixel %08x is not opaque %06x", argb, rgb);
    return ::testing::AssertionFailure() << text;
}

TEST(ProgramIconTest, HasTheColoursOfTheDrawingWhereItPutsThemAtEachSize) {
    HICON icon = ProgramIcon(256);
    ASSERT_NE(icon, nullptr);
    const Pixels p = ReadIcon(icon);
    DestroyIcon(icon);
    ASSERT_EQ(p.width, 256);
    ASSERT_EQ(p.height, 256);
    ASSERT_FALSE(p.argb.empty());
    EXPECT_TRUE(Opaque(p.At(179, 147), 0xf1c29a)) << "the palm";
    EXPECT_TRUE(Opaque(p.At(109, 191), 0x33333a)) << "the pen";
    EXPECT_TRUE(Opaque(p.At(98, 204), 0xd4af37)) << "the pen's band";
    EXPECT_TRUE(Opaque(p.At(15, 220), 0x1f4eb4)) << "the start of the signature";
    for (auto [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}})
        EXPECT_EQ(p.At(x, y), 0u) << "corner " << x << "," << y;

    for (int size : {16, 20, 32, 48}) {
        HICON sized = ProgramIcon(size);
        const Pixels q = ReadIcon(sized);
        if (sized != nullptr)
            DestroyIcon(sized);
        EXPECT_EQ(q.width, size);
        EXPECT_EQ(q.height, size);
    }
}

unsigned Get(const std::vector<std::uint8_t>& bytes, size_t at, int count) {
    unsigned value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes.at(at + static_cast<size_t>(i));
    return value;
}

TEST(ProgramIconFileTest, HoldsOneImageWithAlphaAndMaskPerSizeOneAfterTheOther) {
    const std::vector<int> sizes = {16, 256};
    const std::vector<std::uint8_t> ico = ProgramIconFile(sizes);
    ASSERT_GT(ico.size(), 6u + 2 * 16);
    EXPECT_EQ(Get(ico, 0, 2), 0u);
    EXPECT_EQ(Get(ico, 2, 2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(Get(ico, 4, 2), 2u);
    size_t next = 6 + 2 * 16;
    size_t big = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
        const size_t entry = 6 + 16 * i;
        const unsigned side = static_cast<unsigned>(sizes[i]);
        const unsigned mask = (side + 31) / 32 * 4 * side;
        EXPECT_EQ(ico[entry], side % 256) << "width, 0 for 256";
        EXPECT_EQ(ico[entry + 1], side % 256) << "height, 0 for 256";
        EXPECT_EQ(Get(ico, entry + 6, 2), 32u) << "bits per pixel";
        EXPECT_EQ(Get(ico, entry + 8, 4), 40 + side * side * 4 + mask) << "bytes of image " << i;
        ASSERT_EQ(Get(ico, entry + 12, 4), next) << "where image " << i << " starts";
        EXPECT_EQ(Get(ico, next + 4, 4), side);
        EXPECT_EQ(Get(ico, next + 8, 4), 2 * side) << "colour and mask, one above the other";
        if (side == 256)
            big = next;
        next += Get(ico, entry + 8, 4);
    }
    EXPECT_EQ(next, ico.size());

    // The pen at (109, 191) from the top, in rows stored from the bottom up,
    // in straight (not premultiplied) blue, green, red, alpha; its mask bit
    // clear, and the bit of the clear corner at the bottom left set.
    const size_t pen = big + 40 + ((255 - 191) * 256 + 109) * 4;
    EXPECT_TRUE(Opaque(Get(ico, pen, 4), 0x33333a));
    const size_t masks = big + 40 + 256 * 256 * 4;
    EXPECT_EQ(ico.at(masks) & 0x80, 0x80);
    EXPECT_EQ(ico.at(masks + (255 - 191) * 32 + 109 / 8) & (0x80 >> (109 % 8)), 0);
}

TEST(PictureTest, TheBannerFillsItsWholeBoxOnALightGround) {
    HBITMAP banner = Picture("banner", 380, 56);
    ASSERT_NE(banner, nullptr);
    const Pixels p = Read(banner);
    DeleteObject(banner);
    ASSERT_EQ(p.width, 380);
    ASSERT_EQ(p.height, 56);
    ASSERT_FALSE(p.argb.empty());
    EXPECT_TRUE(Opaque(p.At(3, 53), 0xdee9f8)) << "the start of the ground";
    EXPECT_TRUE(Opaque(p.At(190, 50), 0xeaf2fb)) << "the middle of the ground";
    EXPECT_EQ(p.At(0, 0) >> 24, 0xffu) << "the border";
}

TEST(PictureTest, AnUnknownNameOrAnEmptySizeGivesNothing) {
    EXPECT_EQ(Picture("sunset", 32, 32), nullptr);
    EXPECT_EQ(Picture("cabinet", 0, 32), nullptr);
    EXPECT_EQ(ProgramIcon(0), nullptr);
}

}  // namespace
}  // namespace velmo
