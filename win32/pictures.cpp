#include "win32/pictures.h"

namespace velmo {

HICON ProgramIcon(int) {
    return nullptr;
}

HBITMAP Picture(const std::string&, int, int) {
    return nullptr;
}

}  // namespace velmo
