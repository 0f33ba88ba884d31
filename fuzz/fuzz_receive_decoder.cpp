// The fast receive decoder against the literal byte-by-byte model: the input is cut into ticks,
// and after every tick the text, the strip and the waiting first byte must agree.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/receive_decoder.h"
#include "fuzz_check.h"
#include "literal_receive_model.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The received bytes come from the front of the input, each tick's length from its back.
    FuzzedDataProvider input(data, size);
    core::ReceiveState state;
    std::string text;
    core_test::LiteralReceiveModel model;

    while (input.remaining_bytes() > 0) {
        const std::size_t tickLength = input.ConsumeIntegral<std::uint8_t>();
        const std::string tick = input.ConsumeBytesAsString(tickLength);
        core::DecodeReceived(tick, state, text);
        for (const char byte : tick) {
            model.HandleByte(static_cast<unsigned char>(byte));
        }

        Check(text == model.text, "the text differs from the literal model");
        Check(state.strip == model.strip, "the strip differs from the literal model");
        Check(state.leadByte == model.leadByte, "the waiting first byte differs from the literal model");
        Check(state.strip.size() <= core::kStripRestartBytes + 1, "the strip holds more than 31 bytes");
        Check(state.strip.find('\0') == std::string::npos, "the strip holds a NUL byte");
        Check(text.find('\0') == std::string::npos, "the text holds a NUL byte");
        Check(state.leadByte == 0 || core::OpensTwoByteCharacter(state.leadByte),
              "a byte waits that cannot open a two-byte character");
    }
    return 0;
}
