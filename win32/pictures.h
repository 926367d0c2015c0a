#pragma once

// The program's pictures drawn for Win32: the icon for the window and the
// notification area, and the pictures on the tab pages.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velmo {

// The program's icon at a size in pixels; the caller destroys it.
HICON ProgramIcon(int size);

// A named picture of the window model at a size in pixels, as a 32-bit
// bitmap with alpha; null for a name it does not know. The caller deletes it.
HBITMAP Picture(const std::string& name, int width, int height);

// The program's icon as the bytes of a .ico file with one 32-bit image with
// alpha per size (16 to 256 pixels); empty if one cannot be painted.
std::vector<std::uint8_t> ProgramIconFile(const std::vector<int>& sizes);

}  // namespace velmo
