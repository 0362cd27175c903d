#include "placement/Growth.h"

#include "rom/HeaderLayout.h"

namespace {

// A copier header whose classic size field holds the ROM data's old size
// is given the new one; any other copier header stays as it was.
void updateCopierSizeField(RomImage& rom, uint32_t oldSize, uint32_t newSize) {
    if (rom.headerBytes() == 0 || oldSize % COPIER_SIZE_UNIT != 0) return;
    uint8_t* field = &rom.data[COPIER_SIZE_FIELD];
    if (static_cast<uint32_t>(field[0] | field[1] << 8) != oldSize / COPIER_SIZE_UNIT) return;
    const uint32_t units = newSize / COPIER_SIZE_UNIT;
    field[0] = static_cast<uint8_t>(units);
    field[1] = static_cast<uint8_t>(units >> 8);
}

}  // namespace

uint8_t romSizeExponent(uint32_t romDataSize) {
    uint8_t n = 0;
    while ((uint64_t{ONE_KIB} << n) < romDataSize) ++n;
    return n;
}

bool growImage(RomImage& rom, uint32_t newSize) {
    uint32_t header = 0;
    if (!rom.findInternalHeader(header)) return false;
    const uint32_t oldSize = rom.romDataSize();
    if (!rom.growRomData(newSize, NEW_SPACE_FILL) || !rom.setRomSizeExponent(romSizeExponent(newSize))) return false;
    updateCopierSizeField(rom, oldSize, newSize);
    return true;
}
