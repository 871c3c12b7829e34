// A caller's array of list entries, each pointing to a guarded 256-byte
// buffer filled with '#', to show which entries a listing wrote.
#pragma once

#include "guarded_buffer.h"
#include "project_store.h"

#include <string>
#include <vector>

struct GuardedEntries {
    explicit GuardedEntries(size_t count) : buffers(count, GuardedBuffer(tallow::nameSize, '#')), entries(count)
    {
        for (size_t i = 0; i < count; ++i) entries[i] = tallow::ListEntry{&entries[i], buffers[i].data()};
    }
    // Text of entry i, or "untouched" when the listing did not write it.
    std::string text(size_t i) const
    {
        const std::string written = buffers[i].text();
        return written == std::string(tallow::nameSize, '#') ? "untouched" : written;
    }
    std::vector<GuardedBuffer> buffers;
    std::vector<tallow::ListEntry> entries;
};
