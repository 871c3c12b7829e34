// The store's operations on whole XML files: load, save, and the reads and
// removal built on the elements found by tag name.
#include "project_store.h"

#include "result_codes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tallow {
namespace {

// A file beside `path` that no other thread saves to at the same time.
std::string temporaryPathBeside(const char* path)
{
    char suffix[32];
    snprintf(suffix, sizeof suffix, ".%lx-%lx.tmp", GetCurrentProcessId(), GetCurrentThreadId());
    return std::string(path) + suffix;
}

}  // namespace

bool ProjectStore::loadDocument(const char* path)
{
    return xmlDocument_.load(path);
}

// The document goes to a temporary file beside the target, which then takes
// the target's place in one step: a crash or a full disk during the save
// leaves the old file whole. A failed save leaves the old file and no
// temporary file behind. The empty path names no file and is refused before
// anything is written, and so is a read-only file: a rename may replace one
// where a write is refused, and a file marked read-only is to stay as it is.
void ProjectStore::saveDocument(const char* path)
{
    if (!path) throw ComError(E_POINTER);
    if (!*path) throw ComError(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        throw ComError(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    const std::string temporary = temporaryPathBeside(path);
    try {
        xmlDocument_.save(temporary.c_str());
        if (!MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throw ComError(lastErrorResult());
    } catch (const ComError&) {
        DeleteFileA(temporary.c_str());
        throw;
    }
}

int ProjectStore::readUniqueElementText(const char* tag, TextBuffer& out)
{
    xmlDocument_.findElementsByTag(tag);
    if (xmlDocument_.listLength() != 1) return result::no;
    xmlDocument_.readElementText(xmlDocument_.listItem(0), out);
    return result::done;
}

int ProjectStore::countElements(const char* path, const char* tag)
{
    if (!loadDocument(path)) return result::fileDoesNotLoad;
    xmlDocument_.findElementsByTag(tag);
    return static_cast<int>(xmlDocument_.listLength());
}

// Each value is cut to 255 bytes. One value buffer serves the whole walk and is
// not emptied between elements: an element without the attribute receives
// the value of the one before it. Entries past `capacity` are never written.
int ProjectStore::listAttributeValues(const char* path, const char* tag, const char* attribute, ListEntry* entries,
                                      int capacity)
{
    if (!loadDocument(path)) return result::fileDoesNotLoad;
    char value[nameSize] = "";
    TextBuffer valueBuffer = textBuffer(value);
    xmlDocument_.findElementsByTag(tag);
    const long count = xmlDocument_.listLength();
    if (count <= 0) return result::no;
    const long written = entries ? std::min<long>(count, capacity) : 0;
    for (long i = 0; i < written; ++i) {
        xmlDocument_.readAttributeValue(xmlDocument_.listItem(i), attribute, valueBuffer);
        TextBuffer entry{entries[i].text, nameSize, false};
        copyText(entry, value);
    }
    return result::done;
}

// Walks the elements as removeElementByAttribute does: one buffer carried
// over elements that lack the attribute, and a cut value matches nothing.
int ProjectStore::containsAttributeValue(const char* tag, const char* attribute, const char* value)
{
    char current[nameSize] = "";
    TextBuffer currentBuffer = textBuffer(current);
    xmlDocument_.findElementsByTag(tag);
    const long count = xmlDocument_.listLength();
    for (long i = 0; i < count; ++i) {
        xmlDocument_.readAttributeValue(xmlDocument_.listItem(i), attribute, currentBuffer);
        if (!currentBuffer.cut && strcmp(current, value) == 0) return result::done;
    }
    return result::no;
}

// A value cut to fit the 256-byte buffer matches nothing, so a long value is
// never taken for a shorter one that shares its first 255 bytes. A root that
// bears the tag is passed over: taking it out would save an empty file and
// lose every other element; the walk goes on to the next match.
int ProjectStore::removeElementByAttribute(const char* tag, const char* attribute, const char* value,
                                           const char* savePath)
{
    char current[nameSize] = "";
    TextBuffer currentBuffer = textBuffer(current);
    xmlDocument_.findElementsByTag(tag);
    const long count = xmlDocument_.listLength();
    if (count <= 0) return result::no;
    for (long i = 0; i < count; ++i) {
        const Element element = xmlDocument_.listItem(i);
        xmlDocument_.readAttributeValue(element, attribute, currentBuffer);
        if (!currentBuffer.cut && value && strcmp(current, value) == 0 && xmlDocument_.removeElement(element)) {
            saveDocument(savePath);
            break;
        }
    }
    return result::done;
}

}  // namespace tallow
