// Runs a tool of the build the way a person does and collects what it says.
#pragma once

#include <string>
#include <vector>

namespace tools_testing {

struct ToolRun {
    unsigned long exitCode;
    std::string output;  // standard output and error, as they came, lines ending in "\n"
};

// Runs `program` (a file beside the test program) with `arguments`, each
// quoted as a Windows command line needs. The output is also echoed, so that
// what the tool printed shows with a failed test.
ToolRun runTool(const std::string& program, const std::vector<std::string>& arguments);

// The install-directory registry value, restored (or removed) as it was
// before when the guard goes.
class InstallDirectoryGuard {
public:
    InstallDirectoryGuard();
    InstallDirectoryGuard(const InstallDirectoryGuard&) = delete;
    InstallDirectoryGuard& operator=(const InstallDirectoryGuard&) = delete;
    ~InstallDirectoryGuard();

    // Records `directory` as the value.
    void set(const std::string& directory);
    // Removes the value.
    void clear();

private:
    bool hadValue_ = false;
    std::string previous_;
};

}  // namespace tools_testing
