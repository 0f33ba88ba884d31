#include "device_data.h"

#include "support/linux_command.h"

namespace bench {

using testsupport::LinuxJob;

bool DeviceData::Make(const Workspace& workspace, std::size_t count, const std::string& source, std::string& error) {
    const std::string name = "device.bin";
    LinuxJob job("bench-feed.sh", "make " + workspace.UnixPath(name) + " " + std::to_string(count) + " " + source);
    const auto status = job.Wait(120000);
    if (!job.Started() || !status || *status != 0) {
        error = "the device simulator did not make its output (is build/host/tools/devsim/devsim built?)";
        return false;
    }
    auto made = workspace.Read(name);
    workspace.Remove(name);
    if (!made || made->size() != count) {
        error = "the device simulator's output is missing or short";
        return false;
    }
    bytes = std::move(*made);
    return true;
}

std::string_view DeviceData::Stream(std::size_t count) const {
    const std::string_view start = std::string_view(bytes).substr(0, count);
    return start.substr(0, start.rfind('\n') + 1);
}

std::string DeviceData::AsTextArea(std::string_view sent) {
    std::string text;
    text.reserve(sent.size() + sent.size() / 16);
    for (const char c : sent) {
        if (c == '\n') text += '\r';
        text += c;
    }
    return text;
}

std::string DeviceData::TextAreaLines(std::size_t size) const {
    std::string text;
    text.reserve(size);
    std::string line;
    for (std::size_t at = 0; !bytes.empty(); at = (at + 1) % bytes.size()) {
        const char c = bytes[at];
        if (c != '\n') {
            line += c;
            continue;
        }
        line += "\r\n";
        if (text.size() + line.size() > size) break;
        text += line;
        line.clear();
    }
    return text;
}

}  // namespace bench
