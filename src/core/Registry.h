// Registry access shared by the whole program: one value read into gRegResult, and every write as
// the pair CreateRegKey + WriteRegValue.
#pragma once

#include <string>

#include "core/Variant.h"
#include "ui/Win.h"

// The value of the last read: a text for REG_SZ and REG_EXPAND_SZ (environment strings expanded),
// a number for REG_DWORD, empty when the key or value is missing or of another type.
extern Variant gRegResult;
// Status of the last registry call made here (0 after every ReadRegValue).
extern LONG gRegStatus;
// Type the last query reported (REG_NONE when the value was missing).
extern DWORD gRegType;

// The text with its environment strings (%name%) expanded; unchanged when that fails.
std::string ExpandEnvironment(const std::string& s);

// Reads one value into gRegResult and returns it; an empty name reads the key's default value.
// The key is opened for reading only. gRegResult is cleared before anything else happens.
Variant ReadRegValue(HKEY hive, const std::string& key, const std::string& valueName);

// The query step of ReadRegValue: fills value (empty on any failure) and always answers 0.
LONG QueryRegValueEx(HKEY key, const std::string& valueName, Variant& value);

// Creates or opens the key (access 0x3F) and keeps it open for the WriteRegValue that follows.
LONG CreateRegKey(const std::string& key, HKEY hive);

// Writes one value into the key CreateRegKey left open, then closes it. type is REG_SZ (the
// value's text, stored with its terminating zero) or REG_DWORD; any other type writes nothing.
// The key argument is not used: the key is the one CreateRegKey opened.
LONG WriteRegValue(const std::string& key, const std::string& valueName, const Variant& value,
                   DWORD type);

// The write step of WriteRegValue.
LONG SetRegValueEx(HKEY key, const std::string& valueName, DWORD type, const Variant& value);

// Deletes a key that has no sub-keys.
LONG DeleteRegKey(HKEY hive, const std::string& key);
