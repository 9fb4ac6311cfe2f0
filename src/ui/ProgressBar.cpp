// The progress bar.
#include "ui/ProgressBar.h"

#include <algorithm>

void ProgressBar::Create(Bounds bounds) {
    Define(PROGRESS_CLASSA, 0, 0, bounds);
}

void ProgressBar::SetMin(int min) {
    min_ = min;
    max_ = std::max(max_, min_);
    Apply();
}

void ProgressBar::SetMax(int max) {
    max_ = max;
    min_ = std::min(min_, max_);
    Apply();
}

void ProgressBar::SetValue(int value) {
    value_ = std::clamp(value, min_, max_);
    if (hwnd()) Send(PBM_SETPOS, static_cast<WPARAM>(value_));
}

void ProgressBar::Apply() {
    value_ = std::clamp(value_, min_, max_);
    if (!hwnd()) return;
    Send(PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    Send(PBM_SETPOS, static_cast<WPARAM>(value_));
}

void ProgressBar::AfterCreate() {
    PaintOffScreen(hwnd());
    Apply();
}
