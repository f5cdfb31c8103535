#include "editor/drop_text.h"

#include "display/display_codes.h"

#include <cstring>

std::string TextWithin(const char* bytes, std::size_t size, std::size_t limit) {
    if (!bytes) return std::string();
    const void* zero = std::memchr(bytes, '\0', size);
    const std::size_t length = zero ? std::size_t(static_cast<const char*>(zero) - bytes) : size;
    if (length <= limit) return std::string(bytes, length);
    return CutText(std::string(bytes, length), limit);
}
