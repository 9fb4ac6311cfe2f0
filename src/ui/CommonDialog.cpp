// The open and save dialogs over GetOpenFileNameA and GetSaveFileNameA.
#include "ui/CommonDialog.h"

#include <algorithm>
#include <vector>

namespace {

bool SystemOpenDialog(OPENFILENAMEA& ofn) { return GetOpenFileNameA(&ofn) != FALSE; }
bool SystemSaveDialog(OPENFILENAMEA& ofn) { return GetSaveFileNameA(&ofn) != FALSE; }

// Room for many hundreds of long names; a selection that does not fit is refused by the
// dialog rather than cut.
constexpr DWORD kMultiSelectChars = 1 << 20;

}  // namespace

FileDialog gOpenFileDialog = SystemOpenDialog;
FileDialog gSaveFileDialog = SystemSaveDialog;

std::string SystemFilter(const std::string& filter) {
    if (filter.empty()) return {};
    std::string s = filter;
    for (char& c : s)
        if (c == '|') c = '\0';
    s.push_back('\0');
    s.push_back('\0');
    return s;
}

bool CommonDialog::ShowOpen(HWND owner) { return Show(owner, gOpenFileDialog); }

bool CommonDialog::ShowSave(HWND owner) { return Show(owner, gSaveFileDialog); }

bool CommonDialog::Show(HWND owner, bool (*dialog)(OPENFILENAMEA&)) {
    const DWORD chars =
        (Flags & FileDialogFlags::AllowMultiSelect) != FileDialogFlags::None ? kMultiSelectChars : MAX_PATH * 4;
    std::vector<char> buffer(chars, '\0');
    FileName.copy(buffer.data(), std::min<size_t>(FileName.size(), chars - 1));
    const std::string filter = SystemFilter(Filter);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = chars;
    ofn.lpstrInitialDir = InitDir.empty() ? nullptr : InitDir.c_str();
    ofn.lpstrTitle = DialogTitle.empty() ? nullptr : DialogTitle.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    ofn.Flags = static_cast<DWORD>(Flags);
    if (!dialog(ofn)) return false;

    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    // The names end at the first pair of zeros; a single name at its first zero.
    size_t end = 0;
    while (end + 1 < chars && !(buffer[end] == '\0' && buffer[end + 1] == '\0')) ++end;
    FileName.assign(buffer.data(), end);
    return true;
}
