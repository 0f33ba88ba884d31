// The version window: fields of the program's own version resource.
#pragma once

#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/panel.h"

#include <string>

class TVerForm : public ui::Form {
public:
    explicit TVerForm(ui::Form* Owner);

    ui::Panel Panel1;
    ui::Label VersionLabel;
    ui::Label CompanyName;
    ui::Label CopyrightLabel;
    ui::Label ProductLabel;
    ui::Label Comments;
    ui::Button Button1;
    ui::Label Label1;

    void FormShow(ui::Object* Sender);
    void Button1Click(ui::Object* Sender);
    // Fills the labels from the version resource of the program file at modulePath; the window
    // reads the running program's own. The resource is read through the system's versionLibrary;
    // where that cannot be loaded, the labels stay as they are.
    void ReadVersionInfo(const std::string& modulePath);
    void ReadVersionInfo(const std::wstring& modulePath, const wchar_t* versionLibrary = L"version.dll");
};

extern TVerForm* VerForm;
