#include "selection_double.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

enum class Choice { nothing, inBuffer, ownBlock };

Choice choice = Choice::nothing;
std::string chosenText;
int calls = 0;
unsigned receivedSize = 0;
int firstByteReceived = -1;
void* lastOwnBlock = nullptr;

constexpr size_t bufferSize = 517;

}  // namespace

extern "C" __declspec(dllexport) void __cdecl LaunchSelectProjectDlg(char** path)
{
    ++calls;
    receivedSize = 0;
    firstByteReceived = -1;
    lastOwnBlock = nullptr;
    if (!path || !*path) return;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(CoGetMalloc(1, &allocator))) {
        receivedSize = static_cast<unsigned>(allocator->GetSize(*path));
        allocator->Release();
    }
    firstByteReceived = static_cast<unsigned char>(**path);
    switch (choice) {
    case Choice::nothing:
        break;
    case Choice::inBuffer:
        memcpy(*path, chosenText.data(), std::min(chosenText.size(), bufferSize));
        break;
    case Choice::ownBlock: {
        auto* block = static_cast<char*>(CoTaskMemAlloc(chosenText.size() + 1));
        memcpy(block, chosenText.c_str(), chosenText.size() + 1);
        CoTaskMemFree(*path);
        *path = block;
        lastOwnBlock = block;
        break;
    }
    }
}

extern "C" __declspec(dllexport) void __cdecl chooseInBuffer(const char* text, int length)
{
    choice = Choice::inBuffer;
    chosenText.assign(text, static_cast<size_t>(length));
}

extern "C" __declspec(dllexport) void __cdecl chooseOwnBlock(const char* text)
{
    choice = Choice::ownBlock;
    chosenText = text;
}

extern "C" __declspec(dllexport) void __cdecl chooseNothing()
{
    choice = Choice::nothing;
}

extern "C" __declspec(dllexport) int __cdecl dialogCalls()
{
    return calls;
}

extern "C" __declspec(dllexport) unsigned __cdecl receivedBlockSize()
{
    return receivedSize;
}

extern "C" __declspec(dllexport) int __cdecl receivedFirstByte()
{
    return firstByteReceived;
}

extern "C" __declspec(dllexport) const void* __cdecl ownBlock()
{
    return lastOwnBlock;
}
