// The serial port against real pseudo-terminal pairs behind Wine's COM ports.
// (No <chrono> here: its C++20 unit suffixes cannot be written in the Shift_JIS execution charset.)
#include <gtest/gtest.h>

#include "Rsunit.h"
#include "support/virtual_port.h"

#include <stdexcept>
#include <string>

using testsupport::RunPortScript;
using testsupport::VirtualPort;

namespace {

// Every test uses its own port number, so ctest may run them side by side.
constexpr std::int32_t kOpenArgs[] = {9600, 8, 1, 0, 0, 0};

std::uint32_t OpenPort(Sci& sci, std::int32_t number) {
    return sci.Open(number, kOpenArgs[0], kOpenArgs[1], kOpenArgs[2], kOpenArgs[3], kOpenArgs[4], kOpenArgs[5]);
}

// Reads until `expected` bytes came or the time runs out, the way the receive loop polls.
std::string Drain(Sci& sci, std::size_t expected, int timeoutMs = 5000) {
    std::string received;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    char buffer[2048];
    while (received.size() < expected && GetTickCount64() < deadline) {
        const std::uint32_t waiting = sci.InQueue();
        if (waiting == 0) {
            Sleep(5);
            continue;
        }
        std::uint32_t got = 0;
        sci.Read(buffer, waiting < sizeof buffer ? waiting : sizeof buffer, got);
        received.append(buffer, got);
    }
    return received;
}

// The value the next new handle gets. Handle slots are reused lowest first, so this changes exactly
// when a handle was left open (Wine does not count a process's handles).
std::uintptr_t NextHandleValue() {
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(probe);
    return reinterpret_cast<std::uintptr_t>(probe);
}

}  // namespace

// Bytes from the device arrive complete and in order, every byte value included.
TEST(SciPort, DeliversEveryByteInOrder) {
    VirtualPort port(11);
    Sci sci;
    ASSERT_EQ(0u, OpenPort(sci, 11));
    std::string sent;
    for (int round = 0; round < 12; ++round)
        for (int value = 0; value < 256; ++value) sent += static_cast<char>(value);
    ASSERT_TRUE(port.Send(sent));
    EXPECT_EQ(sent, Drain(sci, sent.size()));
    EXPECT_TRUE(sci.Close());
}

// A read never waits for the line: with nothing queued it returns at once, empty and without error.
TEST(SciPort, ReadWithNothingWaitingReturnsAtOnce) {
    VirtualPort port(12);
    Sci sci;
    ASSERT_EQ(0u, OpenPort(sci, 12));
    EXPECT_EQ(0u, sci.InQueue());
    unsigned char buffer[1] = {0x55};
    std::uint32_t got = 99;
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(0u, sci.Read(buffer, 1, got));
    EXPECT_LT(GetTickCount64() - start, 200u);
    EXPECT_EQ(0u, got);
    const COMMTIMEOUTS& t = sci.Timeouts();
    EXPECT_EQ(MAXDWORD, t.ReadIntervalTimeout);
    EXPECT_EQ(0u, t.ReadTotalTimeoutMultiplier + t.ReadTotalTimeoutConstant + t.WriteTotalTimeoutMultiplier +
                      t.WriteTotalTimeoutConstant);
    sci.Close();
}

// A port that cannot be opened reports exactly the open flag and leaves the object closed.
TEST(SciPort, UnopenablePortsReportOpenFailedAndStayClosed) {
    RunPortScript("stop 19");  // no device behind COM19
    for (std::int32_t number : {0, 19}) {
        SCOPED_TRACE(number);
        Sci sci;
        EXPECT_EQ(SCI_OPEN_FAILED, OpenPort(sci, number));
        EXPECT_FALSE(sci.IsOpen());
        EXPECT_FALSE(sci.Close());
    }
}

// Close is harmless on a closed port: true for the open handle, then false.
TEST(SciPort, CloseTwiceGivesTrueThenFalse) {
    VirtualPort port(13);
    Sci sci;
    ASSERT_EQ(0u, OpenPort(sci, 13));
    EXPECT_TRUE(sci.Close());
    EXPECT_FALSE(sci.Close());
    EXPECT_FALSE(sci.IsOpen());
}

