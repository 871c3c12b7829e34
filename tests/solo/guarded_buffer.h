// A caller's fixed buffer followed by guard bytes, to show that a copy into it
// stops at its end.
#pragma once

#include "text_buffer.h"

#include <algorithm>
#include <string>
#include <vector>

class GuardedBuffer {
public:
    explicit GuardedBuffer(size_t size, char fill = '\0') : size_(size), bytes_(size + guardSize, guardByte)
    {
        std::fill(bytes_.begin(), bytes_.begin() + static_cast<long>(size), fill);
    }
    char* data() { return bytes_.data(); }
    tallow::TextBuffer buffer() { return tallow::TextBuffer{bytes_.data(), size_, false}; }
    // The text up to its terminator, which must lie inside the buffer.
    std::string text() const
    {
        const auto end = std::find(bytes_.begin(), bytes_.begin() + static_cast<long>(size_), '\0');
        return std::string(bytes_.begin(), end);
    }
    bool terminated() const { return text().size() < size_; }
    bool guardsIntact() const
    {
        for (size_t i = size_; i < bytes_.size(); ++i)
            if (bytes_[i] != guardByte) return false;
        return true;
    }

private:
    static constexpr size_t guardSize = 64;
    static constexpr char guardByte = '\x5A';
    size_t size_;
    std::vector<char> bytes_;
};
