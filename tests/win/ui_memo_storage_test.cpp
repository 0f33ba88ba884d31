// Where the text area keeps a long text: the page file in the temporary folder, and what the user
// is told when there is none. The block store's rules themselves are tested on Linux
// (tests/core/text_store_test.cpp); here the real temporary file and message boxes.
#include <gtest/gtest.h>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/memo.h"
#include "ui/temp_page_file.h"
#include "ui_test_support.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kTitle = "StorageTest";

struct MemoForm : ui::Form {
    explicit MemoForm(core::StoreLimits limits)
        : ui::Form({.caption = "StorageForm", .width = 600, .height = 400}),
          memo(*this, {.bounds = {0, 0, 500, 200}, .limits = limits}) {
        Show();
    }
    ui::Memo memo;
};

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, folder);
    return folder;
}

// The page files of the process `id` in the temporary folder.
int PageFilesOf(DWORD id) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = TempFolder() + L"~vnpage" + std::to_wstring(id) + L"-*.tmp";
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 1;
    while (FindNextFileW(search, &found)) ++count;
    FindClose(search);
    return count;
}

std::string NumberedLines(int from, int count) {
    std::string lines;
    for (int i = from; i < from + count; ++i)
        lines += "\x8D\x73 " + std::to_string(i) + " abcdefghijklmnopqrstuvwxyz\r\n";
    return lines;
}

// The temporary folder the program sees, for one test.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const wchar_t* folder) {
        for (const wchar_t* name : {L"TMP", L"TEMP"}) SetEnvironmentVariableW(name, folder);
    }
    ~TemporaryFolder() {
        for (const wchar_t* name : {L"TMP", L"TEMP"}) SetEnvironmentVariableW(name, saved_.c_str());
    }

private:
    std::wstring saved_ = TempFolder();
};

// Text past the budget goes to a page file of the program's own, comes back whole, and the file is
// gone when its text area is, and when the program dies without closing it.
TEST(TextAreaStorage, ColdTextGoesToAPageFileThatLeavesWithTheProgram) {
    core::StoreLimits limits;
    limits.residentBytes = 512 << 10;
    std::string sent;
    {
        MemoForm form(limits);
        for (int piece = 0; piece < 120; ++piece) {
            const std::string lines = NumberedLines(piece * 1000, 1000);
            form.memo.AppendText(lines);
            sent += lines;
        }
        const core::TextStore& store = form.memo.Document().Store();
        EXPECT_TRUE(store.Paging());
        EXPECT_LE(store.ResidentBytes(), limits.residentBytes + limits.blockMostBytes);
        EXPECT_EQ(1, PageFilesOf(GetCurrentProcessId()));
        EXPECT_TRUE(form.memo.Text() == sent) << "the text read back differs from what was added";
    }
    EXPECT_EQ(0, PageFilesOf(GetCurrentProcessId()));

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    std::wstring command = L"page_file_child.exe";
    ASSERT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
    WaitForSingleObject(child.hProcess, 10000);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    EXPECT_EQ(7u, code) << "the child wrote its page file and was killed";
    EXPECT_EQ(0, PageFilesOf(child.dwProcessId));
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
}

// With no temporary folder to write to, the text stays in memory: the owner hears once, well
// before memory would run out, that the text area is full; at the limit the oldest lines leave, and
// the owner hears that too, each from the message loop rather than from within the addition. The
// text area goes on working throughout.
TEST(TextAreaStorage, WithoutAPageFileTheOwnerHearsOfAFullTextThenOfDroppedLines) {
    TemporaryFolder missing(L"C:\\no such folder\\at all");
    core::StoreLimits limits;
    limits.residentBytes = 256 << 10;
    limits.memoryBytes = 4 << 20;
    MemoForm form(limits);
    std::vector<ui::TextAreaEvent> heard;
    form.memo.OnEvent = [&](ui::TextAreaEvent event) { heard.push_back(event); };
    std::string sent;
    const auto addUntil = [&](std::size_t bytes) {
        for (int piece = 0; sent.size() < bytes; ++piece) {
            const std::string lines = NumberedLines(static_cast<int>(sent.size()), 100);
            form.memo.AppendText(lines);
            sent += lines;
        }
    };
    addUntil(3500 << 10);
    EXPECT_TRUE(heard.empty()) << "not within the addition";
    uitest::PumpMessages(200);
    EXPECT_EQ(std::vector<ui::TextAreaEvent>{ui::TextAreaEvent::Full}, heard);
    EXPECT_EQ(0u, form.memo.Document().DroppedBytes());
    addUntil(6 << 20);
    uitest::PumpMessages(200);
    EXPECT_EQ((std::vector<ui::TextAreaEvent>{ui::TextAreaEvent::Full, ui::TextAreaEvent::LinesDropped}), heard);
    const std::size_t dropped = form.memo.Document().DroppedBytes();
    EXPECT_GT(dropped, 0u);
    EXPECT_LE(form.memo.TextSize(), limits.memoryBytes);
    EXPECT_TRUE(form.memo.Text() == sent.substr(dropped)) << "the newest text stays whole, from a line's start";
    EXPECT_EQ(0, PageFilesOf(GetCurrentProcessId()));
}

}  // namespace
