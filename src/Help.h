// The help window: lists the lines of readme.txt from the program's directory.
#pragma once

#include "ui/button.h"
#include "ui/form.h"
#include "ui/list_box.h"
#include "ui/panel.h"

#include <string>
#include <vector>

class THelpForm : public ui::Form {
public:
    explicit THelpForm(ui::Form* Owner);

    ui::Panel Panel1;
    ui::Button Button1;
    ui::ListBox ListBox1;

    void FormShow(ui::Object* Sender);
    void Button1Click(ui::Object* Sender);

private:
    void AddLines(const std::vector<std::string>& lines);
};

extern THelpForm* HelpForm;
