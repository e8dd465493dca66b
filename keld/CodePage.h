#pragma once
// Projects are UTF-8; the installer shows its texts and makes its files through
// the Windows ANSI functions, byte for byte. keld writes every text of the
// archive in the Windows code page the project names for it, and refuses a
// character that code page cannot hold instead of writing something else.
// Only the single-byte code pages: the installer splits paths at every
// backslash byte, which the trail byte of a double-byte character can be.

#include <cstddef>
#include <cstdint>
#include <string>

namespace keld {

inline constexpr int kDefaultCodePage = 1252;

// The character of each byte 0x80 to 0xFF (0: undefined); null for a code
// page keld does not write.
const uint16_t* codePageTable(int codePage);

// "874 and 1250 to 1258", for messages.
std::string codePageList();

struct CodePageFailure {
    size_t offset = 0;      // of the character's first byte in the UTF-8 text
    uint32_t character = 0; // its code point; 0 when the bytes are not UTF-8
};

// `utf8` in `codePage`; false, with `out` empty and where and what in
// `failure`, when a character has no byte there or the text is not UTF-8.
bool toCodePage(const std::string& utf8, int codePage, std::string& out, CodePageFailure& failure);

// "the character "é" (U+00E9) is not in Windows code page 1251", or that
// the text is not UTF-8.
std::string describeFailure(const std::string& utf8, int codePage, const CodePageFailure& failure);

// Line and column (from 1, in characters) of the byte at `offset` of a text.
void lineAndColumn(const std::string& text, size_t offset, int& line, int& column);

} // namespace keld
