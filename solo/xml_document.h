// One document of the platform's XML DOM service and the three positions the
// store keeps in it: the root element, the element made last and the element
// list found last. Text is narrow (ANSI code page) on this side and UTF-16 in
// the DOM; every string is converted at the call.
//
// Failures of the DOM travel as ComError. createRootElement,
// appendChildElement and setAttributeValue catch them; every other operation
// lets them pass. Without a DOM document (the service could not be created)
// each operation that needs it raises E_POINTER.
#pragma once

#include "com_error.h"
#include "text_buffer.h"

#include <msxml.h>

namespace tallow {

using Element = ComPtr<IXMLDOMElement>;

class XmlDocument {
public:
    // Creates the DOM document; a failure leaves it null and is not reported.
    XmlDocument();
    virtual ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Appends a new element `name` to the document as its root; always 1.
    int createRootElement(const char* name);
    // Appends a new element `name` to `parent` as its last child, with `text`
    // unless that is empty (a null text adds no element); 1 done, 0 failed.
    int appendChildElement(Element parent, const char* name, const char* text);
    // Sets attribute `name` of `element` to `value`; failures are dropped.
    void setAttributeValue(Element element, const char* name, const char* value);
    // Copies the value of attribute `name` into `out` (cut to fit): 1 if the
    // element has the attribute, else 0 with `out` untouched.
    int readAttributeValue(Element element, const char* name, TextBuffer& out);
    // Copies the text of all descendant text nodes into `out` (cut to fit):
    // 1 if there is any, else 0 with `out` untouched.
    int readElementText(Element element, TextBuffer& out);
    // currentList := every element called exactly `tag`, in document order.
    void findElementsByTag(const char* tag);

    // Replaces the whole content with the file at `path` (a file that does not
    // load leaves the document empty) and takes its first child node as the
    // root element: true when that is an element.
    bool load(const char* path);
    // Writes the document to `path`, creating or replacing the file.
    void save(const char* path);
    // Length of currentList; 0 without a list or when it cannot be read.
    long listLength() const;
    // Item `index` of currentList as an element; null when there is none.
    Element listItem(long index) const;
    // Takes `element` out of its parent: true when done. The document's root
    // element is never taken out (the file would lose everything it holds),
    // and the answer for it is false.
    bool removeElement(Element element);

    const Element& rootElement() const { return rootElement_; }
    const Element& currentElement() const { return currentElement_; }

private:
    Element createElement(const char* name);
    // Replaces the content with the document in `contents`: true when it
    // parsed; false, with the content as it was, when it did not.
    bool parse(const ComPtr<IStream>& contents);
    // Removes every node of the document.
    void clearContent();

    // Declared in this order so that they are released in the reverse one:
    // list, current element, root element, document.
    ComPtr<IXMLDOMDocument> document_;
    Element rootElement_;
    Element currentElement_;
    ComPtr<IXMLDOMNodeList> currentList_;
};

}  // namespace tallow
