#include "ini_file.h"

#include "com_error.h"

namespace sample_server {
namespace {

std::wstring trimmed(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

IniEntries IniFile::section(const std::wstring& name) const
{
    // The answer is "key=value\0key=value\0\0"; a full buffer is answered
    // with its size less two, so grow until the text fits.
    std::wstring buffer(4096, L'\0');
    for (;;) {
        const DWORD length = GetPrivateProfileSectionW(name.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()),
                                                       path_.c_str());
        if (length + 2 < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.assign(buffer.size() * 2, L'\0');
    }
    IniEntries entries;
    for (size_t start = 0; start < buffer.size();) {
        size_t end = buffer.find(L'\0', start);
        if (end == std::wstring::npos) end = buffer.size();
        const std::wstring line = trimmed(buffer.substr(start, end - start));
        const size_t equals = line.find(L'=');
        if (equals != std::wstring::npos && line[0] != L';')
            entries.emplace_back(trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)));
        start = end + 1;
    }
    return entries;
}

void IniFile::writeSection(const std::wstring& name, const IniEntries& entries) const
{
    std::wstring text;
    for (const auto& [key, value] : entries) text += key + L"=" + value + L'\0';
    text += L'\0';
    if (!WritePrivateProfileSectionW(name.c_str(), text.c_str(), path_.c_str()))
        throw tallow::ComError(tallow::lastErrorResult());
}

}  // namespace sample_server
