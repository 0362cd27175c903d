// Little-endian reads at the cursor.
#include "rom/RomImage.h"

uint8_t RomImage::readByte() {
    return byteAt(cursor++);
}

uint32_t RomImage::readWord() {
    const uint32_t low = readByte();
    return low | uint32_t{readByte()} << 8;
}

uint32_t RomImage::readLong() {
    const uint32_t low = readWord();
    return low | uint32_t{readByte()} << 16;
}
