// Replacing a file's contents: the way the settings file and transcripts are written.
#include <gtest/gtest.h>

#include "file_replacement.h"
#include "support/linux_command.h"
#include "support/test_files.h"

#include <windows.h>

#include <string>

using testsupport::FileNamesIn;
using testsupport::ReadBytes;
using testsupport::RunLinuxScript;
using testsupport::WindowsPathOf;
using testsupport::WriteBytes;

namespace {

constexpr const char* kDiskFixtures = "../tests/win/support/disk_fixtures.sh";

// A folder under /tmp of the test's own; its files are removed with it.
class Folder {
public:
    Folder() {
        // Wine gives a later test process the same id, so a folder an earlier test could not empty
        // (a named pipe) must not be taken over: the name counts on until the folder is new.
        static int made = 0;
        do {
            unixPath_ = "/tmp/varnedo-replace-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
            path_ = WindowsPathOf(unixPath_) + "\\";
        } while (!CreateDirectoryA(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
    }
    ~Folder() {
        for (const std::string& name : FileNamesIn(path_)) DeleteFileA((path_ + name).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    std::string File(const std::string& name) const { return path_ + name; }
    std::string UnixFile(const std::string& name) const { return unixPath_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    std::string unixPath_;
    std::string path_;
};

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

bool Replace(const std::wstring& path, const std::string& bytes, NonFileTarget nonFile = NonFileTarget::WriteDirectly) {
    return ReplaceFileContents(
        path, [&bytes](const ByteSink& write) { return write(bytes); }, nonFile);
}

std::string NameOf(const std::wstring& wide) { return std::string(wide.begin(), wide.end()); }

}  // namespace

// A process that ended before removing its file beside the target may have had this process's id:
// its leftovers neither stop the save nor stay behind.
TEST(FileReplacement, StaleFilesOfACrashedProcessWithTheSameIdAreCleared) {
    Folder folder;
    const std::string prefix = NameOf(BesideFilePrefix());
    for (const char* serial : {"1", "2", "77"}) {
        ASSERT_TRUE(WriteBytes(folder.File(prefix + serial + ".tmp"), "left by a crash"));
    }
    ASSERT_TRUE(WriteBytes(folder.File("~vn1-1.tmp"), "another process's"));
    ASSERT_TRUE(WriteBytes(folder.File("uinf"), "old"));

    EXPECT_TRUE(Replace(Wide(folder.File("uinf")), "new"));
    EXPECT_EQ(std::optional<std::string>("new"), ReadBytes(folder.File("uinf")));
    EXPECT_EQ((std::vector<std::string>{"uinf", "~vn1-1.tmp"}), FileNamesIn(folder.Path()));
}

// The old file's attributes stay with the new contents.
TEST(FileReplacement, ReplacingKeepsTheAttributes) {
    Folder folder;
    const std::string path = folder.File("hidden.txt");
    ASSERT_TRUE(WriteBytes(path, "old"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));

    EXPECT_TRUE(Replace(Wide(path), "new contents"));
    EXPECT_EQ(std::optional<std::string>("new contents"), ReadBytes(path));
    EXPECT_NE(0u, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A read-only file is refused and keeps its contents, with nothing left beside it.
TEST(FileReplacement, ReadOnlyFileIsRefused) {
    Folder folder;
    const std::string path = folder.File("kept.txt");
    ASSERT_TRUE(WriteBytes(path, "kept"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_FALSE(Replace(Wide(path), "new"));
    EXPECT_EQ(std::optional<std::string>("kept"), ReadBytes(path));
    EXPECT_EQ(std::vector<std::string>{"kept.txt"}, FileNamesIn(folder.Path()));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A path deeper than MAX_PATH is written like any other.
TEST(FileReplacement, LongPathsAreReplaced) {
    Folder folder;
    std::wstring deep = L"\\\\?\\" + Wide(folder.Path());
    const std::wstring part(60, L'd');
    for (int level = 0; level < 5; ++level) {
        deep += part + L"\\";
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    const std::wstring path = deep + L"file.txt";
    ASSERT_GT(path.size(), static_cast<std::size_t>(MAX_PATH));

    EXPECT_TRUE(Replace(path, "first"));
    EXPECT_TRUE(Replace(path, "second"));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    char buffer[16] = {};
    DWORD got = 0;
    ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(file);
    EXPECT_EQ("second", std::string(buffer, got));

    DeleteFileW(path.c_str());
    for (int level = 0; level < 5; ++level) {
        RemoveDirectoryW(deep.c_str());
        deep.resize(deep.size() - part.size() - 1);
    }
}

// A named pipe nobody reads is given up after a bounded wait instead of holding the caller for good;
// where non-files are to be left alone, it is not written at all.
TEST(FileReplacement, PipeWithoutReaderIsGivenUpInBoundedTime) {
    Folder folder;
    ASSERT_TRUE(RunLinuxScript(kDiskFixtures, "fifo " + folder.UnixFile("pipe")));
    const std::wstring pipe = Wide(folder.File("pipe"));
    const std::string bytes(4 * 1024 * 1024, 'x');

    ULONGLONG started = GetTickCount64();
    EXPECT_FALSE(Replace(pipe, "short", NonFileTarget::LeaveAlone));
    EXPECT_LT(GetTickCount64() - started, 1000u);

    started = GetTickCount64();
    EXPECT_FALSE(Replace(pipe, bytes));
    EXPECT_LT(GetTickCount64() - started, 10000u);
    EXPECT_EQ(std::vector<std::string>{"pipe"}, FileNamesIn(folder.Path()));
    EXPECT_TRUE(RunLinuxScript(kDiskFixtures, "unlink " + folder.UnixFile("pipe")));
}

// A file with a second name keeps it: both names show the new contents.
TEST(FileReplacement, HardLinkedFileStaysOneFile) {
    Folder folder;
    const std::string path = folder.File("first.txt");
    ASSERT_TRUE(WriteBytes(path, "old"));
    ASSERT_TRUE(CreateHardLinkA(folder.File("second.txt").c_str(), path.c_str(), nullptr));

    EXPECT_TRUE(Replace(Wide(path), "new"));
    EXPECT_EQ(std::optional<std::string>("new"), ReadBytes(path));
    EXPECT_EQ(std::optional<std::string>("new"), ReadBytes(folder.File("second.txt")));
    EXPECT_EQ((std::vector<std::string>{"first.txt", "second.txt"}), FileNamesIn(folder.Path()));
}

// A symbolic link stays a link: the file it leads to gets the new contents.
TEST(FileReplacement, SymbolicLinkStaysALink) {
    Folder folder;
    ASSERT_TRUE(WriteBytes(folder.File("target.txt"), "old"));
    ASSERT_TRUE(
        RunLinuxScript(kDiskFixtures, "link " + folder.UnixFile("target.txt") + " " + folder.UnixFile("link.txt")));

    EXPECT_TRUE(Replace(Wide(folder.File("link.txt")), "new"));
    EXPECT_EQ(std::optional<std::string>("new"), ReadBytes(folder.File("target.txt")));
    EXPECT_EQ((std::vector<std::string>{"link.txt", "target.txt"}), FileNamesIn(folder.Path()));
    EXPECT_TRUE(RunLinuxScript(kDiskFixtures, "unlink " + folder.UnixFile("link.txt")));
}
