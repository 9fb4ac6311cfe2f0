// A run-time error with the number and source the error texts show.
#pragma once

#include <stdexcept>
#include <string>

class RuntimeError : public std::runtime_error {
  public:
    RuntimeError(int number, std::string source, const std::string& description)
        : std::runtime_error(description), number_(number), source_(std::move(source)) {}
    int number() const { return number_; }
    const std::string& source() const { return source_; }

  private:
    int number_;
    std::string source_;
};
