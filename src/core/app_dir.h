#pragma once

#include <string>
#include <string_view>

namespace core {

// The program's directory with one backslash appended, from the program file's full path.
// The directory ends at the last backslash or colon; that backslash is dropped unless it is the
// first character or follows a backslash or colon, so a drive's root keeps its own and ends in
// two. Shift_JIS aware: a second byte of 0x5C is part of its character, not a backslash.
std::string AppDirFromModulePath(std::string_view modulePath);

}  // namespace core
