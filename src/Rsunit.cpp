#include "Rsunit.h"

#include <string>

Sci::Sci() : portHandle(INVALID_HANDLE_VALUE) {
    // The line settings are filled from the driver at each Open; the time-outs by SetTimeouts.
    ZeroMemory(&lineSettings, sizeof lineSettings);
    ZeroMemory(&timeouts, sizeof timeouts);
}

std::uint32_t Sci::Open(std::int32_t portNumber, std::int32_t baudRate, std::int32_t byteSize,
                        std::int32_t stopBitsCode, std::int32_t parityCode, std::int32_t ctsFlag,
                        std::int32_t rtsChoice) {
    // The "\\.\" prefix is what makes COM10 and above reachable; it is harmless below.
    const std::string path = "\\\\.\\COM" + std::to_string(portNumber);
    Close();
    portHandle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    deviceLost = false;
    if (portHandle == INVALID_HANDLE_VALUE) return SCI_OPEN_FAILED;

    // A queue of a minute at 9600 baud, so that a short stall of the window loses nothing where the
    // driver honours the request (a driver that keeps less is no reason to give up the port).
    SetupComm(portHandle, kInputQueueBytes, 0);
    bool configured = GetCommState(portHandle, &lineSettings) != FALSE;
    if (configured) {
        SetLineFormat(baudRate, byteSize, stopBitsCode, parityCode, ctsFlag, rtsChoice);
        configured = SetCommState(portHandle, &lineSettings) != FALSE;
    }
    // Reads return at once with whatever has arrived, so a tick never waits for the line.
    if (configured) configured = SetTimeouts(MAXDWORD, 0, 0, 0, 0);
    if (configured) return 0;

    // A port we opened but could not set up is no use to the receive loop, and keeping the
    // exclusive handle would make every later attempt on this port fail.
    const std::uint32_t errors = PendingLineErrors();
    Close();
    return errors != 0 ? errors : SCI_OPEN_FAILED;
}

bool Sci::Close() {
    if (portHandle == INVALID_HANDLE_VALUE) return false;
    const bool closed = CloseHandle(portHandle) != FALSE;
    portHandle = INVALID_HANDLE_VALUE;
    return closed;
}

void Sci::SetLineFormat(std::int32_t baudRate, std::int32_t byteSize, std::int32_t stopBitsCode,
                        std::int32_t parityCode, std::int32_t ctsFlag, std::int32_t rtsChoice) {
    DCB& dcb = lineSettings;
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    dcb.ByteSize = static_cast<BYTE>(byteSize & 0xFF);
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.XonChar = 0;
    dcb.XoffChar = 0;

    // The codes count stop bits (3 meaning one and a half); Windows numbers them differently.
    switch (stopBitsCode) {
    case 2: dcb.StopBits = TWOSTOPBITS; break;
    case 3: dcb.StopBits = ONE5STOPBITS; break;
    default: dcb.StopBits = ONESTOPBIT; break;
    }
    switch (parityCode) {
    case 1:
        dcb.Parity = ODDPARITY;
        dcb.fParity = 1;
        break;
    case 2:
        dcb.Parity = EVENPARITY;
        dcb.fParity = 1;
        break;
    default:
        dcb.Parity = NOPARITY;
        dcb.fParity = 0;
        break;
    }
    // RTS is held on unless handshaking is asked for; it is never switched off.
    dcb.fRtsControl = rtsChoice == 1 ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    dcb.fOutxCtsFlow = ctsFlag == 1 ? 1 : 0;
}

bool Sci::SetTimeouts(std::uint32_t readInterval, std::uint32_t readTotalMultiplier, std::uint32_t readTotalConstant,
                      std::uint32_t writeTotalMultiplier, std::uint32_t writeTotalConstant) {
    timeouts.ReadIntervalTimeout = readInterval;
    timeouts.ReadTotalTimeoutMultiplier = readTotalMultiplier;
    timeouts.ReadTotalTimeoutConstant = readTotalConstant;
    timeouts.WriteTotalTimeoutMultiplier = writeTotalMultiplier;
    timeouts.WriteTotalTimeoutConstant = writeTotalConstant;
    return SetCommTimeouts(portHandle, &timeouts) != FALSE;
}

std::uint32_t Sci::InQueue() {
    DWORD errors = 0;
    COMSTAT status{};
    // Line errors reported here are cleared and dropped: they must never stop reception.
    if (!ClearCommError(portHandle, &errors, &status)) {
        deviceLost = true;
        return 0;
    }
    return status.cbInQue;
}

std::uint32_t Sci::Read(void* buffer, std::uint32_t count, std::uint32_t& bytesRead) {
    DWORD got = 0;
    const bool readOk = ReadFile(portHandle, buffer, count, &got, nullptr) != FALSE;
    bytesRead = got;
    std::uint32_t result = PendingLineErrors();
    if (!readOk) {
        // A handle that cannot be read is of no more use than one the driver no longer answers
        // for: the receive loop closes it and reopens the port.
        deviceLost = true;
        result |= SCI_READ_FAILED;
    }
    return result;
}

std::uint32_t Sci::PendingLineErrors() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(portHandle, &errors, &status)) {
        deviceLost = true;
        return 0;
    }
    return errors;
}
