#include "placement/Growth.h"

namespace {

constexpr uint32_t ONE_KIB = 1024;

}  // namespace

uint8_t romSizeExponent(uint32_t romDataSize) {
    uint8_t n = 0;
    while ((uint64_t{ONE_KIB} << n) < romDataSize) ++n;
    return n;
}

bool growImage(RomImage& rom, uint32_t newSize) {
    uint32_t header = 0;
    if (!rom.findInternalHeader(header)) return false;
    return rom.growRomData(newSize, NEW_SPACE_FILL) && rom.setRomSizeExponent(romSizeExponent(newSize));
}
