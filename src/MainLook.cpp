// Colour schemes and text size.
#include "Main.h"

void TMainForm::RadioGroup1Click(ui::Object* /*Sender*/) {
    // filled by the colour/size step
}

void TMainForm::Button2Click(ui::Object* /*Sender*/) {
    // filled by the colour/size step
}

void TMainForm::Button3Click(ui::Object* /*Sender*/) {
    // filled by the colour/size step
}
