// The sample server's files: INI files read and written through the system's
// profile functions.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace sample_server {

using IniEntries = std::vector<std::pair<std::wstring, std::wstring>>;

class IniFile {
public:
    explicit IniFile(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& path() const { return path_; }
    // The key=value lines of `section`, in file order; none when it is missing.
    IniEntries section(const std::wstring& name) const;
    // Writes the whole section `name`, replacing what it held; failures raise.
    void writeSection(const std::wstring& name, const IniEntries& entries) const;

private:
    std::wstring path_;
};

}  // namespace sample_server
