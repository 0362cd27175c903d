// Bus addresses (LoROM, HiROM) and file offsets <-> image indices.
#include "rom/RomImage.h"

namespace {

constexpr uint32_t BANK_MASK = 0xFF0000;
constexpr uint32_t OFFSET_MASK = 0xFFFF;
constexpr uint32_t FAST_BANK_BASE = 0x800000;   // $80:0000
constexpr uint32_t HIROM_BANK_BASE = 0xC00000;  // $C0:0000
constexpr uint32_t LOROM_UPPER_HALF = 0x8000;
constexpr uint32_t HIROM_SPAN_MASK = 0x3FFFFF;  // 4 MiB of ROM data
constexpr uint32_t WORK_RAM_BANK = 0x7E;        // $7E and $7F hold work RAM

}  // namespace

uint32_t loRomToFile(uint32_t address) {
    return ((address & 0x7F0000) >> 1) + (address & 0x7FFF);
}

uint32_t fileToLoRom(uint32_t offset) {
    return (((offset & 0x7F8000) << 1) + LOROM_UPPER_HALF + (offset & 0x7FFF)) | FAST_BANK_BASE;
}

bool loRomShowsRom(uint32_t address) {
    const uint32_t bank = address >> 16;
    return (address & OFFSET_MASK) >= LOROM_UPPER_HALF && bank != WORK_RAM_BANK && bank != WORK_RAM_BANK + 1;
}

uint32_t RomImage::fileToHiRom(uint32_t offset) const {
    return HIROM_BANK_BASE + (offset & HIROM_SPAN_MASK);
}

void RomImage::seek(uint32_t address, AddrMode mode) {
    uint32_t p = 0;
    if (mode & ADDR_FILE) {
        p = address;
    } else if (mode & ADDR_HIROM) {
        const uint32_t base = address > 0xBFFFFF ? HIROM_BANK_BASE : FAST_BANK_BASE;
        p = ((address & BANK_MASK) - base) | (address & OFFSET_MASK);
    } else if (mode & ADDR_LOROM) {
        p = (((address & BANK_MASK) - FAST_BANK_BASE) >> 1) + (address & OFFSET_MASK) - LOROM_UPPER_HALF;
    }
    cursor = p + headerBytes();
}

uint32_t RomImage::tell(AddrMode mode) const {
    const uint32_t c = cursor;
    uint32_t v = 0;
    if (mode & ADDR_FILE) {
        v = c;
    } else if (mode & ADDR_HIROM) {
        v = (c & HIROM_SPAN_MASK) | FAST_BANK_BASE;
    } else if (mode & ADDR_LOROM) {
        v = (((c >> 15) + 0x80) << 16) | (c & OFFSET_MASK) | LOROM_UPPER_HALF;
    }
    return v - headerBytes();
}
