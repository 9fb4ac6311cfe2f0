// The texts of the result set: every entry layout composed and read in one place, with the type,
// origin and mask colour each entry stands for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Where an entry comes from; the last four characters of its text.
enum class SourceKind : uint8_t {
    Book,  // "book": a catalogue cell
    Open,  // "open": an icon in a user file
    User,  // "user": a user reference
    Shor,  // "shor": a shortcut's icon
    Sycu,  // "sycu": a current cursor
    Sytu,  // "sytu": a cursor of a cursor scheme
    Syas,  // "syas": a file type's icon
    Sysy,  // "sysy": a system icon
};

// The four characters of a kind, and the kind of four characters (exact, case-sensitive).
std::string_view SourceKindText(SourceKind kind);
std::optional<SourceKind> SourceKindFromText(std::string_view text);

// A catalogue token "<library>:<cell>:<rest>", whose last two characters are its mask digit and
// its type code. Only the catalogue index writes them.
struct CatalogueRef {
    std::string token;    // the whole token, as stored
    std::string library;  // a library number (formats::IsLibraryNumber); names the picture "<library>.lib"
    int32_t cell = 0;     // the icon's cell in that picture, from 0
    char maskDigit = 0;
    char typeCode = 0;
};

// Reads a token; nullopt when the library is no library number, the cell not a number from 0 or the
// part after the second ":" shorter than the mask digit and type code.
std::optional<CatalogueRef> ParseCatalogueRef(std::string_view token);

// One entry of the result set, its text taken apart. A "book" entry fills `ref`; every other kind
// has the file layout "<file>;<index>;<label>;<typeCode><kind>" and fills the three fields.
struct ResultEntry {
    SourceKind kind = SourceKind::Open;
    char typeCode = 0;
    CatalogueRef ref;
    std::string file;   // a path, or "default" for a Windows default cursor
    std::string index;  // icon index or animation frame, kept as stored
    std::string label;  // the label or key of the layout

    // The index as a number (decimal, maybe negative, blanks around it allowed); nullopt when it is none.
    std::optional<int32_t> IndexNumber() const;
};

// Reads an entry text. The kind is the last four characters and the type code the fifth-last; the
// label and the index are then read from the right, so the file path may hold ";". nullopt for a
// text shorter than five characters, an unknown kind, a missing field or an empty file field.
std::optional<ResultEntry> ParseEntry(std::string_view text);

// The text of an entry. A parsed text composes to the same bytes; the label and the index of a
// composed one must hold no ";".
std::string ComposeEntry(const ResultEntry& entry);

// A text from outside as a label: the label is read from the right up to the last ";", so each
// ";" becomes ",".
std::string LabelText(std::string_view text);

// The entries each source writes. Numbers are plain decimal.
std::string BookEntry(std::string_view token);
std::string OpenEntry(std::string_view file, int32_t index, std::string_view label, char typeCode);
// The target is the label. One that holds a ";" cannot stand there whole: each ";" becomes "|",
// which no path holds, and the target is read from the link when it is needed (ShortcutTarget).
std::string ShortcutEntry(std::string_view iconFile, int32_t iconIndex, std::string_view target);
// Whether the label of a shortcut entry is its target whole.
bool IsWholeTarget(std::string_view label);
// A cursor set under "Control Panel\Cursors\<valueName>"; a frame of an animated cursor is "g".
std::string CurrentCursorEntry(std::string_view file, int32_t frame, std::string_view valueName,
                               bool animated);
// A cursor kind with no file set: the Windows default with its system cursor id.
std::string DefaultCursorEntry(int32_t cursorId);
// Position `position` (from 1) of the scheme, whose name goes through LabelText; an empty file is
// the Windows default, a frame of an animated cursor is "a".
std::string SchemeCursorEntry(std::string_view file, int32_t frame, std::string_view scheme,
                              int32_t position, bool animated);
// The index is the registry's text after the icon file's ",", unchanged.
std::string FileTypeEntry(std::string_view iconFile, std::string_view index,
                          std::string_view description, std::string_view extension);
std::string SystemIconEntry(std::string_view iconFile, std::string_view index,
                            std::string_view rowName);
// A reference to the icon of a file-layout entry with the type digit the user chose (0 to 8): the
// entry less its type code and kind, then the digit and "user". nullopt for anything else.
std::optional<std::string> UserEntry(std::string_view fileEntry, int typeDigit);

// The system cursor id that a current cursor's key names (a "default" entry's); nullopt for a key
// that is no number, such as the path of the kind's value.
std::optional<int32_t> CurrentCursorId(std::string_view key);
// The scheme position after the last ":" of a scheme cursor's key; nullopt when there is none.
std::optional<int32_t> SchemeCursorPosition(std::string_view key);

// The text of the Type column for a type code; "" for a code without one.
std::string_view procSetTypeName(char typeCode);

// The mask colour of a catalogue cell, 0x00BBGGRR, by its mask digit; nullopt for a non-digit.
std::optional<uint32_t> MaskColorFor(char maskDigit);

// True when the path contains the favorites folder, letter case aside. An empty folder is in no path.
bool IsFavoritePath(std::string_view path, std::string_view favDir);

// What the Origin column needs beside the entry.
struct OriginContext {
    bool favoritesMode = false;      // a favorites folder is being listed
    std::string_view favDir;         // the favorites folder
    std::string_view shortcutLink;   // "shor": the path of the shortcut file
    std::string_view shortcutBase;   // "shor": the folder its origin is relative to (the Windows folder)
};

// The Origin column of an entry's list item.
std::string OriginText(const ResultEntry& entry, const OriginContext& context = {});
