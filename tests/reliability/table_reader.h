// The entries of a table file (the project registry or the asset-manager
// file) as the platform's DOM reads them, without the library, so that a test
// can tell what an operation kept, added or lost; and the rules by which the
// library's look-ups and listings walk those entries.
#pragma once

#include "generated_files.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace reliability {

// One entry element: its attributes and their values.
using TableEntry = std::map<std::wstring, std::wstring>;

struct TableContent {
    bool loads = false;  // the file's first node is its root element
    std::vector<TableEntry> entries;  // every element of the entry tag, in document order
    bool rootIsEntry = false;  // the root bears the entry tag: it is the first entry
};

TableContent readTable(const std::string& path, const TableKind& kind);

// The value of `attribute` that a walk over the entries sees at each entry
// (in the ANSI code page, cut to 255 bytes): an entry without the attribute
// shows the value of the entry before it, the first such the empty text.
struct WalkedValue {
    std::string text;
    bool cut;
};
std::vector<WalkedValue> walkedValues(const std::vector<TableEntry>& entries, const std::wstring& attribute);

// The first entry whose walked value equals `wanted` exactly; a value that
// had to be cut matches nothing.
std::optional<size_t> firstMatch(const std::vector<TableEntry>& entries, const std::wstring& attribute,
                                 const std::string& wanted);

// The entry a removal of `wanted` takes out: the first that matches, passing
// over the root, which is never taken out of its file.
std::optional<size_t> firstRemovable(const TableContent& table, const std::wstring& attribute,
                                     const std::string& wanted);

// "[Name=Demo Comment=] [..]" for messages.
std::string describe(const std::vector<TableEntry>& entries);

}  // namespace reliability
