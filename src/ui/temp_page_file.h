// The text area's page file: a file of the program's own in the system's temporary folder, which
// the system deletes when its handle closes, so also when the program ends in any other way.
#pragma once

#include "core/page_file.h"

#include <memory>

namespace ui {

// Nothing when no such file can be made (no temporary folder, or one that cannot be written).
std::unique_ptr<core::PageFile> OpenTempPageFile();

}  // namespace ui
