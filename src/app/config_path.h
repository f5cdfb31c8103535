#pragma once
#include <string>

// The full path of "kvtini.xml" beside the running executable.
std::string ConfigFilePath();
