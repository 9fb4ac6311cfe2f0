// The icon file types the program can open from the shell: registered as their opener, or taken
// back, in a file-type registry whose root the caller gives (HKEY_CLASSES_ROOT in the program).
#pragma once

#include <array>
#include <string>

#include "ui/Win.h"

// The icon a class shows, written as its "DefaultIcon".
enum class AsoIcon {
    EachFile,       // "%1": each file is its own icon
    Program,        // the program's own icon
    ShellLibrary,   // icon resource 154 of the system's shell32.dll
};

struct AssociationKey {
    const char* box;          // the options dialog's check box
    const char* extension;    // the extension key, with its leading dot
    const char* fileClass;    // the class key the extension names
    const char* description;  // the class's default value when registered; nullptr writes none
    AsoIcon checkedIcon;      // "DefaultIcon" while the program is the opener
    AsoIcon uncheckedIcon;    // "DefaultIcon" once the program has stopped being the opener
};

extern const std::array<AssociationKey, 5> AssociationKeys;

// The class's open command while the program is its opener: the program and the file, each quoted.
std::string AsoCommand();

// The text "DefaultIcon" gets for an icon of the table.
std::string AsoIconText(AsoIcon icon);

// Makes the program the opener of the type (boxValue 1), or takes that back (0, or 2 for a grayed
// box). Registering writes the table's values over what is there and keeps every other value, key
// and verb. Taking back changes a class only while its open command is the program's: its
// "DefaultIcon" is set back, "Shell\Open" goes with the command and "Shell" when nothing else is
// left in it. True when every write and deletion due succeeded.
bool procSetAso(HKEY root, int boxValue, const AssociationKey& type);
