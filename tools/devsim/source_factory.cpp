#include "source_factory.h"

#include "buffer_source.h"
#include "demo_text.h"
#include "raw_byte_source.h"
#include "sjis_text_source.h"

#include "unique_fd.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>

namespace devsim {

namespace {

MadeSource MakeFileSource(const std::string& path, bool loop) {
    // Read whole: a file that cannot be read fails now, not halfway through
    // a run, and looping needs no rewinding.
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen()) {
        return {nullptr, "cannot open " + path + ": " + std::strerror(errno)};
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got > 0) {
            bytes.insert(bytes.end(), buffer, buffer + got);
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            return {nullptr, "cannot read " + path + ": " + std::strerror(errno)};
        }
    }
    return {std::make_unique<BufferSource>(std::move(bytes), loop), ""};
}

}  // namespace

MadeSource MakeSource(const Options& options) {
    switch (options.source) {
    case SourceKind::Demo: {
        const auto demo = DemoText();
        return {std::make_unique<BufferSource>(std::vector<std::uint8_t>(demo.begin(), demo.end()), true), ""};
    }
    case SourceKind::File: return MakeFileSource(options.sourceFilePath, options.loop);
    case SourceKind::Sjis: return {std::make_unique<SjisTextSource>(options.seed), ""};
    case SourceKind::Raw: return {std::make_unique<RawByteSource>(options.seed), ""};
    }
    return {nullptr, "unknown source"};
}

}  // namespace devsim
