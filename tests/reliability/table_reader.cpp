#include "table_reader.h"

#include "com_ptr.h"

#include <msxml.h>

#include <cstring>
#include <stdexcept>

namespace reliability {
namespace {

using tallow::Bstr;
using tallow::ComPtr;

constexpr CLSID domDocument = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

Bstr bstrOf(const std::wstring& text)
{
    return Bstr::attach(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

std::wstring wideOf(const std::string& ansi)
{
    std::wstring wide(ansi.size(), L'\0');
    const int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0],
                                          static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(units));
    return wide;
}

std::wstring textOf(const Bstr& text)
{
    return std::wstring(text.get(), text.length());
}

}  // namespace

TableContent readTable(const std::string& path, const TableKind& kind)
{
    TableContent content;
    ComPtr<IXMLDOMDocument> document;
    if (FAILED(CoCreateInstance(domDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                reinterpret_cast<void**>(document.put()))))
        throw std::runtime_error("no DOM document");
    const Bstr file = bstrOf(wideOf(path));
    VARIANT source;
    VariantInit(&source);
    V_VT(&source) = VT_BSTR;
    V_BSTR(&source) = file.get();
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (document->load(source, &loaded) != S_OK || !loaded) return content;
    ComPtr<IXMLDOMNode> first;
    document->get_firstChild(first.put());
    DOMNodeType type = NODE_INVALID;
    if (!first || FAILED(first->get_nodeType(&type)) || type != NODE_ELEMENT) return content;
    content.loads = true;
    Bstr rootName;
    first->get_nodeName(rootName.put());
    content.rootIsEntry = textOf(rootName) == std::wstring(kind.entry, kind.entry + strlen(kind.entry));

    ComPtr<IXMLDOMNodeList> list;
    const std::string entryTag = kind.entry;
    document->getElementsByTagName(bstrOf(std::wstring(entryTag.begin(), entryTag.end())).get(), list.put());
    long length = 0;
    list->get_length(&length);
    for (long i = 0; i < length; ++i) {
        ComPtr<IXMLDOMNode> node;
        list->get_item(i, node.put());
        ComPtr<IXMLDOMNamedNodeMap> attributes;
        node->get_attributes(attributes.put());
        long count = 0;
        attributes->get_length(&count);
        TableEntry entry;
        for (long a = 0; a < count; ++a) {
            ComPtr<IXMLDOMNode> attribute;
            attributes->get_item(a, attribute.put());
            Bstr name, value;
            attribute->get_nodeName(name.put());
            attribute->get_text(value.put());
            entry[textOf(name)] = textOf(value);
        }
        content.entries.push_back(entry);
    }
    return content;
}

std::vector<WalkedValue> walkedValues(const std::vector<TableEntry>& entries, const std::wstring& attribute)
{
    std::vector<WalkedValue> walked;
    WalkedValue current{"", false};
    for (const TableEntry& entry : entries) {
        const auto found = entry.find(attribute);
        if (found != entry.end()) {
            current.text = ansiOf(found->second);
            current.cut = current.text.size() > 255;
            if (current.cut) current.text.resize(255);
        }
        walked.push_back(current);
    }
    return walked;
}

std::optional<size_t> firstMatch(const std::vector<TableEntry>& entries, const std::wstring& attribute,
                                 const std::string& wanted)
{
    const std::vector<WalkedValue> walked = walkedValues(entries, attribute);
    for (size_t i = 0; i < walked.size(); ++i)
        if (!walked[i].cut && walked[i].text == wanted) return i;
    return std::nullopt;
}

std::optional<size_t> firstRemovable(const TableContent& table, const std::wstring& attribute,
                                     const std::string& wanted)
{
    const std::vector<WalkedValue> walked = walkedValues(table.entries, attribute);
    for (size_t i = table.rootIsEntry ? 1 : 0; i < walked.size(); ++i)
        if (!walked[i].cut && walked[i].text == wanted) return i;
    return std::nullopt;
}

std::string describe(const std::vector<TableEntry>& entries)
{
    std::string text;
    for (const TableEntry& entry : entries) {
        text += "[";
        for (const auto& [name, value] : entry) {
            const std::string shown = utf8Of(value);
            text += utf8Of(name) + "=" + (shown.size() > 40 ? shown.substr(0, 40) + "..." : shown) + " ";
        }
        text += "] ";
    }
    return text;
}

}  // namespace reliability
