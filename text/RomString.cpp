// Printing a table-encoded string of the ROM, found through a 16-bit
// pointer at a HiROM address.
#include "rom/RomImage.h"

#include <cstdio>

namespace {

constexpr int MAX_STRING_LENGTH = 32;
constexpr uint8_t STRING_END = '@';
constexpr char UNKNOWN_CHARACTER = '\xA7';  // section sign
constexpr uint32_t BANK_MASK = 0xFF0000;

}  // namespace

void RomImage::printString(uint32_t address) {
    // The string is read from the file as it is on disk now. When the
    // reload fails, the image already held (if any) is used; the bounded
    // reads give zeros outside it.
    load();
    seek(address, ADDR_HIROM);
    const uint32_t pointer = readWord();
    seek((address & BANK_MASK) | pointer, ADDR_HIROM);

    char text[MAX_STRING_LENGTH + 1];
    int length = 0;
    while (length < MAX_STRING_LENGTH) {
        const uint8_t character = lookupChar(readByte());
        if (character == STRING_END) break;
        text[length++] = character != 0 ? static_cast<char>(character) : UNKNOWN_CHARACTER;
    }
    text[length] = '\0';
    std::puts(text);
}
