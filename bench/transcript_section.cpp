// Loading and saving a 10 MB transcript through the real commands: the file dialog is answered
// from a second thread, as a user would, and the time is taken from pressing its OK button to the
// command's return (and for the load, to the end of the repaint that follows).
#include "sections.h"

#include "bench_clock.h"
#include "bench_form.h"
#include "dialog_user.h"

#include "core/text_mode.h"

#include <cstdio>

namespace bench {

namespace {

constexpr std::size_t kTranscriptBytes = 10 << 20;

std::size_t Count(std::string_view text, std::string_view what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + what.size()))
        ++count;
    return count;
}

}  // namespace

bool TranscriptSection(const Workspace& workspace, const DeviceData& data) {
    std::printf("\n== Transcripts: the real Save and Load commands, 10 MB ==\n");
    // A transcript as this program saves received lines: each CR LF of the text area as CR CR LF.
    const std::string textArea = data.TextAreaLines(kTranscriptBytes);
    const std::string file = core::EncodeForSave(textArea);
    if (!workspace.Write("transcript.txt", file)) {
        std::printf("cannot write the transcript\n");
        return false;
    }

    BenchForm bench;
    TMainForm& form = bench.Form();
    form.AppDir = workspace.WindowsFolder();

    double loadMs = 0;
    double loadEnd = 0;
    {
        DialogUser user(workspace.WindowsPath("transcript.txt"));
        form.LoadL1Click(nullptr);
        loadEnd = NowMs();
        loadMs = loadEnd - user.PressedAtMs();
    }
    UpdateWindow(form.Handle());
    const double repaintMs = NowMs() - loadEnd;
    // Every line of the file became a line of the text area.
    const bool loadedWhole = Count(bench.ReceivedText(), "\r\n") == Count(file, "\n");

    double saveMs = 0;
    {
        DialogUser user(workspace.WindowsPath("saved.txt"));
        form.SaveS1Click(nullptr);
        saveMs = NowMs() - user.PressedAtMs();
    }
    const auto saved = workspace.Read("saved.txt");
    // Saved again at once, the transcript comes back byte for byte.
    const bool savedWhole = saved && *saved == file;
    workspace.Remove("transcript.txt");
    workspace.Remove("saved.txt");

    std::printf("load  %5.1f MB file: %8.0f ms (then %.0f ms to repaint), text area %.1f MB, every line: %s\n",
                file.size() / 1048576.0, loadMs, repaintMs, bench.ReceivedLength() / 1048576.0,
                loadedWhole ? "yes" : "NO");
    std::printf("save  %5.1f MB text: %8.0f ms, the same bytes as the file loaded: %s\n",
                bench.ReceivedLength() / 1048576.0, saveMs, savedWhole ? "yes" : "NO");
    std::fflush(stdout);
    // The format is the transcripts' business; only lines that went missing count as lost here.
    return loadedWhole;
}

}  // namespace bench
