// Fills a text store as reception does (random Shift_JIS lines, paged to a temporary file beyond
// the resident budget), puts a match at the far end, and times Find through the whole text in
// slices, down and up, with and without match case; then GNU grep -F -c over the same bytes.

#include "core/page_file.h"
#include "core/text_search.h"
#include "core/text_store.h"
#include "sjis_text_source.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Processor time, which the other work on a shared machine disturbs less than the clock's.
double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The store's page file on Linux: a temporary file, gone once closed.
class TempPageFile : public core::PageFile {
public:
    TempPageFile() {
        char name[] = "/tmp/search-bench-page-XXXXXX";
        fd_ = mkstemp(name);
        if (fd_ >= 0) unlink(name);
    }
    ~TempPageFile() override {
        if (fd_ >= 0) close(fd_);
    }
    bool Open() const { return fd_ >= 0; }
    bool WriteAt(std::uint64_t position, std::string_view bytes) override {
        return pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(position)) ==
               static_cast<ssize_t>(bytes.size());
    }
    bool ReadAt(std::uint64_t position, char* into, std::size_t size) override {
        return pread(fd_, into, size, static_cast<off_t>(position)) == static_cast<ssize_t>(size);
    }

private:
    int fd_ = -1;
};

// "ERR-7731 温度異常" in Shift_JIS.
const std::string kNeedle = "ERR-7731 \x89\xB7\x93\x78\x88\xD9\x8F\xED";
const char* const kTextPath = "/tmp/search-bench-text.txt";

// The store and the same bytes in a file, `megabytes` of random lines with the needle at the end.
std::unique_ptr<core::TextStore> Fill(std::size_t megabytes) {
    auto store = std::make_unique<core::TextStore>([]() -> std::unique_ptr<core::PageFile> {
        auto file = std::make_unique<TempPageFile>();
        if (!file->Open()) return nullptr;
        return file;
    });
    std::ofstream copy(kTextPath, std::ios::binary | std::ios::trunc);
    // Eight megabytes of random lines over again, added 64 KB at a time as a flood arrives.
    devsim::SjisTextSource source(7);
    std::vector<std::uint8_t> lines(8u << 20);
    lines.resize(source.Read(lines));
    const std::string_view all(reinterpret_cast<const char*>(lines.data()), lines.size());
    for (std::size_t at = 0; store->Size() < (megabytes << 20); at = (at + (64u << 10)) % all.size()) {
        const std::string_view bytes = all.substr(at, 64u << 10);
        store->Append(bytes);
        copy.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const std::string end = "\n" + kNeedle + "\n";
    store->Append(end);
    copy << end;
    return store;
}

void TimeSearch(core::TextStore& store, const char* what, const core::SearchRequest& request) {
    constexpr std::size_t kSliceBytes = 8u << 20;
    core::TextSearch search(request, store);
    const Clock::time_point start = Clock::now();
    const double cpuStart = CpuSeconds(RUSAGE_SELF);
    double longestSlice = 0;
    int slices = 0;
    core::SearchStep step;
    do {
        const Clock::time_point sliceStart = Clock::now();
        step = search.Step(store, kSliceBytes);
        longestSlice = std::max(longestSlice, SecondsSince(sliceStart));
        ++slices;
    } while (step.state == core::SearchState::Running);
    const double seconds = SecondsSince(start);
    const double cpu = CpuSeconds(RUSAGE_SELF) - cpuStart;
    std::printf("%-30s %s at %zu  %.3f s (cpu %.3f s)  %5.0f MB/s  %d slices, longest %.1f ms, resident %zu MB\n", what,
                step.state == core::SearchState::Found ? "found" : "NOT FOUND", step.match.start, seconds, cpu,
                static_cast<double>(store.Size()) / (1 << 20) / seconds, slices, longestSlice * 1000,
                store.ResidentBytes() >> 20);
}

void TimeGrep(std::size_t size) {
    std::ofstream(std::string(kTextPath) + ".pattern", std::ios::binary) << kNeedle << "\n";
    const std::string command =
        std::string("LC_ALL=C grep -F -c -f ") + kTextPath + ".pattern " + kTextPath + " >/dev/null";
    double best = 1e9;
    double bestCpu = 1e9;
    for (int i = 0; i < 3; ++i) {
        const Clock::time_point start = Clock::now();
        const double cpuStart = CpuSeconds(RUSAGE_CHILDREN);
        if (std::system(command.c_str()) != 0) std::printf("grep failed\n");
        best = std::min(best, SecondsSince(start));
        bestCpu = std::min(bestCpu, CpuSeconds(RUSAGE_CHILDREN) - cpuStart);
    }
    std::printf("%-30s %.3f s (cpu %.3f s)  %5.0f MB/s (best of 3, file in the page cache)\n", "grep -F -c", best,
                bestCpu, static_cast<double>(size) / (1 << 20) / best);
    std::remove((std::string(kTextPath) + ".pattern").c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 512;
    const Clock::time_point start = Clock::now();
    std::unique_ptr<core::TextStore> store = Fill(megabytes);
    std::printf("%zu MB in %zu blocks, %zu MB resident, paging %s; filled in %.1f s\n", store->Size() >> 20,
                store->BlockCount(), store->ResidentBytes() >> 20, store->Paging() ? "on" : "off", SecondsSince(start));
    const std::size_t size = store->Size();
    TimeSearch(*store, "down, match case, far match", {kNeedle, true, core::SearchDirection::Down, 0});
    TimeSearch(*store, "down, any case, far match", {kNeedle, false, core::SearchDirection::Down, 0});
    // Up from just before the needle: the whole text without a match.
    TimeSearch(*store, "up, match case, none", {kNeedle, true, core::SearchDirection::Up, size - kNeedle.size() - 1});
    TimeGrep(size);
    std::remove(kTextPath);
}
