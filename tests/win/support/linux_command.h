// Runs the project's Linux-side scripts (scripts/*.sh) from inside a Windows test under Wine.
#pragma once

#include <string>

namespace testsupport {

// Runs scripts/<script> with the given arguments and waits until it has finished; false when it
// could not be started or did not finish in time. Wine starts Linux programs through
// CreateProcess, but their process handle does not signal their end, so the script is asked to
// create a marker file as its last act (VARNEDO_DONE_FILE) and we wait for that file.
bool RunLinuxScript(const std::string& script, const std::string& arguments, int timeoutMs = 20000);

// A path of this machine's file system as Windows programs under Wine see it (drive Z:).
std::string WindowsPathOf(const std::string& unixPath);

}  // namespace testsupport
