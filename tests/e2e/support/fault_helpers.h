// Helpers of the fault-injection tests of the real program: how soon its window answers, where two
// byte strings part, its file dialogs and message boxes answered, and real file-system conditions
// (a read-only mount, a full disk) made on the Linux side.
#pragma once

#include "support/program_driver.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

LARGE_INTEGER Now();
double SecondsSince(LARGE_INTEGER start);

// How long the program's window takes to answer a message that does nothing; nullopt when it did
// not answer within `limitMs`.
std::optional<double> AnswerMilliseconds(HWND window, UINT limitMs = 5000);

// The answer times seen while probing the window again and again.
class AnswerProbe {
public:
    void Probe(HWND window);
    int Probes() const { return static_cast<int>(times_.size()) + unanswered_; }
    int Unanswered() const { return unanswered_; }
    double WorstMs() const;
    // The time that 95 in 100 answers came within.
    double Percentile95Ms() const;

private:
    std::vector<double> times_;
    int unanswered_ = 0;
};

// Picks the port in the program's list and waits until the lamp shows it open.
bool ConnectTo(const RunningProgram& program, int port);

// Where two byte strings first differ, with the bytes around it, for a readable failure.
std::string FirstDifference(const std::string& expected, const std::string& actual);

DWORD OwnerOf(HWND window);

// Types a name into the program's file dialog and confirms it, as a user would; the dialog that
// was confirmed, or nullptr when none came.
HWND ConfirmFileDialog(const RunningProgram& program, const std::string& path);
// Confirms the file dialog with a name and waits until it has closed.
bool ChooseFileInDialog(const RunningProgram& program, const std::string& path);
// After a file dialog was confirmed: agrees to replace a file when asked, and returns the text of
// the program's message box (pressing its OK), or nothing when none came in time.
std::optional<std::string> MessageAfterTheDialog(const RunningProgram& program, int timeoutMs = 5000);
// Asks the program to close, answers Yes, and waits for its exit code; false when no question came.
bool EndThroughTheExitQuestion(RunningProgram& program, std::optional<DWORD>& exitCode);

// The Linux path of a folder that the program sees as Z:\..., without the trailing backslash.
std::string UnixFolder(const std::string& windowsFolder);

// A real file-system condition on a folder (tests/win/support/disk_fixtures.sh: "readonly", or
// "own" followed by "fill" for a full disk), undone at the end.
class FolderCondition {
public:
    FolderCondition(std::string unixFolder, const std::vector<std::string>& commands);
    ~FolderCondition();
    FolderCondition(const FolderCondition&) = delete;
    FolderCondition& operator=(const FolderCondition&) = delete;

    bool Made() const { return made_; }

private:
    std::string folder_;
    bool made_ = true;
};

// Whether a new file can be created and written in the folder (given with a trailing backslash).
bool CanCreateFileIn(const std::string& folder);

}  // namespace e2e
