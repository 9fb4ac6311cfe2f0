// Paths of the shell's special folders.
#pragma once

#include <string>

class cSpecialFolders {
  public:
    // The folder's path with a trailing "\", or "" on any failure.
    std::string GetSpecialFolder(int csidl) const;
};

// The program's one instance, created on first use.
cSpecialFolders& SpecialFolders();

// Shorthand for SpecialFolders().GetSpecialFolder(csidl).
std::string GetSpecialFolder(int csidl);
