// Stands in for the browser in end-to-end tests: appends the address it was given,
// one per line, to "kvt-opened-links.txt" in the temporary folder. That folder is the
// Wine prefix's own, so tests in sessions of their own keep their links apart.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    char folder[MAX_PATH];
    const DWORD n = GetTempPathA(MAX_PATH, folder);
    const std::string log = std::string(folder, n) + "kvt-opened-links.txt";
    FILE* f = std::fopen(log.c_str(), "ab");
    if (!f) return 1;
    std::fprintf(f, "%s\n", argc > 1 ? argv[1] : "");
    std::fclose(f);
    return 0;
}
