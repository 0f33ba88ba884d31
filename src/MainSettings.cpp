// The settings file beside the program.
#include "Main.h"

void TMainForm::LoadSettings() {
    // filled by the settings step
}

void TMainForm::SaveSettings() {
    // filled by the settings step
}
