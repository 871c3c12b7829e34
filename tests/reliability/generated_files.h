// XML files of the three kinds the standalone library reads, generated at
// random with what people do to such files by hand, together with what a
// correct reader finds in them; and the ways bytes of a file get damaged.
#pragma once

#include "xml_text.h"

#include <map>
#include <string>
#include <vector>

namespace reliability {

// What stands in a file before its root element, and whether a reader
// takes the root as the document's first node behind it.
struct Prelude {
    std::string what;
    std::string bytes;
    bool rootIsFirstNode;
};
const std::vector<Prelude>& preludes();

// A project file and the texts of each element the library reads ("Name",
// "Comment", "Location", "TestAssetPath"), one per element, in document order.
struct ProjectFileContent {
    std::string bytes;
    bool loads = true;
    std::map<std::string, std::vector<std::wstring>> texts;
};
ProjectFileContent generateProjectFile(Random& random, bool huge);

// The text of the file's one element `tag` in the ANSI code page, whole; the
// empty text when the file holds no such element or more than one.
std::string singleElementText(const ProjectFileContent& file, const char* tag);

// What the library's login makes of a project file, as the rules of the
// project file say: the result, and the texts of the ProjectInfo fields in
// the ANSI code page (names cut to 255 bytes, comments and folders to 259).
struct ExpectedProject {
    int result;
    std::string name;
    std::string comment;
    std::string location;
    std::string assetRoot;
};
ExpectedProject expectedProject(const ProjectFileContent& file);

// A table file: the project registry or the asset-manager file.
struct TableKind {
    const char* root;                    // "RegisteredProjects", "AssetManager"
    const char* entry;                   // "Project", "Mode"
    std::vector<const char*> attributes; // in the order the library writes them
};
extern const TableKind registryTable;
extern const TableKind assetManagerTable;

// A table whose entries bear some of the attributes, in any order, with
// values that often repeat one another or differ only in case; entries may
// lie deeper than the root, and other elements stand between them.
std::string generateTable(Random& random, const TableKind& kind, bool huge);
// A value that the table generator also uses, so that look-ups often hit.
std::wstring likelyValue(Random& random);

// Damages `bytes` in one to three ways (cut, flipped, inserted, removed,
// repeated or swapped bytes, stray markup) and says how.
std::string damaged(std::string bytes, Random& random, std::string& how);

}  // namespace reliability
