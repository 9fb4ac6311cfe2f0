// A record of everything the Windows icon changes may touch, to compare before and after: registry
// keys with every value's type and bytes and their sub-keys, files with their sizes and hashes, a
// desktop.ini's bytes and attributes and a shortcut's fields. Each entry is one line: a place and
// what it holds, so that a difference reads as the place that changed.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/Win.h"

// place -> what it holds, e.g. "HKCU\Control Panel\Cursors: Wait" -> "REG_SZ \"C:\w.cur\"".
using SystemSnapshot = std::map<std::string, std::string>;

struct SnapshotPlaces {
    std::vector<std::pair<HKEY, std::string>> keys;  // each with its values and sub-keys
    std::vector<std::string> folders;                // each with its files and sub-folders
    std::vector<std::string> files;                  // bytes and attributes; a folder: its attributes
    std::vector<std::string> links;                  // shortcuts: their fields
};

SystemSnapshot TakeSnapshot(const SnapshotPlaces& places);

// The places of `expected` and `actual` that differ, one line each; "" when they are equal.
std::string SnapshotDifferences(const SystemSnapshot& expected, const SystemSnapshot& actual);

// The names snapshot entries go by.
std::string KeyPlace(HKEY hive, const std::string& key);
std::string KeyPlace(HKEY hive, const std::string& key, const std::string& valueName);
std::string FilePlace(const std::string& path);
std::string LinkPlace(const std::string& link, const char* field);
// What a settings file (.ini) holding the text shows as.
std::string FileText(const std::string& text);
// What a text value of the type holds, as the snapshot shows it.
std::string TextValue(DWORD type, const std::string& text);

// Registry keys kept as they are and put back, values, types and sub-keys, when this goes.
class KeptKeys {
  public:
    explicit KeptKeys(std::vector<std::pair<HKEY, std::string>> keys);
    ~KeptKeys();
    KeptKeys(const KeptKeys&) = delete;
    KeptKeys& operator=(const KeptKeys&) = delete;

    struct Tree;

  private:
    std::vector<std::pair<HKEY, std::string>> keys_;
    std::vector<Tree> kept_;
};