// Opening sets 9600 8N1, no flow control, RTS held on.
TEST(SciPort, OpenSetsTheLineFormat) {
    VirtualPort port(14);
    Sci sci;
    ASSERT_EQ(0u, OpenPort(sci, 14));
    const DCB& dcb = sci.LineSettings();
    EXPECT_EQ(9600u, dcb.BaudRate);
    EXPECT_EQ(8, dcb.ByteSize);
    EXPECT_EQ(ONESTOPBIT, dcb.StopBits);
    EXPECT_EQ(NOPARITY, dcb.Parity);
    EXPECT_EQ(0u, dcb.fParity);
    EXPECT_EQ(0u, dcb.fOutX + dcb.fInX + dcb.fOutxCtsFlow);
    EXPECT_EQ(static_cast<DWORD>(RTS_CONTROL_ENABLE), dcb.fRtsControl);
    sci.Close();
}

// The codes for stop bits, parity, CTS and RTS map onto the driver's values; other members stay.
TEST(SciLineFormat, MapsEveryCode) {
    struct Case {
        std::int32_t stop, parity, cts, rts;
        BYTE stopBits, parityValue;
        DWORD fParity, fCts, fRts;
    };
    const Case cases[] = {
        {1, 0, 0, 0, ONESTOPBIT, NOPARITY, 0, 0, RTS_CONTROL_ENABLE},
        {0, 3, 0, 2, ONESTOPBIT, NOPARITY, 0, 0, RTS_CONTROL_ENABLE},
        {2, 1, 1, 1, TWOSTOPBITS, ODDPARITY, 1, 1, RTS_CONTROL_HANDSHAKE},
        {3, 2, 2, 0, ONE5STOPBITS, EVENPARITY, 1, 0, RTS_CONTROL_ENABLE},
        {4, -1, -1, -1, ONESTOPBIT, NOPARITY, 0, 0, RTS_CONTROL_ENABLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stop " << c.stop << " parity " << c.parity);
        Sci sci;
        sci.SetLineFormat(115200, 0x107, c.stop, c.parity, c.cts, c.rts);
        const DCB& dcb = sci.LineSettings();
        EXPECT_EQ(115200u, dcb.BaudRate);
        EXPECT_EQ(7, dcb.ByteSize);  // only the low eight bits of the byte size count
        EXPECT_EQ(c.stopBits, dcb.StopBits);
        EXPECT_EQ(c.parityValue, dcb.Parity);
        EXPECT_EQ(c.fParity, dcb.fParity);
        EXPECT_EQ(c.fCts, dcb.fOutxCtsFlow);
        EXPECT_EQ(c.fRts, dcb.fRtsControl);
        EXPECT_EQ(0, dcb.XonChar + dcb.XoffChar);
        EXPECT_EQ(0u, dcb.fDtrControl + dcb.fOutxDsrFlow);  // left as the driver had them
    }
}

// Unplugging the device while the port is open is noticed at the next poll, without hanging,
// and the port can be opened again once the device is back.
TEST(SciPort, UnplugIsDetectedAndReplugReopens) {
    VirtualPort port(15);
    Sci sci;
    ASSERT_EQ(0u, OpenPort(sci, 15));
    ASSERT_TRUE(port.Send("before"));
    EXPECT_EQ("before", Drain(sci, 6));
    EXPECT_FALSE(sci.DeviceLost());

    port.Unplug();
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(0u, sci.InQueue());
    unsigned char buffer[16];
    std::uint32_t got = 0;
    sci.Read(buffer, sizeof buffer, got);
    EXPECT_LT(GetTickCount64() - start, 1000u);
    EXPECT_EQ(0u, got);
    EXPECT_TRUE(sci.DeviceLost());
    sci.Close();

    EXPECT_EQ(SCI_OPEN_FAILED, OpenPort(sci, 15));
    port.Plug();
    ASSERT_EQ(0u, OpenPort(sci, 15));
    EXPECT_FALSE(sci.DeviceLost());
    ASSERT_TRUE(port.Send("after"));
    EXPECT_EQ("after", Drain(sci, 5));
    sci.Close();
}

// A read that fails while the driver still answers for the port counts as a lost device too, so
// the receive loop closes the port and opens it again rather than keep a handle it cannot read.
TEST(SciPort, FailingReadCountsAsLost) {
    VirtualPort port(19);
    Sci sci;
    ASSERT_EQ(0u, OpenPort(sci, 19));
    ASSERT_TRUE(port.Send("waiting"));
    EXPECT_EQ(7u, [&] {
        const ULONGLONG deadline = GetTickCount64() + 5000;
        std::uint32_t waiting = 0;
        while ((waiting = sci.InQueue()) < 7 && GetTickCount64() < deadline) Sleep(5);
        return waiting;
    }());
    EXPECT_FALSE(sci.DeviceLost());

    // A buffer the driver cannot write to makes ReadFile itself fail; ClearCommError still succeeds.
    std::uint32_t got = 0;
    const std::uint32_t result = sci.Read(reinterpret_cast<void*>(16), 7, got);
    EXPECT_NE(0u, result & SCI_READ_FAILED);
    EXPECT_TRUE(sci.DeviceLost());
    sci.Close();

    ASSERT_EQ(0u, OpenPort(sci, 19));
    EXPECT_FALSE(sci.DeviceLost());
    sci.Close();
}

// A device that opens but cannot be set up as a serial line is closed again at once, so no handle
// is kept and later attempts are not locked out.
TEST(SciPort, PortThatCannotBeConfiguredIsNotKept) {
    RunPortScript("map 18 /dev/null");
    Sci sci;
    const std::uintptr_t before = NextHandleValue();
    for (int attempt = 0; attempt < 20; ++attempt) EXPECT_NE(0u, OpenPort(sci, 18));
    EXPECT_FALSE(sci.IsOpen());
    EXPECT_EQ(before, NextHandleValue());
    RunPortScript("stop 18");
}

// Destroying the object leaves an open port alone; the exit sequence closes it first.
TEST(SciPort, DestructorDoesNotClose) {
    VirtualPort port(16);
    const std::uintptr_t before = NextHandleValue();
    {
        Sci sci;
        ASSERT_EQ(0u, OpenPort(sci, 16));
    }
    EXPECT_NE(before, NextHandleValue());
}

// Opening a port that is already open gives up the old handle first, so nothing is left behind
// to lock the port until the program ends.
TEST(SciPort, OpeningAgainClosesTheOldHandle) {
    VirtualPort port(17);
    Sci sci;
    const std::uintptr_t before = NextHandleValue();
    ASSERT_EQ(0u, OpenPort(sci, 17));
    ASSERT_EQ(0u, OpenPort(sci, 17));
    ASSERT_TRUE(port.Send("again"));
    EXPECT_EQ("again", Drain(sci, 5));
    EXPECT_TRUE(sci.Close());
    EXPECT_EQ(before, NextHandleValue());
}

// Whatever throws between opening the port and marking the link up closes the port again; a
// link-up that completes keeps it.
TEST(SciOpenGuard, ClosesThePortUnlessKept) {
    VirtualPort port(20);
    Sci sci;
    const std::uintptr_t before = NextHandleValue();
    ASSERT_EQ(0u, OpenPort(sci, 20));
    EXPECT_THROW(
        {
            SciOpenGuard opened(sci);
            throw std::runtime_error("link-up failed");
        },
        std::runtime_error);
    EXPECT_FALSE(sci.IsOpen());
    EXPECT_EQ(before, NextHandleValue());

    ASSERT_EQ(0u, OpenPort(sci, 20));
    {
        SciOpenGuard opened(sci);
        opened.Keep();
    }
    EXPECT_TRUE(sci.IsOpen());
    sci.Close();
}
