// Program entry.
#include "core/Instance.h"
#include "ui/App.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitApp(instance);
    if (!Main()) return 0;
    return RunMessageLoop();
}
