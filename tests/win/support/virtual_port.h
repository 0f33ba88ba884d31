// Virtual serial ports for the Windows tests: plugs and unplugs a socat pty pair behind COMn
// (scripts/vcom.sh, run as a Linux program from inside Wine) and plays the device on its peer side.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace testsupport {

// Runs scripts/vcom.sh with the given arguments and waits for it to finish.
void RunPortScript(const std::string& arguments);

class VirtualPort {
public:
    explicit VirtualPort(int number);  // plugs the port in
    ~VirtualPort();                    // unplugs it
    VirtualPort(const VirtualPort&) = delete;
    VirtualPort& operator=(const VirtualPort&) = delete;

    int Number() const { return number; }
    void Plug();
    void Unplug();
    // Writes bytes as the device would; returns false when the device side is gone.
    bool Send(std::string_view bytes);

private:
    void OpenPeer();
    void ClosePeer();

    int number;
    HANDLE peer = INVALID_HANDLE_VALUE;
};

}  // namespace testsupport
