// The Win32 painting of the program's pictures, read back pixel by pixel: the
// icon's colours where the drawing puts them (the skin of the hand, the pen,
// the ink, the pen's gold band), clear corners, and the sizes asked for.

#include "win32/pictures.h"

#include <gtest/gtest.h>

#include <cstdint>
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
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(out.height), out.argb.data(),
                               &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
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
    return ::testing::AssertionFailure()
           << std::hex << "pixel 0x" << argb << " is not opaque 0x" << rgb;
}

TEST(ProgramIconTest, HasTheColoursOfTheDrawingWhereItPutsThem) {
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
}

TEST(ProgramIconTest, ComesAtTheSizesAskedFor) {
    for (int size : {16, 20, 32, 48}) {
        HICON icon = ProgramIcon(size);
        const Pixels p = ReadIcon(icon);
        if (icon != nullptr)
            DestroyIcon(icon);
        EXPECT_EQ(p.width, size);
        EXPECT_EQ(p.height, size);
    }
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
