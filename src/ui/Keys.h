// Keys of the keyed collections (tree nodes, list items, images, panels, buttons) and their error.
#pragma once

#include <stdexcept>
#include <string>

// A duplicate or missing key, or a missing relative.
class KeyError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The form in which keys are compared: upper case in the ANSI code page, so that keys made of
// folder names that differ only by case name the same record, as the folders do on Windows.
std::string FoldKey(const std::string& key);

// Orders two texts as Windows sorts list and tree items: without regard to case, in the user's
// locale. Negative, zero or positive.
int CompareTextNoCase(const std::string& a, const std::string& b);
