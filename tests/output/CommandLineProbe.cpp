// Writes the command line it was started with into "cmdline.txt" beside itself, so that a test
// sees how a program it started was called.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    char self[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
    if (n == 0 || n >= sizeof self) return 1;
    std::string file(self, n);
    file = file.substr(0, file.find_last_of('\\') + 1) + "cmdline.txt";
    FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) return 1;
    std::fputs(GetCommandLineA(), f);
    std::fclose(f);
    return 0;
}
