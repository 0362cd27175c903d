#include "rom/RomImage.h"

#include "rom/HeaderLayout.h"

#include <cstring>

RomImage::RomImage()
    : romFile(nullptr), hasCopierHeader(0), mapMode(0), version(0),
      checksumComplement(0), checksum(0), tableCount(0), cursor(0), size(0) {
    std::memset(romPath, 0, sizeof romPath);
    std::memset(tablePath, 0, sizeof tablePath);
    std::memset(labelPath, 0, sizeof labelPath);
    std::memset(title, 0, sizeof title);
    std::memset(tableCodes, 0, sizeof tableCodes);
    std::memset(tableChars, 0, sizeof tableChars);
}

RomImage::~RomImage() = default;

void RomImage::setRomPath(const char* path) {
    const size_t length = std::strlen(path);
    if (length < sizeof romPath) {
        std::memcpy(romPath, path, length + 1);
        overlongRomPath.clear();
    } else {
        // Never truncate into the name of another file: load refuses it.
        std::memcpy(romPath, path, sizeof romPath - 1);
        romPath[sizeof romPath - 1] = '\0';
        overlongRomPath = path;
    }
}

uint8_t RomImage::byteAt(uint32_t index) const {
    if (!data || size <= 0 || index >= static_cast<uint32_t>(size)) return 0;
    return data[index];
}

uint32_t RomImage::headerBytes() const {
    return hasCopierHeader ? COPIER_HEADER_SIZE : 0;
}
