// Writes what GetOSVersion finds ("code|name") into the file named by the first argument.
#include <cstdio>

#include "core/OSVersion.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    GetOSVersion();
    FILE* f = std::fopen(argv[1], "wb");
    if (!f) return 1;
    std::fprintf(f, "%s|%s", gOSCode.c_str(), gOSName.c_str());
    std::fclose(f);
    return 0;
}
