#include "support/virtual_port.h"

#include "support/linux_command.h"

#include <stdexcept>
#include <vector>

namespace testsupport {

namespace {

std::string StatePath(const std::string& name) {
    char buffer[4096];
    const DWORD length = GetEnvironmentVariableA("VARNEDO_SERIAL_DIR", buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) throw std::runtime_error("VARNEDO_SERIAL_DIR is not set");
    return WindowsPathOf(std::string(buffer) + "/" + name);
}

}  // namespace

void RunPortScript(const std::string& arguments) {
    if (!RunLinuxScript("vcom.sh", arguments)) throw std::runtime_error("vcom.sh " + arguments + " did not finish");
}

VirtualPort::VirtualPort(int number) : number(number) { Plug(); }

VirtualPort::~VirtualPort() {
    try {
        Unplug();
    } catch (...) {
    }
}

void VirtualPort::Plug() {
    ClosePeer();
    RunPortScript("start " + std::to_string(number));
    OpenPeer();
}

void VirtualPort::Unplug() {
    ClosePeer();
    RunPortScript("stop " + std::to_string(number));
}

bool VirtualPort::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(peer, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

void VirtualPort::OpenPeer() {
    const std::string path = StatePath("com" + std::to_string(number) + "-peer");
    for (int attempt = 0; attempt < 100 && peer == INVALID_HANDLE_VALUE; ++attempt) {
        peer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
        if (peer == INVALID_HANDLE_VALUE) Sleep(20);
    }
    if (peer == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open the device side " + path);
}

void VirtualPort::ClosePeer() {
    if (peer != INVALID_HANDLE_VALUE) CloseHandle(peer);
    peer = INVALID_HANDLE_VALUE;
}

}  // namespace testsupport
