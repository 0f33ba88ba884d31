#include "core/app_dir.h"

#include "core/sjis_boundary.h"

namespace core {
namespace {

bool IsDelimiter(char c) { return c == '\\' || c == ':'; }

}  // namespace

std::string AppDirFromModulePath(std::string_view modulePath) {
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t lastDelimiter = kNone;
    // Whether the character just before lastDelimiter is a single-byte delimiter itself.
    bool delimiterFollowsDelimiter = false;
    bool previousIsDelimiter = false;
    for (std::size_t i = 0; i < modulePath.size();) {
        const std::size_t length = SjisCharacterLength(modulePath, i);
        const bool isDelimiter = length == 1 && IsDelimiter(modulePath[i]);
        if (isDelimiter) {
            lastDelimiter = i;
            delimiterFollowsDelimiter = previousIsDelimiter;
        }
        previousIsDelimiter = isDelimiter;
        i += length;
    }

    std::size_t directoryLength = lastDelimiter == kNone ? 0 : lastDelimiter + 1;
    if (lastDelimiter != kNone && lastDelimiter > 0 && modulePath[lastDelimiter] == '\\' &&
        !delimiterFollowsDelimiter) {
        directoryLength = lastDelimiter;
    }
    std::string appDir(modulePath.substr(0, directoryLength));
    appDir += '\\';
    return appDir;
}

}  // namespace core
