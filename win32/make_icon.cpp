// Build tool: writes the program's icon as a Windows .ico file, painted by
// the Win32 pictures at the sizes Windows asks for (window, notification
// area, Start menu, Explorer, installed-programs list).
// Usage: make_icon.exe [FILE] (velmo.ico when no file is given).

#include <cstdint>
#include <cstdio>
#include <vector>

#include "win32/pictures.h"

int wmain(int argc, wchar_t** argv) {
    if (argc > 2) {
        std::fputs("usage: make_icon.exe [FILE]\n", stderr);
        return 2;
    }
    const wchar_t* file = argc == 2 ? argv[1] : L"velmo.ico";

    const std::vector<std::uint8_t> bytes =
        velmo::ProgramIconFile({16, 20, 24, 32, 40, 48, 64, 256});
    if (bytes.empty()) {
        std::fputs("make_icon: cannot paint the icon\n", stderr);
        return 1;
    }

    FILE* out = _wfopen(file, L"wb");
    bool written =
        out != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (out != nullptr)
        written = std::fclose(out) == 0 && written;
    if (!written) {
        std::fwprintf(stderr, L"make_icon: cannot write %ls\n", file);
        return 1;
    }
    return 0;
}
