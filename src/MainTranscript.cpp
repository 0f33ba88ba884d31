// Saving the received text to a file and loading a file into the text area.
#include "Main.h"

void TMainForm::SaveS1Click(ui::Object* /*Sender*/) {
    // filled by the transcript step
}

void TMainForm::LoadL1Click(ui::Object* /*Sender*/) {
    // filled by the transcript step
}
