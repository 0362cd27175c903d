// Reading the image file whole and finding its internal header.
#include "rom/RomImage.h"

#include "rom/HeaderLayout.h"
#include "platform/Platform.h"
#include "platform/SanitizerMarks.h"

#include <climits>
#include <cstring>

namespace {

bool isOneOf(uint8_t value, const uint8_t (&accepted)[2]) {
    return value == accepted[0] || value == accepted[1];
}

// Length of an open stream, or -1 when it cannot be measured or does not
// fit the image's 32-bit size (a directory, a pipe, a file of 2 GiB or more).
long measure(FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long length = std::ftell(file);
    if (length < 0 || length > INT32_MAX) return -1;
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return length;
}

}  // namespace

void reportOpenFailure(const char* path) {
    std::printf("Erro ao abrir arquivo [");
    printVerbatim(path);
    std::printf("]\n");
}

int32_t RomImage::load() {
    const char* path = overlongRomPath.empty() ? romPath : overlongRomPath.c_str();
    romFile = overlongRomPath.empty() ? openFile(romPath, "rb") : nullptr;
    if (!romFile) {
        reportOpenFailure(path);
        return 1;
    }
    const long length = measure(romFile);
    if (length < 0) {
        std::fclose(romFile);
        romFile = nullptr;
        reportOpenFailure(path);
        return 1;
    }

    const size_t bytes = static_cast<size_t>(length);
    holdBytes(bytes, 0);
    const size_t got = bytes > 0 ? std::fread(data.get(), 1, bytes, romFile) : 0;
    // What a short read did not fill reads as zeros, never as garbage.
    std::memset(data.get() + got, 0, bytes - got);
    std::fclose(romFile);
    romFile = nullptr;
    takeHeldImage();
    return 0;
}

int32_t RomImage::assign(const uint8_t* bytes, size_t length) {
    if (length > static_cast<size_t>(INT32_MAX)) return 1;
    holdBytes(length, 0);
    if (length > 0) std::memcpy(data.get(), bytes, length);
    takeHeldImage();
    return 0;
}

int32_t RomImage::assign(std::unique_ptr<uint8_t[]> bytes, size_t length) {
    if (length > static_cast<size_t>(INT32_MAX)) return 1;
    data = std::move(bytes);
    loadedArray = data.get();
    capacity = length;
    size = static_cast<int32_t>(length);
    takeHeldImage();
    return 0;
}

void RomImage::holdBytes(size_t bytes, size_t kept) {
    // A reload (the ROM string reader's, a fuzzer's next input) or a growth
    // goes into the memory already held when the image fits it; what lies
    // past the image is marked unaddressable for the address sanitizer, so
    // that a read past the end is caught as in memory of the image's own
    // size.
    if (!data || data.get() != loadedArray || bytes > capacity) {
        std::unique_ptr<uint8_t[]> array(new uint8_t[bytes]);
        if (kept > 0) std::memcpy(array.get(), data.get(), kept);
        data = std::move(array);
        loadedArray = data.get();
        capacity = bytes;
    }
    ASAN_UNPOISON_MEMORY_REGION(data.get(), bytes);
    ASAN_POISON_MEMORY_REGION(data.get() + bytes, capacity - bytes);
    size = static_cast<int32_t>(bytes);
}

void RomImage::takeHeldImage() {
    cursor = 0;
    if ((static_cast<uint32_t>(size) & ROM_BLOCK_MASK) != 0) hasCopierHeader = 1;
    if (hasCopierHeader) cursor = COPIER_HEADER_SIZE;
    parseHeader();
}

bool RomImage::findInternalHeader(uint32_t& index) const {
    const uint32_t h = headerBytes();
    // A probe matches only when the whole header lies inside the image.
    auto probe = [&](uint32_t headerOffset, const uint8_t (&modes)[2]) {
        const uint64_t start = uint64_t{headerOffset} + h;
        return data && start + INTERNAL_HEADER_SIZE <= static_cast<uint64_t>(size) &&
               isOneOf(data[start + HEADER_MAP_MODE], modes);
    };
    if (probe(LOROM_HEADER_OFFSET, LOROM_MAP_MODES)) {
        index = LOROM_HEADER_OFFSET + h;
    } else if (probe(HIROM_HEADER_OFFSET, HIROM_MAP_MODES)) {
        index = HIROM_HEADER_OFFSET + h;
    } else {
        return false;
    }
    return true;
}

void RomImage::parseHeader() {
    uint32_t header;
    if (!findInternalHeader(header)) {
        std::printf("Rom inv\xE1lida!\n");
        return;
    }

    const uint8_t* field = &data[header];
    std::memcpy(title, field + HEADER_TITLE, HEADER_TITLE_LENGTH);
    mapMode = field[HEADER_MAP_MODE];
    version = field[HEADER_VERSION];
    checksumComplement = field[HEADER_CHECKSUM_COMPLEMENT] | field[HEADER_CHECKSUM_COMPLEMENT + 1] << 8;
    checksum = field[HEADER_CHECKSUM] | field[HEADER_CHECKSUM + 1] << 8;
}
