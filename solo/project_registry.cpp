// The project registry: one "Project" element per registered project, with the
// attributes "Name", "Comment" and "Location" taken from its project file.
#include "file_lock.h"
#include "result_codes.h"
#include "store_functions.h"

#include <cstring>

namespace tallow {

void ProjectStore::ensureRegistryFile()
{
    const FileLock lock(registeredProjectsPath_);
    if (pathExists(registeredProjectsPath_)) return;
    xmlDocument_.createRootElement("RegisteredProjects");
    saveDocument(registeredProjectsPath_);
}

// Values are refused rather than cut: a cut name or folder would register a
// project that does not exist. A name must fit the 256-byte buffers that
// look-up and removal read names into, so that every registered project can
// be found and removed again.
int ProjectStore::registerProject(const char* projectFilePath)
{
    if (!projectFilePath) return result::missingArgument;
    const FileLock lock(registeredProjectsPath_);
    ensureRegistryFile();
    if (!loadDocument(projectFilePath)) return result::fileDoesNotLoad;

    char name[folderSize] = "";
    char comment[folderSize] = "";
    char location[folderSize] = "";
    TextBuffer nameText = textBuffer(name);
    TextBuffer commentText = textBuffer(comment);
    TextBuffer locationText = textBuffer(location);
    readUniqueElementText("Name", nameText);
    readUniqueElementText("Comment", commentText);
    readUniqueElementText("Location", locationText);
    if (nameText.cut || commentText.cut || locationText.cut || strlen(name) >= nameSize)
        return result::valueTooLong;

    if (findProject(name) != result::no) return result::projectRegistered;
    xmlDocument_.appendChildElement(xmlDocument_.rootElement(), "Project", "");
    const Element entry = xmlDocument_.currentElement();
    xmlDocument_.setAttributeValue(entry, "Name", name);
    xmlDocument_.setAttributeValue(entry, "Comment", comment);
    xmlDocument_.setAttributeValue(entry, "Location", location);
    saveDocument(registeredProjectsPath_);
    return result::done;
}

int ProjectStore::findProject(const char* projectName)
{
    if (!projectName) return result::missingArgument;
    const FileLock lock(registeredProjectsPath_);
    if (!loadDocument(registeredProjectsPath_)) return result::fileDoesNotLoad;
    return containsAttributeValue("Project", "Name", projectName);
}

// A registry that does not load holds no entry to remove: the result is 1 and
// nothing is written, even when the file parsed into the document (one that
// begins with a declaration, say).
int ProjectStore::removeProject(const char* projectName)
{
    if (!projectName) return result::missingArgument;
    const FileLock lock(registeredProjectsPath_);
    const int found = findProject(projectName);
    if (found == result::no) return result::projectNotRegistered;
    if (found == result::done)
        removeElementByAttribute("Project", "Name", projectName, registeredProjectsPath_);
    return result::done;
}

// 105 stands for a registry that does not load and for one of 105 entries.
int ProjectStore::countProjects()
{
    const FileLock lock(registeredProjectsPath_);
    return countElements(registeredProjectsPath_, "Project");
}

// The count and the names come from one look at the registry: no registration
// can come between them. Entries past `capacity` are never written; a count
// above the capacity tells the caller that the registry has grown since it
// last counted. A listing of a registry that does not load answers 105, so
// that it is not taken for a listing of 105 names.
int ProjectStore::listProjects(ListEntry* entries, int capacity, int* count)
{
    if (!count) return result::missingArgument;
    const FileLock lock(registeredProjectsPath_);
    *count = countProjects();
    if (!entries) return result::done;
    const int listed = listAttributeValues(registeredProjectsPath_, "Project", "Name", entries, capacity);
    if (listed == result::no) return result::noEntries;
    return listed;
}

int registerProjectFile(const char* projectFilePath)
{
    ProjectStore store;
    return store.registerProject(projectFilePath);
}

int unregisterProject(const char* projectName)
{
    ProjectStore store;
    return store.removeProject(projectName);
}

int getRegisteredProjects(ListEntry* entries, int capacity, int* count)
{
    if (!count) return result::missingArgument;
    ProjectStore store;
    return store.listProjects(entries, capacity, count);
}

}  // namespace tallow
