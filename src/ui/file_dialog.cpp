#include "ui/file_dialog.h"

#include "ui/text_conversion.h"

#include <commdlg.h>

#include <algorithm>

namespace ui {

std::wstring DialogFilter(const std::string& filter) {
    std::wstring parts = ToWide(filter);
    std::replace(parts.begin(), parts.end(), L'|', L'\0');
    parts.push_back(L'\0');
    parts.push_back(L'\0');
    return parts;
}

bool FileDialog::Execute(HWND owner) {
    // Long enough for any path the dialog can produce.
    std::wstring file(32768, L'\0');
    std::copy_n(FileName.begin(), std::min(FileName.size(), file.size() - 1), file.begin());
    const std::wstring filter = DialogFilter(Filter);
    const std::wstring title = ToWide(Title);
    const std::wstring defaultExt = ToWide(DefaultExt);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_ENABLESIZING | OFN_HIDEREADONLY | Options;

    const BOOL confirmed = save_ ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!confirmed) return false;
    FileName = file.c_str();
    return true;
}

}  // namespace ui
