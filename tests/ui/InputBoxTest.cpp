// The input box, shown for real and answered by a timer: OK gives the text, every other way out "".
#include <gtest/gtest.h>

#include <string>

#include "UiTest.h"
#include "ui/InputBox.h"

namespace {

enum class Close { OK, Cancel, Escape, CloseBox };
Close how;
std::string typed, seenPrompt, seenText, seenSelection;

HWND FindBox() { return FindWindowA(kFormClass, "Box Title"); }

HWND ChildOfClass(HWND parent, const char* cls, int nth = 0) {
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(w, name, static_cast<int>(std::size(name)));
        if (lstrcmpiA(name, cls) == 0 && nth-- == 0) return w;
    }
    return nullptr;
}

void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindBox();
    if (!box || !IsWindowVisible(box)) return;
    KillTimer(nullptr, id);
    HWND edit = ChildOfClass(box, "Edit");
    seenPrompt = WindowText(ChildOfClass(box, "Static"));
    seenText = WindowText(edit);
    DWORD from = 0, to = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    seenSelection = std::to_string(from) + "-" + std::to_string(to);
    SetWindowTextA(edit, typed.c_str());
    switch (how) {
        case Close::OK: SendMessageA(ChildOfClass(box, "Button", 0), BM_CLICK, 0, 0); break;
        case Close::Cancel: SendMessageA(ChildOfClass(box, "Button", 1), BM_CLICK, 0, 0); break;
        case Close::Escape: PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0); break;
        case Close::CloseBox: PostMessageA(box, WM_CLOSE, 0, 0); break;
    }
}

}  // namespace

TEST(InputBox, OkAnswersTheTextAndEveryOtherWayOutAnswersNothing) {
    EnsureApp();
    struct Case {
        Close how;
        const char* typed;
        const char* answer;
    } cases[] = {{Close::OK, "My Folder", "My Folder"}, {Close::Cancel, "typed", ""}, {Close::Escape, "typed", ""},
                 {Close::CloseBox, "typed", ""}};
    for (const Case& c : cases) {
        how = c.how;
        typed = c.typed;
        seenPrompt.clear();
        UINT_PTR timer = SetTimer(nullptr, 0, 30, Answer);
        std::string answer = InputBox("Give the Name.", "Box Title", "suggested");
        KillTimer(nullptr, timer);
        EXPECT_EQ(answer, c.answer) << static_cast<int>(c.how) << " " << c.typed;
        EXPECT_EQ(seenPrompt, "Give the Name.");
        EXPECT_EQ(seenText, "suggested");
        EXPECT_EQ(seenSelection, "0-9");  // the default is selected, ready to be typed over
        EXPECT_EQ(FindBox(), nullptr);
    }
}
