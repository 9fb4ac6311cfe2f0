// A slider over the common controls' trackbar: a range, a value, and Change once the user has
// moved it to another value.
#pragma once

#include <functional>
#include <optional>

#include "ui/Control.h"

class Slider : public Control {
  public:
    using Control::Control;
    // Geometry in twips; horizontal, with a tick at every value.
    void Create(Bounds bounds);
    int Min() const { return min_; }
    int Max() const { return max_; }
    // Keeps the value within the new range (without raising Change).
    void SetRange(int min, int max);
    int Value() const { return value_; }
    // Kept within Min and Max. Raises Change when the value changes, as VB's slider does.
    void SetValue(int value);
    std::function<void()> Change;

    std::optional<LRESULT> OnScroll(int code) override;

  protected:
    void AfterCreate() override;

  private:
    int min_ = 0;
    int max_ = 10;
    int value_ = 0;
};
