// A variable set for the life of a scope: its earlier value comes back on every path out.
#pragma once

#include <utility>

template <class T>
class ScopedValue {
  public:
    ScopedValue(T& variable, T value) : variable_(variable), saved_(std::exchange(variable, std::move(value))) {}
    ~ScopedValue() { variable_ = std::move(saved_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

  private:
    T& variable_;
    T saved_;
};
