// Reading, writing and listing files from the Windows tests, byte for byte.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> ReadBytes(const std::string& path);

// Creates or truncates the file and writes exactly `bytes`; false if any of it failed.
bool WriteBytes(const std::string& path, const std::string& bytes);

// The names in a folder (with or without its trailing backslash), sorted, without "." and "..".
std::vector<std::string> FileNamesIn(std::string folder);

}  // namespace testsupport
