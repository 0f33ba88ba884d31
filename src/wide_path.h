// Paths for the wide file functions. The program's own files (the settings file, the help file) lie
// in its folder, and a folder deep in a tree gives paths longer than MAX_PATH: the ANSI file
// functions refuse those, the wide ones take them with the \\?\ prefix.
#pragma once

#include <string>
#include <string_view>

// `path`, a byte string in the ANSI code page, for the wide file functions: unchanged when it is
// short, and with the \\?\ prefix when it is a full path from a drive's root of MAX_PATH characters
// or more.
std::wstring WidePath(std::string_view path);
