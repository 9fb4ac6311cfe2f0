// What the registry changes of the change window share: the new icon as the bytes of its copy, and
// registry values kept and put back exactly as they were stored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/Win.h"

// The change window's new picture rendered into the work surfaces, as every icon the program
// writes is, and encoded as a 32 x 32 icon file at high colour. Nothing, after telling the user,
// when the surfaces cannot be read.
std::optional<std::vector<uint8_t>> NewIconBytes();

// A registry value as it is stored: its type and bytes, nothing expanded or converted.
struct StoredRegValue {
    DWORD type = REG_NONE;
    std::vector<uint8_t> bytes;

    // The text of a REG_SZ or REG_EXPAND_SZ value without its trailing zeros, environment strings
    // left as they are; "" for any other type.
    std::string Text() const;
};

// The value read with read access only; nothing when the key or the value is missing.
std::optional<StoredRegValue> ReadStoredRegValue(HKEY hive, const std::string& key, const std::string& valueName);

// Creates the key when missing and writes the value with its own type and bytes; the system's code.
LONG WriteStoredRegValue(HKEY hive, const std::string& key, const std::string& valueName, const StoredRegValue& value);

// What a file type's "OrDefault" holds when the class had no icon of its own as the program first
// changed it: a value of no type and no data, which the way back turns into no "DefaultIcon" value.
// Text there is the icon the class had; an empty text keeps nothing, as it always has.
StoredRegValue NoIconRecord();
bool IsNoIconRecord(const std::optional<StoredRegValue>& kept);
