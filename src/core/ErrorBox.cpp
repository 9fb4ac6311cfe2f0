// The error text and the two boxes that show it.
#include "core/ErrorBox.h"

#include <cmath>

#include "core/FrmSplash.h"
#include "core/Global.h"
#include "ui/App.h"

std::string ErrorText(int32_t number, const std::string& source, const std::string& description) {
    return "Error Nr. " + std::to_string(number) + " in " + source + "\r" + description + "\r" + "\r" +
           "Please notify Dyr Software of this error.\r" + "Try to include relevant information and\r" +
           "the actions you were performing.";
}

MsgBoxResult ShowErrorBox(int32_t number, const std::string& source, const std::string& description) {
    if (frmSplash.IsLoaded()) {
        int left = static_cast<int>(std::lround(-1.1 * frmSplash.Width()));
        frmSplash.Move(left, frmSplash.Top());
    }
    const MsgBoxResult answer = MsgBox(ErrorText(number, source, description), MsgBoxStyle::Critical, "Ornavale Error");
    gResult = answer;
    return answer;
}

MsgBoxResult ShowError(int32_t number, const std::string& source, const std::string& description,
                       const std::string& title) {
    const MsgBoxResult answer = MsgBox(ErrorText(number, source, description), MsgBoxStyle::Exclamation, title);
    gResult = answer;
    return answer;
}

std::string SystemErrorText(DWORD error) {
    char* text = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD n = FormatMessageA(flags, nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = n && text ? std::string(text, n) : "System error " + std::to_string(error);
    if (text) LocalFree(text);
    while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' '))
        result.pop_back();
    return result;
}
