// Text values for the XML files the suites write: how a value is spelled in
// the file, and what the DOM reads back. The values cover what people put in
// hand-edited files and what the library's fixed buffers meet at their edges.
#pragma once

#include "fuzz_rounds.h"

#include <string>

namespace reliability {

// A value as it stands in an XML file (UTF-8 markup, escaped for element text
// and for attribute values in double quotes) and as the DOM gives it back.
// Values never begin or end with white space, which readers trim.
struct XmlText {
    std::string markup;
    std::wstring text;

    // Appends one character, spelled as itself or as a character reference.
    void append(char32_t character, bool asReference = false);
    void append(const std::wstring& plain);
};

// Lengths in bytes of the ANSI code page around the library's buffers: a
// name of 255 bytes fits 256, a folder of 259 fits 260, and a path of 515
// fits 516.
const std::vector<size_t>& boundaryLengths();

// A random value: empty, a word, a path, escaped characters, foreign text,
// text of a boundary length, or (with `huge`) about a megabyte of text.
XmlText randomText(Random& random, bool huge);
// A value of exactly `ansiBytes` bytes in the ANSI code page, partly made of
// characters that take more bytes in UTF-8 than in the code page.
XmlText textOfAnsiLength(Random& random, size_t ansiBytes);

// The text in the ANSI code page, converted as the library converts it.
std::string ansiOf(const std::wstring& text);
// UTF-8 of UTF-16 text.
std::string utf8Of(const std::wstring& text);

}  // namespace reliability
