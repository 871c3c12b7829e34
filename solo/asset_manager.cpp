// The asset-manager file: the install directory's table of modes, one "Mode"
// element per mode with the attributes "Library" and "DisplayName".
#include "file_lock.h"
#include "registry_lookup.h"
#include "result_codes.h"
#include "store_functions.h"

#include <cstring>

namespace tallow {

int ProjectStore::ensureAssetManagerFile()
{
    const FileLock lock(assetManagerPath_);
    if (pathExists(assetManagerPath_)) return result::done;
    xmlDocument_.createRootElement("AssetManager");
    saveDocument(assetManagerPath_);
    return result::done;
}

// Values longer than the 256-byte buffers the table is read into are refused
// before any file is touched: a cut value would never be found again, so the
// table could take the same library twice.
int ProjectStore::addMode(const char* library, const char* displayName)
{
    if (!library || !displayName) return result::missingArgument;
    if (strlen(library) >= nameSize || strlen(displayName) >= nameSize) return result::valueTooLong;
    char installDirectory[folderSize] = {};
    if (!readInstallDirectory(installDirectory)) return result::noInstallDirectory;
    setAssetManagerPath(installDirectory);

    const FileLock lock(assetManagerPath_);
    ensureAssetManagerFile();
    // A directory of at most 255 bytes and a name of at most 255 always fit.
    char libraryPath[storePathSize] = {};
    composePath(textBuffer(libraryPath), {installDirectory, "\\", library});
    if (!pathExists(libraryPath)) return result::libraryMissing;
    if (findMode(library, modeLibrary) != result::no) return result::modeInTable;
    if (findMode(displayName, modeDisplayName) != result::no) return result::modeInTable;

    xmlDocument_.appendChildElement(xmlDocument_.rootElement(), "Mode", "");
    const Element mode = xmlDocument_.currentElement();
    xmlDocument_.setAttributeValue(mode, "Library", library);
    xmlDocument_.setAttributeValue(mode, "DisplayName", displayName);
    saveDocument(assetManagerPath_);
    return result::done;
}

// A selector other than modeLibrary and modeDisplayName names no field of a
// mode, so nothing matches it: the result is 0 once the file has loaded.
int ProjectStore::findMode(const char* value, int field)
{
    if (!value) return result::missingArgument;
    const FileLock lock(assetManagerPath_);
    if (!loadDocument(assetManagerPath_)) return result::fileDoesNotLoad;
    const char* attribute = field == modeLibrary       ? "Library"
                            : field == modeDisplayName ? "DisplayName"
                                                       : nullptr;
    if (!attribute) return result::no;
    return containsAttributeValue("Mode", attribute, value);
}

// As with the registry, the count and the names come from one look at the
// file, and entries past `capacity` are never written.
int ProjectStore::listModes(ListEntry* entries, int capacity, int* count)
{
    if (!count) return result::missingArgument;
    const FileLock lock(assetManagerPath_);
    *count = countElements(assetManagerPath_, "Mode");
    if (!entries) return result::done;
    return listAttributeValues(assetManagerPath_, "Mode", "DisplayName", entries, capacity);
}

// A file that does not load holds no mode to remove: the result is 0 and
// nothing is written, even when the file parsed into the document.
int ProjectStore::removeMode(const char* displayName)
{
    if (!displayName) return result::missingArgument;
    const FileLock lock(assetManagerPath_);
    const int found = findMode(displayName, modeDisplayName);
    if (found == result::no) return result::modeNotInTable;
    if (found != result::done) return result::no;
    return removeElementByAttribute("Mode", "DisplayName", displayName, assetManagerPath_);
}

}  // namespace tallow
