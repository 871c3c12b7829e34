#include "xml_document.h"

#include "ansi_text.h"
#include "file_contents.h"

namespace tallow {
namespace {

// The platform's DOMDocument class.
constexpr CLSID domDocumentClass = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

ComPtr<IXMLDOMDocument> createDomDocument()
{
    ComPtr<IUnknown> object;
    if (FAILED(CoCreateInstance(domDocumentClass, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(object.put()))))
        return nullptr;
    if (FAILED(OleRun(object.get()))) return nullptr;
    ComPtr<IXMLDOMDocument> document;
    if (FAILED(object.query(IID_IXMLDOMDocument, document))) return nullptr;
    return document;
}

// A node as an element: null when there is no node or it is not an element.
Element asElement(const ComPtr<IXMLDOMNode>& node)
{
    Element element;
    if (!node) return element;
    const HRESULT hr = node.query(IID_IXMLDOMElement, element);
    if (hr == E_NOINTERFACE) return nullptr;
    check(hr, node.get(), &IID_IXMLDOMNode);
    return element;
}

// A BSTR for text that must be there; a null pointer is a missing object.
Bstr requiredBstr(const char* text)
{
    if (!text) throw ComError(E_POINTER);
    return bstrFromAnsi(text);
}

// A VARIANT that borrows `text` as its BSTR; the caller keeps ownership.
VARIANT bstrArgument(const Bstr& text)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = text.get();
    return argument;
}

}  // namespace

XmlDocument::XmlDocument() : document_(createDomDocument()) {}

XmlDocument::~XmlDocument() = default;

Element XmlDocument::createElement(const char* name)
{
    if (!document_) throw ComError(E_POINTER);
    const Bstr tag = requiredBstr(name);
    const Bstr noNamespace = bstrFromAnsi("");
    VARIANT type;
    VariantInit(&type);
    type.vt = VT_I4;
    type.lVal = NODE_ELEMENT;
    ComPtr<IXMLDOMNode> node;
    check(document_->createNode(type, tag.get(), noNamespace.get(), node.put()), document_.get(),
          &IID_IXMLDOMDocument);
    Element element = asElement(node);
    if (!element) throw ComError(E_NOINTERFACE);
    return element;
}

int XmlDocument::createRootElement(const char* name)
{
    try {
        Element element = createElement(name);
        rootElement_ = element;
        currentElement_ = element;
        // A document holds one root. Some DOM services accept a second
        // top-level element, so a document with content refuses it here.
        ComPtr<IXMLDOMNode> first;
        check(document_->get_firstChild(first.put()), document_.get(), &IID_IXMLDOMDocument);
        if (first) throw ComError(E_FAIL);
        ComPtr<IXMLDOMNode> appended;
        check(document_->appendChild(element.get(), appended.put()), document_.get(), &IID_IXMLDOMDocument);
    } catch (const ComError&) {
        // The new element stays outside the document.
    }
    return 1;
}

int XmlDocument::appendChildElement(Element parent, const char* name, const char* text)
{
    try {
        Element element = createElement(name);
        currentElement_ = element;
        if (!text) throw ComError(E_POINTER);
        if (*text) element->put_text(bstrFromAnsi(text).get());
        if (!parent) throw ComError(E_POINTER);
        ComPtr<IXMLDOMNode> appended;
        check(parent->appendChild(element.get(), appended.put()), parent.get(), &IID_IXMLDOMNode);
        return 1;
    } catch (const ComError&) {
        return 0;
    }
}

void XmlDocument::setAttributeValue(Element element, const char* name, const char* value)
{
    if (!element) return;
    try {
        const Bstr attribute = requiredBstr(name);
        const Bstr text = requiredBstr(value);
        check(element->setAttribute(attribute.get(), bstrArgument(text)), element.get(), &IID_IXMLDOMElement);
    } catch (const ComError&) {
        // The element keeps the attributes it had.
    }
}

