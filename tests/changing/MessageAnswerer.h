// Answers the message window from a timer inside its modal loop: its action button or Close, and
// what it showed kept for the checks.
#pragma once

#include <string>

#include "core/FrmMessage.h"
#include "ui/Win.h"

struct Answerer {
    static inline int shown = 0;
    static inline bool pressButton = false;
    static inline std::string caption, button, valueName;
    UINT_PTR timer;
    explicit Answerer(bool press) {
        shown = 0;
        pressButton = press;
        timer = SetTimer(nullptr, 0, 20, Tick);
    }
    ~Answerer() { KillTimer(nullptr, timer); }
    Answerer(const Answerer&) = delete;
    Answerer& operator=(const Answerer&) = delete;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (!frmMessage.IsLoaded() || !frmMessage.Visible()) return;
        ++shown;
        caption = frmMessage.Caption();
        button = frmMessage.cmdRestart.Text();
        valueName = frmMessage.chkNoShow.Tag;
        SendMessageA((pressButton ? frmMessage.cmdRestart : frmMessage.cmdOK).hwnd(), BM_CLICK, 0, 0);
    }
};
