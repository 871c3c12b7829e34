// The platform's own calls, made without the libraries: the floors that the
// libraries' operations are measured against.
#pragma once

#include "com_ptr.h"

#include <msxml.h>

#include <string>

namespace bench {

using tallow::Bstr;
using tallow::ComPtr;

// A DOM document made as the store makes its own: CoCreateInstance of the
// DOMDocument class (context 7), OleRun, QueryInterface for IXMLDOMDocument.
ComPtr<IXMLDOMDocument> createDocument();

class BareDocument {
public:
    BareDocument();
    // load() of the file by its path; true when the DOM says it loaded.
    bool loadByPath(const std::string& path);
    // load() of a stream over the file (SHCreateStreamOnFileA).
    bool loadFromStream(const std::string& path);
    void save(const std::string& path);
    // getElementsByTagName and the list's length: what every look-up by tag
    // asks of the DOM before it reads an element.
    long search(const wchar_t* tag);
    // For each element of the last search: get_item, the element interface,
    // getAttributeNode and get_value.
    void readEach(const wchar_t* attribute);

private:
    ComPtr<IXMLDOMDocument> document_;
    ComPtr<IXMLDOMNodeList> list_;
};

// Opens the file, reads all of it and closes it; the number of bytes read.
size_t readWholeFile(const std::string& path);

}  // namespace bench
