// The program's one connection to a COM port: opens and configures it, reports how many received
// bytes wait, reads them and closes the port. Receive only: there is no write operation.
#pragma once

#include <windows.h>

#include <cstdint>

// Result flags of Open and Read. Line errors (CE_*) all lie below 0x10000, so one word carries both.
inline constexpr std::uint32_t SCI_OPEN_FAILED = 0x00010000;
inline constexpr std::uint32_t SCI_READ_FAILED = 0x00020000;
// The input queue Open asks the driver for.
inline constexpr DWORD kInputQueueBytes = 64 * 1024;

class Sci {
public:
    Sci();
    // Deliberately leaves an open port alone: the exit sequence closes it before the object goes away.
    ~Sci() = default;
    Sci(const Sci&) = delete;
    Sci& operator=(const Sci&) = delete;

    // Opens "\\.\COM<portNumber>" for exclusive use and sets the line format and non-waiting reads.
    // 0 on success; SCI_OPEN_FAILED when the device cannot be opened; otherwise the pending line errors.
    // A port that opened but could not be configured is closed again, so a retry can succeed.
    // A port that is already open is closed first: its exclusive handle would otherwise stay
    // behind and lock the port until the program ends.
    std::uint32_t Open(std::int32_t portNumber, std::int32_t baudRate, std::int32_t byteSize, std::int32_t stopBitsCode,
                       std::int32_t parityCode, std::int32_t ctsFlag, std::int32_t rtsChoice);
    // True when a handle was open and CloseHandle succeeded; the object is closed afterwards in any case.
    bool Close();
    void SetLineFormat(std::int32_t baudRate, std::int32_t byteSize, std::int32_t stopBitsCode, std::int32_t parityCode,
                       std::int32_t ctsFlag, std::int32_t rtsChoice);
    bool SetTimeouts(std::uint32_t readInterval, std::uint32_t readTotalMultiplier, std::uint32_t readTotalConstant,
                     std::uint32_t writeTotalMultiplier, std::uint32_t writeTotalConstant);
    // Bytes waiting in the driver's input queue; 0 when the driver cannot be asked (see DeviceLost).
    std::uint32_t InQueue();
    std::uint32_t Read(void* buffer, std::uint32_t count, std::uint32_t& bytesRead);

    bool IsOpen() const { return portHandle != INVALID_HANDLE_VALUE; }
    // True once a poll or a read of the open port failed: the adapter was unplugged or the handle
    // died. A dead port reads as "nothing waiting", so this is how the receive loop learns of the loss.
    bool DeviceLost() const { return deviceLost; }

    const DCB& LineSettings() const { return lineSettings; }
    const COMMTIMEOUTS& Timeouts() const { return timeouts; }

private:
    std::uint32_t PendingLineErrors();

    DCB lineSettings;
    HANDLE portHandle;
    COMMTIMEOUTS timeouts;
    bool deviceLost = false;
};

// Closes a freshly opened port again unless Keep is called: whatever fails between opening the
// port and the link being marked up cannot leave the exclusive handle behind.
class SciOpenGuard {
public:
    explicit SciOpenGuard(Sci& sci) : sci_(sci) {}
    ~SciOpenGuard() {
        if (!kept_) sci_.Close();
    }
    SciOpenGuard(const SciOpenGuard&) = delete;
    SciOpenGuard& operator=(const SciOpenGuard&) = delete;

    void Keep() { kept_ = true; }

private:
    Sci& sci_;
    bool kept_ = false;
};
