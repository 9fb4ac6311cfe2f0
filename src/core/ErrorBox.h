#pragma once
#include <string>
void ShowErrorBox(int number, const std::string& source, const std::string& description);
