#include "tool/GraphicsDirectory.h"

#include "tool/Decompress.h"
#include "tool/GameLayout.h"
#include "tool/Platform.h"

#include <algorithm>
#include <memory>

namespace {

// True when the length bytes from the cursor lie inside the image. 64-bit,
// so that a cursor near 2^32 cannot wrap back into range.
bool insideImage(const RomImage& rom, uint32_t start, uint64_t length) {
    return rom.size >= 0 && uint64_t{start} + length <= static_cast<uint64_t>(rom.size);
}

bool readRecord(RomImage& rom, int graphic, GraphicRecord& record) {
    rom.seek(GRAPHICS_DIRECTORY_ADDR + GRAPHIC_RECORD_SIZE * static_cast<uint32_t>(graphic), ADDR_LOROM);
    if (!insideImage(rom, rom.cursor, GRAPHIC_RECORD_SIZE)) return false;
    record.unpackedSize = static_cast<uint16_t>(rom.readWord());
    record.dataAddress = rom.readLong();
    return true;
}

void writeGraphicFile(FILE* file, const uint8_t* bytes, uint32_t length) {
    std::fwrite(bytes, 1, length, file);
    std::fclose(file);
}

int32_t fail(FILE* log, const char* message, int graphic) {
    std::printf(message, graphicPath(graphic).c_str());
    std::fclose(log);
    return 1;
}

}  // namespace

std::string graphicPath(int graphic) {
    char path[64];
    std::snprintf(path, sizeof path, "%s%cgrafico_%03d.bin", OUTPUT_FOLDER, pathSeparator(), graphic);
    return path;
}

int32_t extractGraphics(RomImage& rom, FILE* log) {
    std::unique_ptr<uint8_t[]> buffer;
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        GraphicRecord record;
        if (!readRecord(rom, graphic, record)) return fail(log, "Erro de leitura de %s\n", graphic);

        buffer.reset();
        buffer.reset(new uint8_t[std::max<uint32_t>(record.unpackedSize, 1)]);

        rom.seek(record.dataAddress, ADDR_LOROM);
        const uint32_t start = rom.cursor;
        const GraphicDecode decoded = decompressGraphic(rom, record.unpackedSize, buffer.get());
        if (!insideImage(rom, start, decoded.packedLength)) return fail(log, "Erro de leitura de %s\n", graphic);

        makeFolder(OUTPUT_FOLDER);
        FILE* file = std::fopen(graphicPath(graphic).c_str(), "wb");
        if (!file) return fail(log, "Erro de escrita de %s\n", graphic);
        writeGraphicFile(file, buffer.get(), decoded.producedLength);

        // The offset, in an image without copier header, of the first byte
        // after the compressed data read: where the decoder left the cursor.
        std::fprintf(log, "grafico_%03d.bin %06x %04x %06x\n", graphic, record.dataAddress,
                     decoded.packedLength, rom.tell(ADDR_FILE));
    }
    std::fclose(log);
    return 0;
}
