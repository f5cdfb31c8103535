#include "config/settings_io.h"

#include <windows.h>

// Not yet writing the file.
std::int32_t SaveSettings(const char*) { return E_FAIL; }
