// The receive tick done literally, for comparison only: every waiting byte read on its own after
// asking the driver how many wait, and for every piece the text area's whole text read out and
// written back with the piece appended, the strip read twice and written once, and the view
// scrolled by the text area's line count. Nothing of it is used by the program.
#pragma once

#include "Main.h"

namespace bench {

void LiteralTick(TMainForm& form);

}  // namespace bench
