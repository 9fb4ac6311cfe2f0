// A registry for one test, written from REGEDIT4 text. HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE and
// HKEY_USERS are written below a private key of HKEY_CURRENT_USER, "Software\OrnavaleTest\<test>"
// and the hive's name, that stands for the hive while the fixture lives, so the prefix's own hives
// stay as they are. A key of HKEY_CURRENT_USER is written in place: the first time the text names it
// (or one of its sub-keys) it is kept aside and emptied, and it comes back as it was at the end.
// Tests that use one run under the registry test lock.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/Win.h"

class RegistryFixture {
  public:
    explicit RegistryFixture(std::string testName);
    ~RegistryFixture();
    RegistryFixture(const RegistryFixture&) = delete;
    RegistryFixture& operator=(const RegistryFixture&) = delete;

    // Writes the keys and values of the text: "REGEDIT4", then [key] lines and "name"=value or
    // @=value lines: a "string", dword:hex digits, hex:bytes (REG_BINARY) or hex(n):bytes (type n;
    // hex(2) is REG_EXPAND_SZ), continued on the next line after a trailing "\". Lines starting with
    // ";" are comments. Throws std::runtime_error naming the line for anything else.
    void Load(std::string_view text);
    // The same for a file, by its ANSI path.
    void LoadFile(const std::string& path);
    // Lets the hive (HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE or HKEY_USERS) stand for its private key
    // without writing to it; Load does this itself.
    void Map(HKEY hive);
    // Keeps an HKEY_CURRENT_USER key aside and empties it; Load does this itself.
    void Replace(const std::string& key);

  private:
    std::string root_;
    std::vector<std::pair<HKEY, HKEY>> mapped_;                // hive, the private key it stands for
    std::vector<std::pair<std::string, std::string>> saved_;  // key, its copy ("" when it was not there)
};

// The REGEDIT4 bytes of a hex(2) value: the text with its terminating zero.
std::string RegHexText(std::string_view text);