int XmlDocument::readAttributeValue(Element element, const char* name, TextBuffer& out)
{
    if (!element || !name || !out.text) return 0;
    ComPtr<IXMLDOMAttribute> attribute;
    check(element->getAttributeNode(bstrFromAnsi(name).get(), attribute.put()), element.get(),
          &IID_IXMLDOMElement);
    if (!attribute) return 0;
    Variant value;
    attribute->get_value(value.put());
    copyText(out, value.get().vt == VT_BSTR ? ansiFromBstr(value.get().bstrVal) : std::string());
    return 1;
}

int XmlDocument::readElementText(Element element, TextBuffer& out)
{
    if (!out.text) return 0;
    if (!element) throw ComError(E_POINTER);
    Bstr text;
    element->get_text(text.put());
    const std::string narrow = ansiFromBstr(text.get());
    if (narrow.empty()) return 0;
    copyText(out, narrow);
    return 1;
}

void XmlDocument::findElementsByTag(const char* tag)
{
    if (!document_) throw ComError(E_POINTER);
    ComPtr<IXMLDOMNodeList> list;
    check(document_->getElementsByTagName(requiredBstr(tag).get(), list.put()), document_.get(),
          &IID_IXMLDOMDocument);
    currentList_ = list;
}

// The file is read whole and parsed from memory. The DOM's load by path goes
// through the URL machinery instead, which costs ten times the parse and reads
// "%41" in a file name as "A". A file that cannot be read, or whose bytes do
// not parse, leaves the document empty; only exhausted memory raises.
bool XmlDocument::load(const char* path)
{
    if (!document_) throw ComError(E_POINTER);
    const Bstr file = requiredBstr(path);
    if (!parse(fileContents(file.get()))) clearContent();
    ComPtr<IXMLDOMNode> first;
    check(document_->get_firstChild(first.put()), document_.get(), &IID_IXMLDOMDocument);
    rootElement_ = asElement(first);
    return static_cast<bool>(rootElement_);
}

bool XmlDocument::parse(const ComPtr<IStream>& contents)
{
    if (!contents) return false;
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_UNKNOWN;
    source.punkVal = contents.get();
    VARIANT_BOOL loaded = VARIANT_FALSE;
    const HRESULT hr = document_->load(source, &loaded);
    if (hr == E_OUTOFMEMORY) check(hr, document_.get(), &IID_IXMLDOMDocument);
    return hr == S_OK && loaded == VARIANT_TRUE;
}

// A parse that fails leaves the document as it was; a file that does not load
// must leave it empty.
void XmlDocument::clearContent()
{
    for (;;) {
        ComPtr<IXMLDOMNode> child;
        check(document_->get_firstChild(child.put()), document_.get(), &IID_IXMLDOMDocument);
        if (!child) return;
        ComPtr<IXMLDOMNode> removed;
        check(document_->removeChild(child.get(), removed.put()), document_.get(), &IID_IXMLDOMDocument);
    }
}

void XmlDocument::save(const char* path)
{
    if (!document_) throw ComError(E_POINTER);
    const Bstr file = requiredBstr(path);
    check(document_->save(bstrArgument(file)), document_.get(), &IID_IXMLDOMDocument);
}

long XmlDocument::listLength() const
{
    long length = 0;
    if (currentList_) currentList_->get_length(&length);
    return length;
}

Element XmlDocument::listItem(long index) const
{
    if (!currentList_) return nullptr;
    ComPtr<IXMLDOMNode> node;
    currentList_->get_item(index, node.put());
    return asElement(node);
}

bool XmlDocument::removeElement(Element element)
{
    if (!element) throw ComError(E_POINTER);
    ComPtr<IXMLDOMNode> parent;
    check(element->get_parentNode(parent.put()), element.get(), &IID_IXMLDOMNode);
    if (!parent) throw ComError(E_POINTER);
    DOMNodeType parentType = NODE_INVALID;
    check(parent->get_nodeType(&parentType), parent.get(), &IID_IXMLDOMNode);
    if (parentType == NODE_DOCUMENT) return false;
    ComPtr<IXMLDOMNode> removed;
    check(parent->removeChild(element.get(), removed.put()), parent.get(), &IID_IXMLDOMNode);
    return true;
}

}  // namespace tallow
