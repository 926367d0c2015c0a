// Build tool: writes the program's icon as a Windows .ico file, painted by
// the Win32 pictures at the sizes Windows asks for (window, notification
// area, Start menu, Explorer, installed-programs list).
// Usage: make_icon.exe [FILE] (velmo.ico when no file is given).

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "win32/pictures.h"

namespace {

constexpr int kSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, unsigned value) {
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}

// One icon image: a BITMAPINFOHEADER of double height, the colour rows from
// the bottom up with straight alpha, then the 1-bit mask (set where nothing
// is drawn) for programs that ignore alpha.
bool IconImage(int size, std::vector<std::uint8_t>& out) {
    HBITMAP bitmap = velmo::Picture("icon", size, size);
    DIBSECTION dib{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) ||
        dib.dsBm.bmBits == nullptr) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        return false;
    }
    const auto* pixels = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);  // top-down BGRA
    const unsigned mask_stride = static_cast<unsigned>((size + 31) / 32 * 4);
    Put32(out, 40);
    Put32(out, static_cast<unsigned>(size));
    Put32(out, static_cast<unsigned>(size * 2));
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, BI_RGB);
    Put32(out, static_cast<unsigned>(size * size * 4) + mask_stride * static_cast<unsigned>(size));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const std::uint8_t* p = pixels + (y * size + x) * 4;
            const unsigned alpha = p[3];
            for (int c = 0; c < 3; ++c)
                out.push_back(alpha == 0 ? 0
                                         : static_cast<std::uint8_t>(
                                               std::min(255u, (p[c] * 255u + alpha / 2) / alpha)));
            out.push_back(static_cast<std::uint8_t>(alpha));
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(mask_stride, 0);
        for (int x = 0; x < size; ++x)
            if (pixels[(y * size + x) * 4 + 3] == 0)
                row[static_cast<size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    DeleteObject(bitmap);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 2) {
        std::fputs("usage: make_icon.exe [FILE]\n", stderr);
        return 2;
    }
    const wchar_t* file = argc == 2 ? argv[1] : L"velmo.ico";

    constexpr unsigned count = sizeof(kSizes) / sizeof(kSizes[0]);
    std::vector<std::uint8_t> head;
    std::vector<std::uint8_t> images;
    Put16(head, 0);
    Put16(head, 1);  // an icon
    Put16(head, count);
    for (int size : kSizes) {
        std::vector<std::uint8_t> image;
        if (!IconImage(size, image)) {
            std::fprintf(stderr, "make_icon: cannot paint the icon at %d pixels\n", size);
            return 1;
        }
        head.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));
        head.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));
        head.push_back(0);  // no palette
        head.push_back(0);
        Put16(head, 1);   // planes
        Put16(head, 32);  // bits per pixel
        Put32(head, static_cast<unsigned>(image.size()));
        Put32(head, 6 + 16 * count + static_cast<unsigned>(images.size()));
        images.insert(images.end(), image.begin(), image.end());
    }

    FILE* out = _wfopen(file, L"wb");
    bool written = out != nullptr && std::fwrite(head.data(), 1, head.size(), out) == head.size() &&
                   std::fwrite(images.data(), 1, images.size(), out) == images.size();
    if (out != nullptr)
        written = std::fclose(out) == 0 && written;
    if (!written) {
        std::fwprintf(stderr, L"make_icon: cannot write %ls\n", file);
        return 1;
    }
    return 0;
}
