// The benchmark's files: a scratch folder under the Windows temporary folder
// that serves as the install directory for the run, and the registry value
// that names it, put back as it was when the run ends.
#pragma once

#include <string>

namespace bench {

class Workspace {
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // The folder, without a closing backslash.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

private:
    std::string path_;
    std::string previousInstallDirectory_;
    bool hadInstallDirectory_ = false;
};

void writeFile(const std::string& path, const std::string& bytes);
// The file's bytes; empty when it cannot be read.
std::string readFile(const std::string& path);

}  // namespace bench
