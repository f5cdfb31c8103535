// Stands in for the browser in end-to-end tests: appends the address it was given,
// one per line, to "opened-links.txt" beside itself.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string log(path, n);
    log = log.substr(0, log.find_last_of('\\') + 1) + "opened-links.txt";
    FILE* f = std::fopen(log.c_str(), "ab");
    if (!f) return 1;
    std::fprintf(f, "%s\n", argc > 1 ? argv[1] : "");
    std::fclose(f);
    return 0;
}
