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

    // --- The project file ---------------------------------------------------

    // Replaces the record in *info with a new one filled from the project
    // file: 1 opened, 105 the file does not load, 118 no single usable
    // "TestAssetPath", 100 `info` is null.
    int openProject(const char* path, ProjectInfo** info);
    // Writes folder\projectName.project with root "Project" and one child per
    // entry: 1 written; 0 name or folder null, or the path too long.
    int writeProjectFile(const char* projectName, const char* folder, const ProjectFileEntry* entries, int count);

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
    XmlDocument xmlDocument_;
    char registeredProjectsPath_[storePathSize] = {};
    char assetManagerPath_[storePathSize] = {};
    char projectFilePath_[storePathSize] = {};
};

}  // namespace tallow
