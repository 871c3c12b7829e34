// Fixed character buffers owned by a caller, and the two ways text goes into
// one: cut to fit (texts that are read and shown) or refused (paths that are
// about to be written to).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

namespace tallow {

// `size` bytes at `text`, terminator included. `cut` tells whether the last
// copy into the buffer had to drop the end of its text.
struct TextBuffer {
    char* text;
    size_t size;
    bool cut;
};

template <size_t N>
TextBuffer textBuffer(char (&array)[N])
{
    return TextBuffer{array, N, false};
}

// Copies `source` and its terminator into `out`. Text of more than
// out.size - 1 bytes keeps its first out.size - 1 bytes and sets out.cut, so
// nothing is ever written past the buffer.
void copyText(TextBuffer& out, const std::string& source);

// Writes the parts one after the other into `out` when they fit with their
// terminator and answers true; otherwise `out` receives the empty string and
// the answer is false. A null part counts as empty.
bool composePath(TextBuffer out, std::initializer_list<const char*> parts);

}  // namespace tallow
