// Runs the real devsim executable, as the run command and the Wine tests do.
#include "test_support.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace devsim {
namespace {

using namespace std::chrono_literals;
using test::PtyPair;
using test::ReadUpTo;
using Bytes = std::vector<std::uint8_t>;

class Devsim {
public:
    explicit Devsim(const std::vector<std::string>& arguments) {
        int out[2];
        int err[2];
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
            return;
        }
        m_stdout.Reset(out[0]);
        m_stderr.Reset(err[0]);
        UniqueFd outWrite(out[1]);
        UniqueFd errWrite(err[1]);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, outWrite.Get(), STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, errWrite.Get(), STDERR_FILENO);
        std::vector<std::string> words{DEVSIM_EXECUTABLE};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, DEVSIM_EXECUTABLE, &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }

    Devsim(const Devsim&) = delete;
    Devsim& operator=(const Devsim&) = delete;

    ~Devsim() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    void Signal(int signal) const { kill(m_pid, signal); }

    // Exit code, or -1 if it has not exited within `limit`.
    int WaitForExit(std::chrono::milliseconds limit) {
        for (auto waited = 0ms; waited <= limit; waited += 10ms) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }

    Bytes Stdout() { return ReadUpTo(m_stdout.Get(), SIZE_MAX, 2000ms); }
    std::string Stderr() {
        const Bytes bytes = ReadUpTo(m_stderr.Get(), SIZE_MAX, 2000ms);
        return std::string(bytes.begin(), bytes.end());
    }

private:
    pid_t m_pid = -1;
    UniqueFd m_stdout;
    UniqueFd m_stderr;
};

// What tests learn from "--out -" is what a terminal receives: the same
// seed and count give the same bytes whatever the rate and chunking.
TEST(DevsimProcess, StandardOutputCarriesTheSameBytesAsATerminal) {
    Devsim toStdout({"--source", "sjis", "--seed", "7", "--count", "5000", "--rate", "max", "--out", "-"});
    const Bytes fromStdout = toStdout.Stdout();
    EXPECT_EQ(toStdout.WaitForExit(2s), 0);

    PtyPair pty;
    Devsim toPty({"--source", "sjis", "--seed", "7", "--count", "5000", "--rate", "50000", "--out", pty.slaveName});
    const Bytes fromPty = ReadUpTo(pty.master.Get(), 5000, 2000ms);
    EXPECT_EQ(toPty.WaitForExit(2s), 0);
    EXPECT_EQ(toPty.Stdout(), Bytes{});

    EXPECT_EQ(fromStdout.size(), 5000u);
    EXPECT_EQ(fromPty, fromStdout);
}

struct ExitCase {
    std::vector<std::string> arguments;
    int exitCode;
    std::string_view stdoutStart;
};

// Exit codes tell a script what happened: 0 done, 1 cannot start, 2 bad
// command line; a file is sent once unless looped.
TEST(DevsimProcess, ExitCodeAndOutputFollowTheCommandLine) {
    const std::string file =
        (std::filesystem::temp_directory_path() / ("devsim-src-" + std::to_string(getpid()))).string();
    std::ofstream(file, std::ios::binary) << "ab\ncd";

    const ExitCase cases[] = {
        {{"--help"}, 0, "Usage: devsim"},
        {{"--out", "-", "--count", "0"}, 0, ""},
        {{"--out", "-", "--rate", "max", "--source", "file:" + file}, 0, "ab\ncd"},
        {{"--out", "-", "--rate", "max", "--source", "file:" + file, "--loop", "--count", "12"}, 0, "ab\ncdab\ncdab"},
        {{"--out", "-", "--rate", "max", "--source", "file:" + file + ".missing"}, 1, ""},
        {{"--out", "-", "--rate", "max", "--source", "file:/"}, 1, ""},
        {{"--out", "/nonexistent-dir/com5-peer"}, 1, ""},
        {{"--out", "-", "--rate", "fast"}, 2, ""},
        {{"--source", "raw"}, 2, ""},
    };
    for (const ExitCase& testCase : cases) {
        SCOPED_TRACE(testCase.arguments.back());
        Devsim devsim(testCase.arguments);
        const Bytes output = devsim.Stdout();
        EXPECT_EQ(devsim.WaitForExit(2s), testCase.exitCode);
        EXPECT_EQ(std::string(output.begin(), output.end()).substr(0, testCase.stdoutStart.size()),
                  testCase.stdoutStart);
        if (testCase.stdoutStart.empty() || testCase.arguments.front() != "--help") {
            EXPECT_EQ(output.size(), testCase.stdoutStart.size());
        }
    }
    std::filesystem::remove(file);
}

// SIGTERM ends a run cleanly, also while a write is blocked because nobody
// reads the terminal.
TEST(DevsimProcess, StopsWithExitZeroOnSigterm) {
    for (const std::string rate : {"960", "max"}) {
        SCOPED_TRACE(rate);
        PtyPair pty;
        Devsim devsim({"--out", pty.slaveName, "--rate", rate});
        if (rate == "960") {
            EXPECT_FALSE(ReadUpTo(pty.master.Get(), 1, 2000ms).empty());
        } else {
            std::this_thread::sleep_for(300ms);  // long enough to fill the pty and block
        }
        devsim.Signal(SIGTERM);
        EXPECT_EQ(devsim.WaitForExit(1s), 0);
        EXPECT_EQ(devsim.Stderr(), "");
    }
}

// The far end vanishing (socat killed) is not a normal end: exit code 3 and
// one line on standard error.
TEST(DevsimProcess, ExitsWithThreeWhenTheReaderGoes) {
    PtyPair pty;
    Devsim devsim({"--out", pty.slaveName, "--rate", "960"});
    ASSERT_FALSE(ReadUpTo(pty.master.Get(), 1, 2000ms).empty());
    pty.master.Reset();
    pty.slave.Reset();

    EXPECT_EQ(devsim.WaitForExit(2s), 3);
    const std::string message = devsim.Stderr();
    EXPECT_NE(message.find(pty.slaveName), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_TRUE(message.ends_with('\n')) << message;
}

}  // namespace
}  // namespace devsim
