#include "pe_tables.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace testing_support {
namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}

class PeImage {
public:
    explicit PeImage(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        if (!in) throw std::runtime_error("cannot read " + file);
        bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const auto* dos = at<IMAGE_DOS_HEADER>(0);
        if (dos->e_magic != IMAGE_DOS_SIGNATURE) throw std::runtime_error("not a PE file: " + file);
        headers_ = at<IMAGE_NT_HEADERS32>(static_cast<size_t>(dos->e_lfanew));
        if (headers_->Signature != IMAGE_NT_SIGNATURE ||
            headers_->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
            throw std::runtime_error("not a PE32 file: " + file);
    }

    bool isI386() const { return headers_->FileHeader.Machine == IMAGE_FILE_MACHINE_I386; }

    const IMAGE_DATA_DIRECTORY& directory(int index) const { return headers_->OptionalHeader.DataDirectory[index]; }

    template <class T>
    const T* atRva(DWORD rva) const { return at<T>(offsetOf(rva)); }
    std::string textAt(DWORD rva) const { return std::string(atRva<char>(rva)); }

private:
    template <class T>
    const T* at(size_t offset) const
    {
        if (offset + sizeof(T) > bytes_.size()) throw std::runtime_error("PE file cut short");
        return reinterpret_cast<const T*>(bytes_.data() + offset);
    }

    size_t offsetOf(DWORD rva) const
    {
        const auto* section = IMAGE_FIRST_SECTION(headers_);
        for (WORD i = 0; i < headers_->FileHeader.NumberOfSections; ++i, ++section) {
            const DWORD size = std::max(section->Misc.VirtualSize, section->SizeOfRawData);
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + size)
                return rva - section->VirtualAddress + section->PointerToRawData;
        }
        throw std::runtime_error("address outside every section");
    }

    std::vector<char> bytes_;
    const IMAGE_NT_HEADERS32* headers_ = nullptr;
};

template <class Visit>
void forEachImport(const PeImage& image, Visit visit)
{
    const auto& dir = image.directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (dir.VirtualAddress == 0) return;
    for (const auto* d = image.atRva<IMAGE_IMPORT_DESCRIPTOR>(dir.VirtualAddress); d->Name != 0; ++d) visit(*d);
}

}  // namespace

std::set<std::string> exportedNames(const std::string& file)
{
    const PeImage image(file);
    if (!image.isI386()) throw std::runtime_error("not an i386 image: " + file);
    std::set<std::string> names;
    const auto& dir = image.directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (dir.VirtualAddress == 0) return names;
    const auto* exports = image.atRva<IMAGE_EXPORT_DIRECTORY>(dir.VirtualAddress);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.insert(image.textAt(image.atRva<DWORD>(exports->AddressOfNames + i * sizeof(DWORD))[0]));
    return names;
}

std::set<std::string> importedModules(const std::string& file)
{
    const PeImage image(file);
    std::set<std::string> modules;
    forEachImport(image, [&](const IMAGE_IMPORT_DESCRIPTOR& d) { modules.insert(lower(image.textAt(d.Name))); });
    return modules;
}

std::set<std::string> importedNames(const std::string& file, const std::string& module)
{
    const PeImage image(file);
    std::set<std::string> names;
    forEachImport(image, [&](const IMAGE_IMPORT_DESCRIPTOR& d) {
        if (lower(image.textAt(d.Name)) != lower(module)) return;
        DWORD thunk = d.OriginalFirstThunk ? d.OriginalFirstThunk : d.FirstThunk;
        for (;; thunk += sizeof(DWORD)) {
            const DWORD entry = *image.atRva<DWORD>(thunk);
            if (entry == 0) break;
            if (entry & IMAGE_ORDINAL_FLAG32)
                names.insert("#" + std::to_string(entry & 0xffff));
            else
                names.insert(image.atRva<IMAGE_IMPORT_BY_NAME>(entry)->Name);
        }
    });
    return names;
}

std::string besideProgram(const std::string& name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + name;
}

}  // namespace testing_support
