// A fresh folder for one test, under the Windows temporary folder, removed
// with everything in it when the test ends.
#pragma once

#include <string>

namespace testing_support {

class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();

    // The folder's path, without a closing backslash.
    const std::string& path() const { return path_; }
    // path() + "\" + relative
    std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

private:
    std::string path_;
};

// Whole-file helpers for checking what a library wrote.
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool exists(const std::string& path);

}  // namespace testing_support
