#include "mode_table.h"

#include "ansi_text.h"

#include <msxml.h>

#include <stdexcept>

namespace tallow_host {
namespace {

constexpr char installKey[] = "SOFTWARE\\Halvern Software\\Halvern Test\\8";
constexpr char installValue[] = "Install Directory";
// The platform's DOMDocument class.
constexpr CLSID domDocumentClass = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

std::string installDirectory()
{
    char directory[MAX_PATH] = {};
    DWORD size = sizeof directory - 1;
    HKEY key;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, installKey, 0, KEY_QUERY_VALUE, &key);
    if (status == ERROR_SUCCESS) {
        status = RegQueryValueExA(key, installValue, nullptr, nullptr, reinterpret_cast<BYTE*>(directory), &size);
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS || directory[0] == '\0')
        throw std::runtime_error(std::string("no install directory recorded (HKEY_LOCAL_MACHINE\\") + installKey +
                                 ", value \"" + installValue + "\")");
    return directory;
}

// The text of attribute `name` of a "Mode" node; empty when it has none.
std::string attributeOf(IXMLDOMNode* node, const wchar_t* name)
{
    tallow::ComPtr<IXMLDOMElement> element;
    if (FAILED(node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element.put())))) return {};
    tallow::Variant value;
    tallow::Bstr attribute = tallow::Bstr::attach(SysAllocString(name));
    if (element->getAttribute(attribute.get(), value.put()) != S_OK || value.get().vt != VT_BSTR) return {};
    return tallow::ansiFromBstr(value.get().bstrVal);
}

}  // namespace

std::string libraryOfMode(const std::string& displayName)
{
    const std::string directory = installDirectory();
    const std::string table = directory + "\\AssetManager.xml";

    tallow::ComPtr<IXMLDOMDocument> document;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    tallow::Variant path;
    path.get().vt = VT_BSTR;
    path.get().bstrVal = tallow::bstrFromAnsi(table.c_str()).detach();
    if (FAILED(CoCreateInstance(domDocumentClass, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                reinterpret_cast<void**>(document.put()))) ||
        document->load(path.get(), &loaded) != S_OK || loaded != VARIANT_TRUE)
        throw std::runtime_error("the mode table " + table + " does not load");

    tallow::ComPtr<IXMLDOMNodeList> modes;
    tallow::Bstr tag = tallow::Bstr::attach(SysAllocString(L"Mode"));
    long count = 0;
    if (SUCCEEDED(document->getElementsByTagName(tag.get(), modes.put())) && modes) modes->get_length(&count);
    for (long i = 0; i < count; ++i) {
        tallow::ComPtr<IXMLDOMNode> mode;
        if (modes->get_item(i, mode.put()) != S_OK) continue;
        if (attributeOf(mode.get(), L"DisplayName") == displayName)
            return directory + "\\" + attributeOf(mode.get(), L"Library");
    }
    throw std::runtime_error("no mode \"" + displayName + "\" in " + table);
}

}  // namespace tallow_host
