// The standard open and save dialogs. A command sets the fields before each Execute; after a
// confirmed Execute, FileName holds the chosen path.
#pragma once

#include "ui/object.h"

#include <windows.h>

#include <string>

namespace ui {

class FileDialog : public Object {
public:
    std::string InitialDir;
    std::string FileName;
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

// "A|*.a|B|*.b" as the dialog takes it: each part ended by a zero byte, one more at the end.
std::string DialogFilter(const std::string& filter);

}  // namespace ui
