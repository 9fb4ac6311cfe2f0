// Program entry.
#include "core/ErrorBox.h"
#include "core/Errors.h"
#include "core/Instance.h"
#include "program/CoreHooks.h"
#include "ui/App.h"

namespace {

// An error that reaches a window procedure is shown and the program goes on.
void ShowUnhandled(const char* where, const std::exception& e) {
    if (auto* runtime = dynamic_cast<const RuntimeError*>(&e)) {
        ShowError(runtime->number(), runtime->source(), runtime->what());
    } else {
        ShowError(5, where, e.what());
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitApp(instance);
    SetExceptionHandler(&ShowUnhandled);
    RegisterCoreHooks();
    if (!Main()) return 0;
    const int code = RunMessageLoop();
    EndApp();
    return code;
}
