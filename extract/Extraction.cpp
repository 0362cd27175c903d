#include "extract/Extraction.h"

#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/Platform.h"

namespace {

// The bytes go to the file in one write, straight from the graphic's
// buffer: no stream buffer to allocate, fill and flush at the close.
void writeGraphicFile(FILE* file, const uint8_t* bytes, uint32_t length) {
    std::setvbuf(file, nullptr, _IONBF, 0);
    std::fwrite(bytes, 1, length, file);
    std::fclose(file);
}

int32_t fail(FILE* log, const char* message, int graphic) {
    std::printf(message, graphicPath(OUTPUT_FOLDER, graphic).c_str());
    std::fclose(log);
    return 1;
}

}  // namespace

int32_t extractGraphics(RomImage& rom, FILE* log) {
    const DirectoryWalk walk = walkGraphicsDirectory(rom, [log](const DecodedGraphic& g) {
        makeFolder(OUTPUT_FOLDER);
        FILE* file = openFile(graphicPath(OUTPUT_FOLDER, g.number).c_str(), "wb");
        if (!file) return false;
        writeGraphicFile(file, g.bytes, g.decoded.producedLength);
        std::fprintf(log, LOG_LINE_FORMAT, g.number, g.record.dataAddress, g.decoded.packedLength, g.endOffset);
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
