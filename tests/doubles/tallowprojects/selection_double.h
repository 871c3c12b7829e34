// The test double of tallowprojects.dll: LaunchSelectProjectDlg does what the
// test chose beforehand and records each call. Tests load the double by full
// path and reach these functions through GetProcAddress.
#pragma once

extern "C" {
// The dialog: takes the address of a char* that points to a 517-byte buffer.
using LaunchSelectProjectDlgFunction = void(__cdecl*)(char** path);

// The next dialogs write `length` bytes of `text` into the buffer they receive
// (never more than 517), terminator included only if `length` covers it.
using ChooseInBufferFunction = void(__cdecl*)(const char* text, int length);
// The next dialogs put a CoTaskMemAlloc block holding `text` in place of the
// buffer, and free the buffer they received.
using ChooseOwnBlockFunction = void(__cdecl*)(const char* text);
// The next dialogs leave the buffer as they receive it (the default).
using ChooseNothingFunction = void(__cdecl*)();

// Number of dialogs shown so far.
using DialogCallsFunction = int(__cdecl*)();
// Size (from the task allocator) and first byte of the buffer the last
// dialog received.
using ReceivedBlockSizeFunction = unsigned(__cdecl*)();
using ReceivedFirstByteFunction = int(__cdecl*)();
// The block the last dialog put in place of the buffer, if any.
using OwnBlockFunction = const void*(__cdecl*)();
}
