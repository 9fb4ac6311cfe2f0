#include "ui/Slider.h"

#include <algorithm>

void Slider::Create(Bounds bounds) {
    Define(TRACKBAR_CLASSA, WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, 0, bounds);
}

void Slider::AfterCreate() {
    Send(TBM_SETRANGEMIN, FALSE, min_);
    Send(TBM_SETRANGEMAX, FALSE, max_);
    Send(TBM_SETPOS, TRUE, value_);
}

void Slider::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    value_ = std::clamp(value_, min_, max_);
    if (hwnd()) AfterCreate();
}

void Slider::SetValue(int value) {
    value = std::clamp(value, min_, max_);
    const bool changed = value != value_;
    value_ = value;
    Send(TBM_SETPOS, TRUE, value_);
    if (changed && Change) Change();
}

std::optional<LRESULT> Slider::OnScroll(int code) {
    // While the thumb is dragged the value is not settled yet; its release reports it.
    if (code == TB_THUMBTRACK) return 0;
    const int position = std::clamp(static_cast<int>(Send(TBM_GETPOS)), min_, max_);
    if (position != value_) {
        value_ = position;
        if (Change) Change();
    }
    return 0;
}
