// The program's windows as the program makes them, for tests in this process: the main window, its
// version and help windows, and the global pointers through which the program's code reaches them.
#pragma once

#include "Help.h"
#include "Main.h"
#include "Version.h"
#include "ui/application.h"

#include <memory>

namespace testsupport {

class ProgramForms {
public:
    ProgramForms() {
        ui::App().SetTitle("Varnedo");
        main = std::make_unique<TMainForm>(nullptr);
        MainForm = main.get();
        version = std::make_unique<TVerForm>(main.get());
        VerForm = version.get();
        help = std::make_unique<THelpForm>(main.get());
        HelpForm = help.get();
    }
    ~ProgramForms() {
        HelpForm = nullptr;
        VerForm = nullptr;
        MainForm = nullptr;
        help.reset();
        version.reset();
        main.reset();
    }
    ProgramForms(const ProgramForms&) = delete;
    ProgramForms& operator=(const ProgramForms&) = delete;

    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TVerForm> version;
    std::unique_ptr<THelpForm> help;
};

}  // namespace testsupport
