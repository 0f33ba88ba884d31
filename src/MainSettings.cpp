// The settings file beside the program: port, colour scheme, text size and window size, read once
// when the window is first shown and written at the confirmed exit. Neither direction reports a
// failure: the window, or the file, then stays as it was.
#include "Main.h"

#include "file_reader.h"
#include "file_replacement.h"

#include "core/colour_schemes.h"
#include "core/settings_format.h"
#include "wide_path.h"

#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr const char* kSettingsFileName = "uinf";

// The file holds five short lines; more than this is not a settings file worth reading on.
constexpr std::size_t kMostBytesRead = 64 * 1024;

enum class PathHolds { Nothing, RegularFile, SomethingElse };

// Under Wine a device node, a pipe or a link to one has no file attributes at all, so only a path
// that Windows reports as a plain file is read or replaced.
PathHolds WhatPathHolds(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return GetLastError() == ERROR_FILE_NOT_FOUND ? PathHolds::Nothing : PathHolds::SomethingElse;
    }
    constexpr DWORD kNotAPlainFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT;
    return (attributes & kNotAPlainFile) ? PathHolds::SomethingElse : PathHolds::RegularFile;
}

std::optional<std::string> ReadSettingsFile(const std::string& path) {
    if (WhatPathHolds(path) != PathHolds::RegularFile) return std::nullopt;
    std::string bytes;
    const FileReadResult result = ReadFileInChunks(WidePath(path), [&bytes](std::string_view chunk) {
        bytes.append(chunk.substr(0, kMostBytesRead - bytes.size()));
        return bytes.size() < kMostBytesRead;
    });
    if (result != FileReadResult::Complete) return std::nullopt;
    return bytes;
}

}  // namespace

void TMainForm::LoadSettings() {
    const std::optional<std::string> bytes = ReadSettingsFile(AppDir + kSettingsFileName);
    if (!bytes) return;
    // Each setting the file gives no usable value for stays as the layout has it.
    const core::StoredSettings stored = core::ParseSettings(*bytes);
    if (stored.port) {
        PortNumber = *stored.port;
        // Set by the program, so the port-choice handler does not run.
        ComboBox1.SetItemIndex(*stored.port - 1);
    }
    if (stored.scheme) {
        // A change to an item runs RadioGroup1Click, which applies the scheme at once.
        RadioGroup1.SetItemIndex(core::RadioSelectionForStoredScheme(*stored.scheme));
    }
    if (stored.stripPoints && core::IsUsableStoredStripSize(*stored.stripPoints)) {
        ApplyTextSizes(core::FromStoredStripSize(*stored.stripPoints));
    }
    if (stored.windowHeight || stored.windowWidth) {
        // Stored in layout pixels, so a file means the same window at every DPI.
        const SIZE outer = OuterLayoutSize();
        SetOuterLayoutSize(stored.windowWidth.value_or(outer.cx), stored.windowHeight.value_or(outer.cy));
    }
}

void TMainForm::SaveSettings() {
    // A maximised window keeps its maximised size, a minimised one the size it is restored to.
    const SIZE outer = OuterLayoutSize();
    const std::string contents = core::FormatSettings(ComboBox1.ItemIndex() + 1, RadioGroup1.ItemIndex(),
                                                      textSizes.stripPoints, outer.cy, outer.cx);
    // A program directory where nothing can be written keeps its old file; the exit goes on.
    // Only a plain file is replaced: see WhatPathHolds.
    if (WhatPathHolds(AppDir + kSettingsFileName) == PathHolds::SomethingElse) return;
    ReplaceFileContents(
        WidePath(AppDir + kSettingsFileName), [&contents](const ByteSink& write) { return write(contents); },
        NonFileTarget::LeaveAlone);
}
