// The standalone library's object over everything it keeps on disk: one XML
// document and the paths of the install directory's two configuration files.
// A store is made for one operation and discarded after it; nothing reaches a
// file except through saveDocument.
#pragma once

#include "host_records.h"
#include "text_buffer.h"
#include "xml_document.h"

namespace tallow {

// Bytes of the store's path fields.
constexpr size_t storePathSize = 516;
// Bytes of the buffer a project file's path is composed in.
constexpr size_t projectFilePathSize = 512;
// Bytes of the buffers names and attribute values are read into.
constexpr size_t nameSize = 256;
// Bytes of the buffers comments and folders are read into.
constexpr size_t folderSize = 260;

// Field selectors of findMode.
constexpr int modeLibrary = 100;
constexpr int modeDisplayName = 101;

// Entry of the arrays that list values out of an XML file.
struct ListEntry {
    void* callerWord;  // the caller's own; never read or written here
    char* text;        // caller's buffer of at least 256 bytes
};
static_assert(sizeof(ListEntry) == 8, "ListEntry is two 32-bit fields");

// One element of a project file: element name and text.
struct ProjectFileEntry {
    const char* key;
    const char* value;
};
static_assert(sizeof(ProjectFileEntry) == 8, "ProjectFileEntry is two 32-bit fields");

class ProjectStore {
public:
    // Builds the document and looks the install directory up; a missing
    // install directory leaves both configuration paths empty.
    ProjectStore();
    virtual ~ProjectStore();
    ProjectStore(const ProjectStore&) = delete;
    ProjectStore& operator=(const ProjectStore&) = delete;

    // --- The project file ----------------------------------------------------

    // Replaces the record in *info with a new one filled from the project
    // file: 1 opened, 105 the file does not load, 118 no single usable
    // "TestAssetPath", 100 `info` is null.
    int openProject(const char* path, ProjectInfo** info);
    // Writes folder\projectName.project with root "Project" and one child per
    // entry: 1 written; 0 name or folder null, or the path too long.
    int writeProjectFile(const char* projectName, const char* folder, const ProjectFileEntry* entries, int count);

    // --- The project registry (RegisteredProjects.xml) -----------------------
    // Every operation holds the registry file's lock while it works on it.

    // Creates the registry with an empty root when nothing is at its path.
    void ensureRegistryFile();
    // Adds an entry for the project file's "Name", "Comment" and "Location":
    // 1 done; 100 path null; 105 the project file does not load; 106 the name
    // is registered (or the registry does not load); 120 a value longer than
    // the registry carries whole.
    int registerProject(const char* projectFilePath);
    // 1 the name is registered; 0 it is not; 105 the registry does not load;
    // 100 name null.
    int findProject(const char* projectName);
    // Removes the first entry of that name: 1 done (also when the registry
    // does not load); 100 name null; 107 not registered.
    int removeProject(const char* projectName);
    // Number of entries; 105 when the registry does not load.
    int countProjects();
    // *count := countProjects(). With entries, copies the names into at most
    // `capacity` of them: 1 listed; 119 no entry; 105 the registry does not
    // load. 100 count null.
    int listProjects(ListEntry* entries, int capacity, int* count);

    // --- The asset-manager file (AssetManager.xml) ---------------------------
    // Every operation holds the asset-manager file's lock while it works on it.

    // Creates the file with an empty root when nothing is at its path; 1.
    int ensureAssetManagerFile();
    // Appends a mode: 1 done; 100 an argument null; 108 no install directory;
    // 109 the library is not in the install directory; 111 the library or the
    // display name is in the table (or the file does not load); 120 a value
    // longer than 255 bytes.
    int addMode(const char* library, const char* displayName);
    // Looks `value` up in the field chosen by `field` (modeLibrary or
    // modeDisplayName): 1 found; 0 not found; 105 the file does not load;
    // 100 value null.
    int findMode(const char* value, int field);
    // *count := number of modes (105 when the file does not load). With
    // entries, copies the display names into at most `capacity` of them: 1
    // listed; 0 no mode; 105 the file does not load. 100 count null.
    int listModes(ListEntry* entries, int capacity, int* count);
    // Removes the mode of that display name: 1 done; 0 the file holds no mode
    // (or does not load); 112 no such mode; 100 display name null.
    int removeMode(const char* displayName);

    // --- Project creation ----------------------------------------------------

    // Makes the asset tree under `assetRoot` and records it as the project
    // file's last element "TestAssetPath": 1 done; 100 path null; 105 the
    // file does not load; 115 it records an asset root already; 116 the tree
    // was not made.
    int setTestAssetPath(const char* projectFilePath, const char* assetRoot);
    // 1 if the loaded document holds an element `tag`, else 0.
    int hasElement(const char* tag);

    // --- Configuration file paths --------------------------------------------

    void setRegisteredProjectsPath(const char* installDirectory);
    void setAssetManagerPath(const char* installDirectory);
    const char* registeredProjectsPath() const { return registeredProjectsPath_; }
    const char* assetManagerPath() const { return assetManagerPath_; }
    const char* projectFilePath() const { return projectFilePath_; }

    // --- Documents -----------------------------------------------------------

    // Loads the file into the document: true if it has a root element.
    bool loadDocument(const char* path);
    // Saves the document to `path`; a failure raises.
    void saveDocument(const char* path);
    // 1 if the loaded document holds exactly one element `tag` (its text, if
    // any, copied into `out`); 0 otherwise with `out` untouched.
    int readUniqueElementText(const char* tag, TextBuffer& out);
    // Number of elements `tag` in the file; 105 if it does not load.
    int countElements(const char* path, const char* tag);
    // Copies attribute `attribute` of each element `tag` of the file into the
    // entries, at most `capacity` of them: 1 listed, 0 no such element, 105
    // the file does not load.
    int listAttributeValues(const char* path, const char* tag, const char* attribute, ListEntry* entries,
                            int capacity);
    // Removes the first element `tag` of the loaded document whose attribute
    // equals `value` and saves to `savePath`: 1 if any element `tag` exists,
    // 0 if none does.
    int removeElementByAttribute(const char* tag, const char* attribute, const char* value, const char* savePath);

    XmlDocument& xmlDocument() { return xmlDocument_; }

private:
    // 1 if an element `tag` of the loaded document has `attribute` equal to
    // `value`, else 0.
    int containsAttributeValue(const char* tag, const char* attribute, const char* value);

    XmlDocument xmlDocument_;
    char registeredProjectsPath_[storePathSize] = {};
    char assetManagerPath_[storePathSize] = {};
    char projectFilePath_[storePathSize] = {};
};

}  // namespace tallow
