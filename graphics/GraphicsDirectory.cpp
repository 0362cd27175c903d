#include "graphics/GraphicsDirectory.h"

#include "graphics/Decompress.h"
#include "graphics/GameLayout.h"
#include "platform/Platform.h"
#include "platform/SanitizerMarks.h"

#include <algorithm>
#include <memory>

namespace {

// True when the length bytes from the cursor lie inside the ROM data of
// the image. 64-bit, so that a cursor near 2^32 cannot wrap back into
// range; and never in the copier header, where the 32-bit cursor of an
// address in the lower half of bank $80 lands when 512 is added to it.
bool insideRomData(const RomImage& rom, uint32_t start, uint64_t length) {
    return rom.size >= 0 && start >= rom.headerBytes() &&
           uint64_t{start} + length <= static_cast<uint64_t>(rom.size);
}

}  // namespace

bool readGraphicRecord(RomImage& rom, int graphic, GraphicRecord& record, uint32_t& dataIndex) {
    rom.seek(GRAPHICS_DIRECTORY_ADDR + GRAPHIC_RECORD_SIZE * static_cast<uint32_t>(graphic), ADDR_LOROM);
    if (!insideRomData(rom, rom.cursor, GRAPHIC_RECORD_SIZE)) return false;
    record.unpackedSize = static_cast<uint16_t>(rom.readWord());
    record.dataAddress = rom.readLong();
    rom.seek(record.dataAddress, ADDR_LOROM);
    dataIndex = rom.cursor;
    return true;
}

DirectoryWalk walkGraphicsDirectory(RomImage& rom, const std::function<bool(const DecodedGraphic&)>& take) {
    // One buffer for every graphic, the largest a record can describe;
    // for the address sanitizer, each graphic's is exactly its size.
    constexpr uint32_t LARGEST = 0xFFFF;
    const std::unique_ptr<uint8_t[]> buffer(new uint8_t[LARGEST]);
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        DecodedGraphic g;
        g.number = graphic;
        if (!readGraphicRecord(rom, graphic, g.record, g.dataIndex)) return {DirectoryWalk::ReadError, graphic};

        const uint32_t size = std::max<uint32_t>(g.record.unpackedSize, 1);
        ASAN_UNPOISON_MEMORY_REGION(buffer.get(), size);
        ASAN_POISON_MEMORY_REGION(buffer.get() + size, LARGEST - size);

        g.decoded = decompressGraphic(rom, g.record.unpackedSize, buffer.get());
        if (!insideRomData(rom, g.dataIndex, g.decoded.packedLength)) return {DirectoryWalk::ReadError, graphic};

        // The offset, in an image without copier header, of the first byte
        // after the compressed data read: where the decoder left the cursor.
        g.endOffset = rom.tell(ADDR_FILE);
        g.bytes = buffer.get();
        if (!take(g)) return {DirectoryWalk::Stopped, graphic};
    }
    return {DirectoryWalk::Complete, GRAPHICS_COUNT};
}

std::string graphicFileName(int graphic) {
    char name[32];
    std::snprintf(name, sizeof name, GRAPHIC_FILE_FORMAT, graphic);
    return name;
}

std::string graphicPath(const std::string& folder, int graphic) {
    return folder + pathSeparator() + graphicFileName(graphic);
}

GraphicsFolder checkGraphicsFolder(const std::string& folder) {
    switch (fileKind(folder.c_str())) {
        case FileKind::Missing: return GraphicsFolder::Missing;
        case FileKind::Regular:
        case FileKind::Other: return GraphicsFolder::NotAFolder;
        case FileKind::Folder:
        case FileKind::Unknown: break;
    }
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        if (fileKind(graphicPath(folder, graphic).c_str()) != FileKind::Missing) return GraphicsFolder::Usable;
    }
    return GraphicsFolder::NoGraphics;
}
