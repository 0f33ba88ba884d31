// What the simulated device sends: the device simulator's demo output (Shift_JIS lines with LF
// line ends, as a measuring instrument prints them), made once per run by scripts/bench-feed.sh,
// and played back by the simulator from a file. Whole lines of valid Shift_JIS with LF ends: the
// text area must end up as exactly the bytes sent with each LF as CR LF.
#pragma once

#include "workspace.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace bench {

class DeviceData {
public:
    // Runs the simulator for `count` bytes of its `source` ("demo", or "sjis": random Shift_JIS
    // lines); false with a reason when that failed.
    bool Make(const Workspace& workspace, std::size_t count, const std::string& source, std::string& error);

    std::size_t Size() const { return bytes.size(); }
    // The whole lines among the first `count` bytes the device sends (count <= Size()).
    std::string_view Stream(std::size_t count) const;
    // Whole lines of the same output with CR LF breaks, as received lines stand in the text area:
    // as many as fit in `size` bytes, the output repeated as often as needed.
    std::string TextAreaLines(std::size_t size) const;

    // How the text area shows bytes sent: each LF as CR LF.
    static std::string AsTextArea(std::string_view sent);

private:
    std::string bytes;
};

}  // namespace bench
