// Holds a test slot's desktop open (scripts/test starts one in each slot and ends it with the
// slot's wineserver). Without it Wine's desktop process starts with each test that makes a window,
// as that test's child with its output, and lingers a second after the test ends, which ctest waits
// out. Started here it has no one's output, and it stays while this program runs.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Starts the desktop process, and returns once it is up.
    GetDesktopWindow();
    // Tells the script that the slot is ready: a file in the folder this was started in.
    const HANDLE ready = CreateFileW(L"desktop-ready", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(ready);
    Sleep(INFINITE);
    return 0;
}
