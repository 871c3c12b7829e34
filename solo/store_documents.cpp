// The store's operations on whole XML files: load, save, and the reads and
// removal built on the elements found by tag name.
#include "project_store.h"

#include "result_codes.h"

#include <algorithm>
#include <cstring>

namespace tallow {

bool ProjectStore::loadDocument(const char* path)
{
    return xmlDocument_.load(path);
}

void ProjectStore::saveDocument(const char* path)
{
    xmlDocument_.save(path);
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

// A value cut to fit the 256-byte buffer matches nothing, so a long value is
// never taken for a shorter one that shares its first 255 bytes.
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
        if (!currentBuffer.cut && value && strcmp(current, value) == 0) {
            xmlDocument_.removeElement(element);
            saveDocument(savePath);
            break;
        }
    }
    return result::done;
}

}  // namespace tallow
