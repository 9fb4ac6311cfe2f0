// The fourteen system cursor kinds the program knows, and the form of a cursor scheme value.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct CursorKind {
    const char* valueName;     // the value under HKEY_CURRENT_USER "Control Panel\Cursors"
    int32_t cursorId;          // the system's id of the kind's standard cursor (OCR_...)
    const char* currentLabel;  // the item text of a current cursor
    int32_t schemePosition;    // its field in a scheme value, from 1
    const char* schemeLabel;   // the item text of a scheme cursor
};

// In the order the current cursors are listed.
std::span<const CursorKind> CursorKinds();

// nullptr when no kind matches. Value names are compared without regard to case, as the registry does.
const CursorKind* CursorKindByValueName(std::string_view valueName);
const CursorKind* CursorKindById(int32_t cursorId);
const CursorKind* CursorKindBySchemePosition(int32_t position);

// The fields of a scheme value, position 1 first: cut at every ",", fields neither trimmed nor
// dropped when empty. "" is one empty field.
std::vector<std::string> SplitScheme(std::string_view value);
