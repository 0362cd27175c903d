#include "graphics/GraphicsDirectory.h"

#include "graphics/Decompress.h"
#include "graphics/GameLayout.h"
#include "platform/Platform.h"

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

bool readRecord(RomImage& rom, int graphic, GraphicRecord& record) {
    rom.seek(GRAPHICS_DIRECTORY_ADDR + GRAPHIC_RECORD_SIZE * static_cast<uint32_t>(graphic), ADDR_LOROM);
    if (!insideRomData(rom, rom.cursor, GRAPHIC_RECORD_SIZE)) return false;
    record.unpackedSize = static_cast<uint16_t>(rom.readWord());
    record.dataAddress = rom.readLong();
    return true;
}

}  // namespace

DirectoryWalk walkGraphicsDirectory(RomImage& rom, const std::function<bool(const DecodedGraphic&)>& take) {
    std::unique_ptr<uint8_t[]> buffer;
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        DecodedGraphic g;
        g.number = graphic;
        if (!readRecord(rom, graphic, g.record)) return {DirectoryWalk::ReadError, graphic};

        buffer.reset();
        buffer.reset(new uint8_t[std::max<uint32_t>(g.record.unpackedSize, 1)]);

        rom.seek(g.record.dataAddress, ADDR_LOROM);
        g.dataIndex = rom.cursor;
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
