// The error text and the two boxes that show it.
#include "core/ErrorBox.h"

#include <cmath>

#include "core/FrmSplash.h"
#include "core/Global.h"
#include "ui/App.h"

namespace {

constexpr UINT kCritical = 16;  // critical icon, OK
constexpr UINT kWarning = 48;   // exclamation icon, OK

}  // namespace

std::string ErrorText(int32_t number, const std::string& source, const std::string& description) {
    return "Error Nr. " + std::to_string(number) + " in " + source + "\r" + description + "\r" + "\r" +
           "Please notify Dyr Software of this error.\r" + "Try to include relevant information and\r" +
           "the actions you were performing.";
}

int ShowErrorBox(int32_t number, const std::string& source, const std::string& description) {
    if (frmSplash.IsLoaded()) {
        int left = static_cast<int>(std::lround(-1.1 * frmSplash.Width()));
        frmSplash.Move(left, frmSplash.Top());
    }
    int answer = MsgBox(ErrorText(number, source, description), kCritical, "Ornavale Error");
    gResult = answer;
    return answer;
}

int ShowError(int32_t number, const std::string& source, const std::string& description,
              const std::string& title) {
    int answer = MsgBox(ErrorText(number, source, description), kWarning, title);
    gResult = answer;
    return answer;
}
