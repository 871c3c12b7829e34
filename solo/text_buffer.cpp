#include "text_buffer.h"

#include <cstring>

namespace tallow {

void copyText(TextBuffer& out, const std::string& source)
{
    if (!out.text || out.size == 0) {
        out.cut = !source.empty();
        return;
    }
    const size_t kept = source.size() < out.size ? source.size() : out.size - 1;
    memcpy(out.text, source.data(), kept);
    out.text[kept] = '\0';
    out.cut = kept < source.size();
}

bool composePath(TextBuffer out, std::initializer_list<const char*> parts)
{
    if (!out.text || out.size == 0) return false;
    size_t length = 0;
    for (const char* part : parts)
        if (part) length += strlen(part);
    if (length >= out.size) {
        out.text[0] = '\0';
        return false;
    }
    char* end = out.text;
    for (const char* part : parts) {
        if (!part) continue;
        const size_t partLength = strlen(part);
        memcpy(end, part, partLength);
        end += partLength;
    }
    *end = '\0';
    return true;
}

}  // namespace tallow
