#include "app/config_path.h"

#include "app/path_split.h"

#include <windows.h>

std::string ConfigFilePath() {
    char module[1024];
    DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
    if (n >= sizeof module) n = 0;  // cut off: no usable folder
    return DirectoryOf(std::string(module, n)) + "kvtini.xml";
}
