#include "ui/file_dialog.h"

#include <commdlg.h>

#include <algorithm>

namespace ui {

std::string DialogFilter(const std::string& filter) {
    std::string parts = filter;
    std::replace(parts.begin(), parts.end(), '|', '\0');
    parts.push_back('\0');
    parts.push_back('\0');
    return parts;
}

bool FileDialog::Execute(HWND owner) {
    // Long enough for any path the dialog can produce.
    std::string file(32768, '\0');
    std::copy_n(FileName.begin(), std::min(FileName.size(), file.size() - 1), file.begin());
    const std::string filter = DialogFilter(Filter);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    dialog.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    dialog.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_ENABLESIZING | OFN_HIDEREADONLY | Options;

    const BOOL confirmed = save_ ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!confirmed) return false;
    FileName = file.c_str();
    return true;
}

}  // namespace ui
