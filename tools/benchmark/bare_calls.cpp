#include "bare_calls.h"

#include <shlwapi.h>

#include <stdexcept>

namespace bench {
namespace {

constexpr CLSID domDocumentClass = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

// A VARIANT that borrows `value`.
VARIANT argument(BSTR value)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = value;
    return v;
}

Bstr wide(const std::string& text)
{
    const int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    Bstr result = Bstr::attach(SysAllocStringLen(nullptr, static_cast<UINT>(units - 1)));
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, result.get(), units);
    return result;
}

}  // namespace

ComPtr<IXMLDOMDocument> createDocument()
{
    ComPtr<IUnknown> object;
    ComPtr<IXMLDOMDocument> document;
    if (FAILED(CoCreateInstance(domDocumentClass, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(object.put()))) ||
        FAILED(OleRun(object.get())) || FAILED(object.query(IID_IXMLDOMDocument, document)))
        throw std::runtime_error("cannot create a DOM document");
    return document;
}

BareDocument::BareDocument() : document_(createDocument()) {}

bool BareDocument::loadByPath(const std::string& path)
{
    const Bstr file = wide(path);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    document_->load(argument(file.get()), &loaded);
    return loaded == VARIANT_TRUE;
}

bool BareDocument::loadFromStream(const std::string& path)
{
    ComPtr<IStream> stream;
    if (FAILED(SHCreateStreamOnFileA(path.c_str(), STGM_READ | STGM_SHARE_DENY_NONE, stream.put()))) return false;
    VARIANT source;
    VariantInit(&source);
    V_VT(&source) = VT_UNKNOWN;
    V_UNKNOWN(&source) = stream.get();
    VARIANT_BOOL loaded = VARIANT_FALSE;
    document_->load(source, &loaded);
    return loaded == VARIANT_TRUE;
}

void BareDocument::save(const std::string& path)
{
    const Bstr file = wide(path);
    if (FAILED(document_->save(argument(file.get())))) throw std::runtime_error("cannot save " + path);
}

long BareDocument::search(const wchar_t* tag)
{
    const Bstr name = Bstr::attach(SysAllocString(tag));
    long length = 0;
    if (FAILED(document_->getElementsByTagName(name.get(), list_.put())) || FAILED(list_->get_length(&length)))
        throw std::runtime_error("cannot search the document");
    return length;
}

void BareDocument::readEach(const wchar_t* attribute)
{
    const Bstr name = Bstr::attach(SysAllocString(attribute));
    long length = 0;
    list_->get_length(&length);
    for (long i = 0; i < length; ++i) {
        ComPtr<IXMLDOMNode> node;
        ComPtr<IXMLDOMElement> element;
        ComPtr<IXMLDOMAttribute> value;
        tallow::Variant text;
        list_->get_item(i, node.put());
        node.query(IID_IXMLDOMElement, element);
        element->getAttributeNode(name.get(), value.put());
        if (value) value->get_value(text.put());
    }
}

size_t readWholeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
    char buffer[65536];
    size_t total = 0;
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) total += read;
    CloseHandle(file);
    return total;
}

}  // namespace bench
