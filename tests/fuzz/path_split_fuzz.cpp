// DirectoryOf on any code page 932 path: its result is a start of the path that ends
// just after a separator (backslash, slash, or the colon of a drive "X:"), or is empty;
// and no separator stands in the rest. A 0x5C that is the second byte of a double-byte
// character is no separator.
#include "app/path_split.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzInput(data, size).Rest();
    const std::string dir = DirectoryOf(path);
    FUZZ_CHECK(dir.size() <= path.size());
    FUZZ_CHECK(path.compare(0, dir.size(), dir) == 0);

    // Where the characters start, and which of them are separators.
    std::size_t lastCut = 0;
    bool cutOnBoundary = dir.empty();
    for (std::size_t i = 0; i < path.size();) {
        const unsigned char c = path[i];
        const std::size_t width = Cp932Lead(c) && i + 1 < path.size() ? 2 : 1;
        if (width == 1 && (c == '\\' || c == '/' || (c == ':' && i == 1))) lastCut = i + 1;
        if (i + width == dir.size()) cutOnBoundary = true;
        i += width;
    }
    FUZZ_CHECK(cutOnBoundary);
    FUZZ_CHECK(dir.size() == lastCut);
    return 0;
}
