#include "tool/GraphicsDirectory.h"

#include "tool/Decompress.h"
#include "tool/GameLayout.h"
#include "tool/Platform.h"

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

// The bytes go to the file in one write, straight from the graphic's
// buffer: no stream buffer to allocate, fill and flush at the close.
void writeGraphicFile(FILE* file, const uint8_t* bytes, uint32_t length) {
    std::setvbuf(file, nullptr, _IONBF, 0);
    std::fwrite(bytes, 1, length, file);
    std::fclose(file);
}

int32_t fail(FILE* log, const char* message, int graphic) {
    std::printf(message, graphicPath(graphic).c_str());
    std::fclose(log);
    return 1;
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

std::string graphicPath(int graphic) {
    char path[64];
    std::snprintf(path, sizeof path, "%s%cgrafico_%03d.bin", OUTPUT_FOLDER, pathSeparator(), graphic);
    return path;
}

int32_t extractGraphics(RomImage& rom, FILE* log) {
    const DirectoryWalk walk = walkGraphicsDirectory(rom, [log](const DecodedGraphic& g) {
        makeFolder(OUTPUT_FOLDER);
        FILE* file = std::fopen(graphicPath(g.number).c_str(), "wb");
        if (!file) return false;
        writeGraphicFile(file, g.bytes, g.decoded.producedLength);
        std::fprintf(log, "grafico_%03d.bin %06x %04x %06x\n", g.number, g.record.dataAddress,
                     g.decoded.packedLength, g.endOffset);
        return true;
    });
    switch (walk.outcome) {
        case DirectoryWalk::ReadError: return fail(log, "Erro de leitura de %s\n", walk.graphic);
        case DirectoryWalk::Stopped: return fail(log, "Erro de escrita de %s\n", walk.graphic);
        case DirectoryWalk::Complete: break;
    }
    std::fclose(log);
    return 0;
}
