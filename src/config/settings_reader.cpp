#include "config/settings_io.h"

#include <windows.h>

// Not yet reading the file: the defaults stay in force.
std::int32_t LoadSettings(const char*, bool) { return E_FAIL; }
