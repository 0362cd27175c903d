// What the table and label readers share: their path rule, the UTF-8
// byte-order mark and the characters that the hexadecimal numbers of both
// files are made of. Nothing here prints: the readers say what failed.
#pragma once

#include <cstdint>
#include <cstdio>

namespace textfile {

// Copies path into a path field of 256 characters. False for a longer
// path, leaving the field as it was: a truncated path could name another
// file.
bool storePath(char (&field)[256], const char* path);

// Opens a file with mode "rb" and steps over a UTF-8 byte-order mark at
// its start. Null when the file cannot be opened.
FILE* openForReading(const char* path);

// Closes a file that was read to its end. False when reading it failed (a
// folder opens but cannot be read).
bool closeAfterReading(FILE* file);

// White space as the formatted-input conversions see it in the C locale.
inline bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Value of a hexadecimal digit, or -1 for any other character.
inline int hexDigit(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace textfile
