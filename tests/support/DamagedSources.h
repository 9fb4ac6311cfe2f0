// The sound modules the damaged-file tests damage: two of the system's libraries and the test
// library with its own icon groups, read whole.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "DamagedFiles.h"
#include "TestSupport.h"
#include "common/FileIconReader.h"

inline Bytes ReadWhole(const std::string& path) {
    auto bytes = ReadUserFile(path, 64ull << 20, true);
    return bytes ? *bytes : Bytes{};
}

// Each module's short name and path.
inline std::vector<std::pair<std::string, std::string>> SourceModulePaths() {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return {{"shell32", std::string(system) + "\\shell32.dll"},
            {"comdlg32", std::string(system) + "\\comdlg32.dll"},
            {"modicons", TestProgramDir() + "modicons.dll"}};
}

// Each module's short name and bytes.
inline std::vector<std::pair<std::string, Bytes>> SourceModules() {
    std::vector<std::pair<std::string, Bytes>> modules;
    for (const auto& [name, path] : SourceModulePaths()) modules.emplace_back(name, ReadWhole(path));
    return modules;
}
