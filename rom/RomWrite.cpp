// The image changing itself in memory: bytes written, ROM data grown,
// the internal header's ROM size and checksum brought up to date.
#include "rom/RomImage.h"

#include "rom/Checksum.h"
#include "rom/HeaderLayout.h"

#include <climits>
#include <cstring>

namespace {

void storeWord(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

uint32_t RomImage::romDataSize() const {
    if (!data || size <= 0 || static_cast<uint32_t>(size) < headerBytes()) return 0;
    return static_cast<uint32_t>(size) - headerBytes();
}

const uint8_t* RomImage::romData() const {
    return romDataSize() > 0 ? data.get() + headerBytes() : data.get();
}

bool RomImage::writeBytes(uint32_t offset, const uint8_t* bytes, size_t length) {
    const uint32_t romSize = romDataSize();
    if (offset > romSize || length > romSize - offset) return false;
    if (length > 0) std::memcpy(&data[headerBytes() + offset], bytes, length);
    return true;
}

bool RomImage::growRomData(uint32_t newSize, uint8_t fill) {
    const uint32_t romSize = romDataSize();
    const uint64_t newImageSize = uint64_t{headerBytes()} + newSize;
    if (newSize < romSize || newImageSize > static_cast<uint64_t>(INT32_MAX)) return false;
    if (newSize == romSize) return true;
    const size_t kept = static_cast<size_t>(headerBytes()) + romSize;
    holdBytes(static_cast<size_t>(newImageSize), kept);
    std::memset(data.get() + kept, fill, static_cast<size_t>(newImageSize) - kept);
    return true;
}

bool RomImage::setRomSizeExponent(uint8_t n) {
    uint32_t header;
    if (!findInternalHeader(header)) return false;
    data[header + HEADER_ROM_SIZE] = n;
    return true;
}

bool RomImage::updateChecksum() {
    uint32_t header;
    if (!findInternalHeader(header)) return false;
    // Any valid pair adds the same to the sum (0xFF for each pair of
    // complementary bytes): complement FFFF, checksum 0000.
    storeWord(&data[header + HEADER_CHECKSUM_COMPLEMENT], 0xFFFF);
    storeWord(&data[header + HEADER_CHECKSUM], 0x0000);
    const uint16_t sum = romChecksum(romData(), romDataSize());
    const uint16_t complement = static_cast<uint16_t>(sum ^ 0xFFFF);
    storeWord(&data[header + HEADER_CHECKSUM_COMPLEMENT], complement);
    storeWord(&data[header + HEADER_CHECKSUM], sum);
    checksum = sum;
    checksumComplement = complement;
    return true;
}
