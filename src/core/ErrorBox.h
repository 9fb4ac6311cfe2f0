// The program's error message: its text, the critical box of the start-up and the warning box
// every other handler shows.
#pragma once

#include <cstdint>
#include <string>

#include "ui/App.h"
#include "ui/Win.h"

// The error text: "Error Nr. <number> in <source>", the description, an empty line and the
// three lines asking the user to report it; lines joined by a single "\r".
std::string ErrorText(int32_t number, const std::string& source, const std::string& description);

// The start-up's error box (critical icon, title "Ornavale Error"). A loaded splash window is moved
// out of sight first, since it stays on top and would cover the box. The answer goes to gResult
// and is returned.
MsgBoxResult ShowErrorBox(int32_t number, const std::string& source, const std::string& description);

// The same text for errors after the start-up: warning icon and the title (normally "Error").
// The answer goes to gResult and is returned.
MsgBoxResult ShowError(int32_t number, const std::string& source, const std::string& description,
                       const std::string& title = "Error");

// The system's text for an error number, without its line break.
std::string SystemErrorText(DWORD error);
