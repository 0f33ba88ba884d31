// receive_bench: measures the real program under Wine against its performance goals and prints
// a table; see docs/performance.md. Not a test: the timings are reported, not judged. With
// --smoke it runs for a few seconds and fails only when a byte was lost.
//
//   receive_bench [--smoke] [--seconds N] [--only costs|receive|literal|transcript|program|endurance|
//                 filework]
//                 [--source demo|sjis] [--endurance-mb N]
//
// --seconds: length of each paced case (default 10); --source: what the device sends, its demo
// output (default) or random Shift_JIS lines; --endurance-mb: how much the endurance section
// sends (default 2048). The endurance and filework sections run only when named with --only.
#include "device_data.h"
#include "sections.h"
#include "workspace.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kDeviceBytes = 10 << 20;
constexpr std::size_t kSmokeDeviceBytes = 2 << 20;

}  // namespace

int main(int argc, char** argv) {
    bench::Settings settings;
    std::string only;
    std::string source = "demo";
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--smoke") {
            settings.smoke = true;
            settings.pacedSeconds = 2;
        } else if (argument == "--seconds" && i + 1 < argc) {
            settings.pacedSeconds = std::atof(argv[++i]);
        } else if (argument == "--only" && i + 1 < argc) {
            only = argv[++i];
        } else if (argument == "--source" && i + 1 < argc) {
            source = argv[++i];
        } else if (argument == "--endurance-mb" && i + 1 < argc && std::atof(argv[i + 1]) > 0) {
            settings.enduranceMb = std::atof(argv[++i]);
        } else {
            std::fprintf(stderr,
                         "usage: receive_bench [--smoke] [--seconds N] [--only "
                         "costs|receive|literal|transcript|program|endurance|filework] "
                         "[--source demo|sjis] [--endurance-mb N]\n");
            return 2;
        }
    }

    bench::Workspace workspace;
    if (only == "endurance") {
        const bool allArrived = bench::EnduranceSection(settings, workspace);
        std::printf("\n%s\n",
                    allArrived ? "Every byte arrived." : "SOME BYTES WERE LOST OR CHANGED, OR THE RUN FAILED.");
        return allArrived ? 0 : 1;
    }
    bench::DeviceData data;
    std::string error;
    if (!data.Make(workspace, settings.smoke ? kSmokeDeviceBytes : kDeviceBytes, source, error)) {
        std::fprintf(stderr, "receive_bench: %s\n", error.c_str());
        return 1;
    }

    if (only == "filework") return bench::FileWorkSection(workspace, data) ? 0 : 1;
    bool allArrived = true;
    auto wanted = [&](std::string_view part) { return only.empty() || only == part; };
    if (!settings.smoke && wanted("costs")) bench::CostsSection(data);
    if (wanted("receive")) allArrived = bench::ReceiveSection(settings, workspace, data) && allArrived;
    if (!settings.smoke) {
        if (wanted("literal")) allArrived = bench::LiteralSection(workspace, data) && allArrived;
        if (wanted("transcript")) allArrived = bench::TranscriptSection(workspace, data) && allArrived;
        if (wanted("program")) allArrived = bench::ProgramSection(data) && allArrived;
    }
    std::printf("\n%s\n",
                allArrived ? "Every byte arrived." : "SOME BYTES WERE LOST OR CHANGED (see the rows marked NO).");
    return allArrived ? 0 : 1;
}
