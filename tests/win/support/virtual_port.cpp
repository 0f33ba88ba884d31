#include "support/virtual_port.h"

#include <stdexcept>
#include <vector>

namespace testsupport {

namespace {

std::string StatePath(const std::string& name)
{
    char buffer[4096];
    const DWORD length = GetEnvironmentVariableA("VARNEDO_SERIAL_DIR", buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) throw std::runtime_error("VARNEDO_SERIAL_DIR is not set");
    // Wine reaches the Linux file system through drive Z:.
    std::string path = "Z:";
    for (const char* p = buffer; *p; ++p) path += *p == '/' ? '\\' : *p;
    return path + "\\" + name;
}

}  // namespace

void RunPortScript(const std::string& arguments)
{
    // Wine starts Linux programs through CreateProcess, but their process handle does not tell
    // when they end: the script creates a marker file as its last act, and we wait for that.
    static int runs = 0;
    const std::string marker = "vcom-done-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
    const std::string markerPath = StatePath(marker);
    std::string unixMarker;
    for (char c : markerPath.substr(2)) unixMarker += c == '\\' ? '/' : c;
    SetEnvironmentVariableA("VCOM_DONE_FILE", unixMarker.c_str());
    std::string commandLine = std::string(VARNEDO_SCRIPTS_DIR) + "/vcom.sh " + arguments;
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        throw std::runtime_error("cannot run " + commandLine);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SetEnvironmentVariableA("VCOM_DONE_FILE", nullptr);
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (GetFileAttributesA(markerPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() > deadline) throw std::runtime_error("vcom.sh " + arguments + " did not finish");
        Sleep(5);
    }
    DeleteFileA(markerPath.c_str());
}

VirtualPort::VirtualPort(int number) : number(number) { Plug(); }

VirtualPort::~VirtualPort()
{
    try {
        Unplug();
    } catch (...) {
    }
}

void VirtualPort::Plug()
{
    ClosePeer();
    RunPortScript("start " + std::to_string(number));
    OpenPeer();
}

void VirtualPort::Unplug()
{
    ClosePeer();
    RunPortScript("stop " + std::to_string(number));
}

bool VirtualPort::Send(std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(peer, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

void VirtualPort::OpenPeer()
{
    const std::string path = StatePath("com" + std::to_string(number) + "-peer");
    for (int attempt = 0; attempt < 100 && peer == INVALID_HANDLE_VALUE; ++attempt) {
        peer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
        if (peer == INVALID_HANDLE_VALUE) Sleep(20);
    }
    if (peer == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open the device side " + path);
}

void VirtualPort::ClosePeer()
{
    if (peer != INVALID_HANDLE_VALUE) CloseHandle(peer);
    peer = INVALID_HANDLE_VALUE;
}

}  // namespace testsupport
