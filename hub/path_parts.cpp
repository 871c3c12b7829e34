#include "path_parts.h"

namespace tallow {
namespace {

bool isLeadByte(UINT codePage, char byte)
{
    return IsDBCSLeadByteEx(codePage, static_cast<BYTE>(byte)) != FALSE;
}

// The character after the one at `at`: a lead byte takes its trail byte along.
const char* nextCharacter(UINT codePage, const char* at)
{
    return isLeadByte(codePage, at[0]) && at[1] ? at + 2 : at + 1;
}

std::string part(const char* begin, const char* end)
{
    const size_t length = static_cast<size_t>(end - begin);
    return std::string(begin, length < pathPartLimit ? length : pathPartLimit);
}

}  // namespace

PathParts splitPath(const char* path, UINT codePage)
{
    const char* text = path ? path : "";
    PathParts parts;

    const char* rest = text;
    if (text[0] && !isLeadByte(codePage, text[0]) && text[1] == ':') {
        parts.drive.assign(text, 2);
        rest = text + 2;
    }

    const char* lastSeparator = nullptr;
    const char* lastDot = nullptr;
    const char* end = rest;
    for (; *end; end = nextCharacter(codePage, end)) {
        if (*end == '\\' || *end == '/') lastSeparator = end;
        else if (*end == '.') lastDot = end;
    }

    const char* nameStart = lastSeparator ? lastSeparator + 1 : rest;
    parts.folder = part(rest, nameStart);
    const char* nameEnd = lastDot && lastDot >= nameStart ? lastDot : end;
    parts.baseName = part(nameStart, nameEnd);
    parts.extension = part(nameEnd, end);
    return parts;
}

}  // namespace tallow
