#include "config/settings_io.h"
#include "config/settings_tree.h"

std::int32_t SaveSettings(const char* path) { return SettingsTree(saverSettings).Save(path); }
