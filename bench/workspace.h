// A scratch folder of the benchmark under /tmp, seen from both sides: the Linux scripts take its
// Unix paths, the benchmark its Windows paths. Removed with everything in it at the end.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bench {

class Workspace {
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::string UnixPath(std::string_view name) const { return unixFolder + std::string(name); }
    std::string WindowsPath(std::string_view name) const { return windowsFolder + std::string(name); }
    // The Windows path of the folder, ending in a backslash.
    const std::string& WindowsFolder() const { return windowsFolder; }

    bool Write(std::string_view name, std::string_view bytes) const;
    std::optional<std::string> Read(std::string_view name) const;
    void Remove(std::string_view name) const;

private:
    std::string unixFolder;
    std::string windowsFolder;
};

// The whole contents of a file; nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& windowsPath);

}  // namespace bench
