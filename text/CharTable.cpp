// The character table: byte codes of the ROM's text and the characters
// they stand for, read from a table file of "code=character" entries.
#include "rom/RomImage.h"
#include "text/TextFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t TABLE_CAPACITY = 256;

enum class Entry { Read, Malformed, End };

// Skips what is left of a line whose entry does not match; c is the
// character that broke the entry, already taken from the stream.
void skipLine(FILE* file, int c) {
    while (c != '\n' && c != EOF) c = std::getc(file);
}

// One entry: optional white space, a hexadecimal number (optional 0x
// prefix), "=" right after its last digit, then exactly one character,
// taken literally (a space, "=" or a line end too). The low byte of the
// number is the code. Every call consumes at least one character or ends
// the file, so the reading loop always ends.
Entry readEntry(FILE* file, uint8_t& code, char& character) {
    int c;
    do {
        c = std::getc(file);
    } while (textfile::isSpace(c));
    if (c == EOF) return Entry::End;

    uint32_t value = 0;  // wraps; only the low byte is kept
    bool digits = false;
    if (c == '0') {
        digits = true;
        c = std::getc(file);
        if (c == 'x' || c == 'X') {
            c = std::getc(file);
            if (textfile::hexDigit(c) < 0) {  // "0x" and no digit: the "=" is missing
                skipLine(file, c);
                return Entry::Malformed;
            }
        }
    }
    for (int digit; (digit = textfile::hexDigit(c)) >= 0; c = std::getc(file)) {
        value = value * 16 + static_cast<uint32_t>(digit);
        digits = true;
    }
    if (!digits || c != '=') {
        skipLine(file, c);
        return Entry::Malformed;
    }
    c = std::getc(file);
    if (c == EOF) return Entry::End;  // the file ends inside the entry
    code = static_cast<uint8_t>(value);
    character = static_cast<char>(c);
    return Entry::Read;
}

}  // namespace

int32_t RomImage::readTable() {
    FILE* file = textfile::openForReading(tablePath);
    if (!file) {
        reportOpenFailure(tablePath);
        return 1;
    }
    // Read aside, so that a file that fails half-way leaves the old table.
    uint8_t codes[TABLE_CAPACITY];
    char chars[TABLE_CAPACITY];
    int32_t count = 0;
    for (Entry entry; count < TABLE_CAPACITY &&
                      (entry = readEntry(file, codes[count], chars[count])) != Entry::End;) {
        if (entry == Entry::Read) ++count;
    }
    if (!textfile::closeAfterReading(file)) {
        reportOpenFailure(tablePath);
        return 1;
    }
    std::memcpy(tableCodes, codes, static_cast<size_t>(count));
    std::memcpy(tableChars, chars, static_cast<size_t>(count));
    tableCount = count;
    return 0;
}

int32_t RomImage::loadTable(const char* path) {
    if (!textfile::storePath(tablePath, path)) {
        reportOpenFailure(path);
        return 1;
    }
    return readTable();
}

uint8_t RomImage::lookupChar(uint8_t code) const {
    const int32_t count = std::clamp(tableCount, int32_t{0}, TABLE_CAPACITY);
    for (int32_t i = 0; i < count; ++i) {
        if (tableCodes[i] == code) return static_cast<uint8_t>(tableChars[i]);
    }
    return 0;
}
