#include "xml_text.h"

#include <windows.h>

namespace reliability {
namespace {

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendUtf16(std::wstring& out, char32_t c)
{
    if (c < 0x10000) {
        out += static_cast<wchar_t>(c);
    } else {
        out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
}

// Characters from scripts the ANSI code page mostly lacks, a few that it
// has, and some that take two UTF-16 units.
const std::vector<char32_t> foreignCharacters{
    0x00E9, 0x00FC, 0x00DF, 0x20AC, 0x0153, 0x00A0, 0x03A9, 0x0416, 0x05D0, 0x0627,
    0x4E2D, 0x65E5, 0xAC00, 0x0301, 0xFFFD, 0x1F600, 0x10348, 0x2028,
};

XmlText word(Random& random)
{
    XmlText text;
    const size_t length = random.between(1, 12);
    for (size_t i = 0; i < length; ++i) text.append(static_cast<char32_t>('a' + random.below(26)));
    return text;
}

XmlText path(Random& random)
{
    const std::vector<std::wstring> paths{
        L"C:\\Work\\Demo", L"C:\\Assets\\", L"\\\\server\\share\\Projects\\Demo", L"D:/a/b/c",
        L"C:\\Program Files\\Halvern\\x.project", L"..\\..\\Demo", L"C:", L"\\", L"C:\\a*b?c",
    };
    XmlText text;
    text.append(random.pick(paths));
    return text;
}

XmlText escapes(Random& random)
{
    XmlText text;
    text.append(L"a");
    const size_t count = random.between(1, 10);
    for (size_t i = 0; i < count; ++i) {
        const std::vector<char32_t> characters{'<', '>', '&', '"', '\'', ' ', '=', ';', 0xE9, 0x4E2D};
        text.append(random.pick(characters), random.percent(30));
    }
    text.append(L"z");
    return text;
}

XmlText foreign(Random& random)
{
    XmlText text;
    text.append(L"x");
    const size_t count = random.between(1, 20);
    for (size_t i = 0; i < count; ++i) text.append(random.pick(foreignCharacters), random.percent(20));
    text.append(L"y");
    return text;
}

}  // namespace

void XmlText::append(char32_t c, bool asReference)
{
    appendUtf16(text, c);
    if (asReference) {
        char reference[16];
        snprintf(reference, sizeof reference, c % 2 ? "&#x%X;" : "&#%u;", static_cast<unsigned>(c));
        markup += reference;
        return;
    }
    switch (c) {
    case '<': markup += "&lt;"; break;
    case '&': markup += "&amp;"; break;
    case '"': markup += "&quot;"; break;
    case '>': markup += "&gt;"; break;
    default: appendUtf8(markup, c);
    }
}

void XmlText::append(const std::wstring& plain)
{
    for (size_t i = 0; i < plain.size(); ++i) {
        char32_t c = plain[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < plain.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (plain[++i] - 0xDC00);
        append(c);
    }
}

const std::vector<size_t>& boundaryLengths()
{
    static const std::vector<size_t> lengths = [] {
        std::vector<size_t> all;
        for (size_t n = 254; n <= 262; ++n) all.push_back(n);
        for (size_t n = 510; n <= 520; ++n) all.push_back(n);
        return all;
    }();
    return lengths;
}

XmlText textOfAnsiLength(Random& random, size_t ansiBytes)
{
    XmlText text;
    size_t bytes = 0;
    while (bytes < ansiBytes) {
        const size_t left = ansiBytes - bytes;
        char32_t c = static_cast<char32_t>('a' + random.below(26));
        if (left > 1 && random.percent(20)) {
            const char32_t candidate = random.pick(foreignCharacters);
            std::wstring one;
            appendUtf16(one, candidate);
            const size_t width = ansiOf(one).size();
            if (candidate != 0x00A0 && candidate != 0x2028 && width <= left - 1) c = candidate;
        }
        std::wstring one;
        appendUtf16(one, c);
        bytes += ansiOf(one).size();
        text.append(c, random.percent(5));
    }
    return text;
}

XmlText randomText(Random& random, bool huge)
{
    switch (random.below(huge ? 8 : 7)) {
    case 0: return XmlText{};
    case 1: return word(random);
    case 2: return path(random);
    case 3: return escapes(random);
    case 4: return foreign(random);
    case 5:
    case 6: return textOfAnsiLength(random, random.pick(boundaryLengths()));
    default: {
        XmlText text;
        text.markup.assign((1u << 20) + random.below(100), 'm');
        text.text.assign(text.markup.size(), L'm');
        return text;
    }
    }
}

std::string ansiOf(const std::wstring& text)
{
    if (text.empty()) return std::string();
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, &ansi[0], bytes, nullptr, nullptr);
    return ansi;
}

std::string utf8Of(const std::wstring& text)
{
    if (text.empty()) return std::string();
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

}  // namespace reliability
