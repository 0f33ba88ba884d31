// The real main window in the benchmark's process, shown, with its receive tick timed: Timer1
// fires on the message loop exactly as in the program, and every tick's start and end are noted
// together with whether bytes were waiting when it began.
#pragma once

#include "Main.h"
#include "message_pump.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

struct TickRecord {
    double startMs;
    double endMs;
    bool hadData;  // bytes waited to be read or shown as the tick began
};

class BenchForm {
public:
    BenchForm();
    ~BenchForm();
    BenchForm(const BenchForm&) = delete;
    BenchForm& operator=(const BenchForm&) = delete;

    TMainForm& Form() { return *form; }
    MessagePump& Pump() { return pump; }

    // Lets the ticks open COM<port>; true once the port is open.
    bool OpenPort(int port);
    // Replaces the program's tick with another one (the literal reference), timed the same way.
    void UseTick(std::function<void()> tick);

    // Sets the text area's text and lets the window repaint.
    void Prefill(const std::string& text);
    // The text area's text followed by a first byte the receive path still holds back.
    std::string ReceivedText() const;
    std::size_t ReceivedLength() const;
    // The same, counted without limit, and the text area's bytes a piece at a time: the one place
    // where the benchmark looks into the text area for texts of any size.
    std::uint64_t ReceivedBytes() const;
    std::uint64_t TextAreaBytes() const;
    std::string TextPiece(std::uint64_t offset, std::size_t count) const;

    const std::vector<TickRecord>& Ticks() const { return ticks; }
    void ClearTicks() {
        ticks.clear();
        pump.ClearDispatches();
    }

private:
    std::unique_ptr<TMainForm> form;
    std::function<void()> tick;
    std::vector<TickRecord> ticks;
    MessagePump pump;
};

}  // namespace bench
