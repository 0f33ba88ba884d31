// What the program's error box says for failures that carry no message of their own.
#pragma once

#include "ui/application.h"

// The program's words for running out of memory and for internal errors, and for failures of
// its own kinds, such as a page of the received text that cannot be read back.
ui::ErrorBoxTexts ProgramErrorBoxTexts();
