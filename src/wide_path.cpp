#include "wide_path.h"

#include <windows.h>

std::wstring WidePath(std::string_view path) {
    std::wstring wide(path.size(), L'\0');
    const int length = path.empty() ? 0
                                    : MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()),
                                                          wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    // The prefix turns off the name's normalisation, so it goes only before a full path from a
    // drive's root, which is what the program builds from its own file name.
    const bool fromDriveRoot = wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\';
    if (fromDriveRoot && wide.size() >= MAX_PATH) wide.insert(0, L"\\\\?\\");
    return wide;
}
