// A small modal box that asks for one line of text.
#pragma once

#include <string>

// Shows the prompt with a text field holding defaultText, OK and Cancel, owned by the active
// window. Answers the text as typed on OK, and "" on Cancel, Esc or the close box.
std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText = {});

// Tests replace the box so that nobody has to type.
using InputBoxHook = std::string (*)(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText);
extern InputBoxHook gInputBoxHook;
