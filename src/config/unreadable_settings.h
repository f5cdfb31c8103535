#pragma once
// Keeps a settings file that cannot be read before anything may take its place.
#include <string>

// Copies the file at `path` byte for byte beside itself (UnreadableCopyPath, never over
// an earlier copy). The copy's path; empty when none could be made (a read-only folder,
// a full disk), and then no partial copy is left.
std::string KeepUnreadableSettings(const std::string& path);
