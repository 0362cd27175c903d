#include "graphics/Decompress.h"

GraphicDecode decompressGraphic(RomImage& rom, uint16_t unpackedSize, uint8_t* buffer) {
    const uint32_t start = rom.cursor;
    if (!rom.data || rom.size <= 0 || start >= static_cast<uint32_t>(rom.size)) {
        return decompressGraphicPerByte(rom, unpackedSize, buffer);
    }
    const GraphicDecode result = decodeGraphic(&rom.data[start], static_cast<uint32_t>(rom.size) - start,
                                               unpackedSize, buffer);
    rom.cursor = start + result.packedLength;
    return result;
}

GraphicDecode decompressGraphicPerByte(RomImage& rom, uint16_t unpackedSize, uint8_t* buffer) {
    uint32_t produced = 0;
    uint32_t packed = 0;
    for (;;) {
        const uint8_t control = rom.readByte();
        const uint8_t fill = rom.readByte();
        packed += 2;
        for (int bit = 7; bit >= 0; --bit) {
            if ((control >> bit) & 1) {
                buffer[produced] = rom.readByte();
                ++packed;
            } else {
                buffer[produced] = fill;
            }
            if (++produced >= unpackedSize) return {produced, packed};
        }
    }
}
