// The standard open and save dialogs. A command sets the fields before each Execute; after a
// confirmed Execute, FileName holds the chosen path. Paths are UTF-16 from end to end, so any file
// name works whatever the system's code page; the other fields are Shift_JIS texts.
#pragma once

#include "ui/object.h"

#include <windows.h>

#include <string>

namespace ui {

class FileDialog : public Object {
public:
    std::wstring InitialDir;
    std::wstring FileName;
    // Pairs of description and pattern separated by "|": "Text files (*.txt)|*.txt|All|*.*".
    std::string Filter;
    std::string DefaultExt;  // without the dot
    std::string Title;
    // OFN_* flags added to those the dialog always uses (Explorer style, resizable, no read-only
    // check box, no change of the current directory).
    DWORD Options = 0;

    // True when the user confirmed a file name.
    bool Execute(HWND owner);

protected:
    explicit FileDialog(bool save) : save_(save) {}

private:
    bool save_;
};

class OpenDialog : public FileDialog {
public:
    OpenDialog() : FileDialog(false) {}
};

class SaveDialog : public FileDialog {
public:
    SaveDialog() : FileDialog(true) {}
};

// "A|*.a|B|*.b" as the dialog takes it: each part ended by a zero, one more at the end. Split after
// the conversion, since a second byte of a Shift_JIS character can be the code of "|".
std::wstring DialogFilter(const std::string& filter);

}  // namespace ui
