// A progress bar: Min, Max and Value.
#pragma once

#include "ui/Control.h"

class ProgressBar : public Control {
  public:
    using Control::Control;
    // Geometry in twips.
    void Create(Bounds bounds);
    int Min() const { return min_; }
    void SetMin(int min);
    int Max() const { return max_; }
    void SetMax(int max);
    int Value() const { return value_; }
    // Kept within Min and Max.
    void SetValue(int value);

  protected:
    void AfterCreate() override;

  private:
    void Apply();
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
};
