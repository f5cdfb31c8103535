#pragma once
// What becomes of a settings file that cannot be read: what the program's own writer
// once wrote into it is repaired, and what cannot be repaired is kept beside it under
// a name of its own before the defaults take its place.
#include <ctime>
#include <string>

// `bytes` with a space in place of each control character other than tab, line feed
// and carriage return: the characters XML forbids that the writer wrote as they were
// before it learnt not to (a dropped link could hold one). Every other byte, UTF-8
// text included, is kept; nothing else is changed.
std::string RepairedSettingsText(const std::string& bytes);

// The name under which an unreadable settings file is kept: "PATH.unreadable-YYYYMMDD-HHMMSS"
// for the local time `when`, and for the `attempt`th try after the first "-2", "-3", ...
std::string UnreadableCopyPath(const std::string& path, const std::tm& when, int attempt);
