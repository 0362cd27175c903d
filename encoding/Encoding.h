#pragma once

// Text encodings: Windows-1252 (the programs' words), UTF-8 (scripts,
// tables, file names) and UTF-16 (Windows file names). Pure functions
// over strings; no library below this one.

#include <cstddef>
#include <cstdint>
#include <string>

// Windows-1252 text in UTF-8, one character for each byte. The five bytes
// that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become
// U+FFFD, the replacement character, rather than C1 control codes that a
// terminal could act on.
std::string windows1252ToUtf8(const char* text, size_t length);

// The Windows-1252 byte of a code point, or -1 for one it does not have
// (nor any of the five bytes it leaves undefined).
int windows1252ByteOf(uint32_t codePoint);

// UTF-16 <-> UTF-8, for the names that Windows holds in UTF-16. A
// surrogate without its pair, which a Windows name may hold, is kept in
// the three-byte form of its code unit, so every name comes back
// unchanged. utf16FromUtf8 is false for text that is not UTF-8 of that
// kind (bytes in a code page, say), with out unspecified.
std::string utf8FromUtf16(const std::u16string& text);
bool utf16FromUtf8(const std::string& text, std::u16string& out);

// Text with its control characters (below 0x20, 0x7F, and with c1 also
// 0x80 to 0x9F) written as \xNN, two lower-case hexadecimal digits.
std::string escapeControls(const char* text, bool c1);

// Offset of the first byte at which text stops being UTF-8 (a stray or
// missing continuation byte, an overlong form, past U+10FFFF), or its size.
size_t firstNonUtf8(const std::string& text);

// The size of text without a UTF-8 character cut short at its very end (a
// leading byte and fewer continuation bytes than it announces), when all
// before it is UTF-8; else text.size(). For text cut at a byte count.
size_t utf8WithoutCutEnd(const std::string& text);

// The code point of the UTF-8 character that starts at text[at], and in
// length the bytes it takes (at least 1). Meant for text that passed
// firstNonUtf8; a broken form gives the value of the bytes there are.
uint32_t codePointAt(const std::string& text, size_t at, size_t* length = nullptr);
