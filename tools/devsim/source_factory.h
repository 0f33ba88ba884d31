#pragma once

#include "byte_source.h"
#include "command_line.h"

#include <memory>
#include <string>

namespace devsim {

struct MadeSource {
    std::unique_ptr<ByteSource> source;  // empty exactly when error is set
    std::string error;
};

// The source the options ask for. The demo text always repeats (the device
// keeps talking); a file repeats only with --loop.
MadeSource MakeSource(const Options& options);

}  // namespace devsim
