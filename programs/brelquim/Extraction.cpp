#include "programs/brelquim/Extraction.h"

#include "programs/brelquim/Words.h"

#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/Platform.h"

#include <string>

namespace extract_program {

namespace {

// Room for the whole log: a line is at most 39 bytes (a compressed length
// of five digits, an end offset of eight in an image of 16 MiB or more, a
// CR LF line end), so the log reaches its file in one write, at the close.
// A write that fails earlier is caught at the line that makes it.
constexpr size_t LOG_BUFFER_SIZE = GRAPHICS_COUNT * 40;

// The bytes go to the file in one write, straight from the graphic's
// buffer: no stream buffer to allocate, fill and flush at the close. False
// when the write or the close failed (a full disk, a file size limit).
bool writeGraphicFile(FILE* file, const uint8_t* bytes, uint32_t length) {
    std::setvbuf(file, nullptr, _IONBF, 0);
    bool written = std::fwrite(bytes, 1, length, file) == length;
    if (std::fflush(file) != 0) written = false;
    if (std::fclose(file) != 0) written = false;
    return written;
}

}  // namespace

int32_t extractGraphics(RomImage& rom, FILE* log) {
    std::string logBuffer(LOG_BUFFER_SIZE, '\0');
    std::setvbuf(log, &logBuffer[0], _IOFBF, logBuffer.size());

    bool logFailed = false;
    const DirectoryWalk walk = walkGraphicsDirectory(rom, [log, &logFailed](const DecodedGraphic& g) {
        makeFolder(OUTPUT_FOLDER);
        FILE* file = openFile(graphicPath(OUTPUT_FOLDER, g.number).c_str(), "wb");
        if (!file || !writeGraphicFile(file, g.bytes, g.decoded.producedLength)) return false;
        logFailed = std::fprintf(log, LOG_LINE_FORMAT, g.number, g.record.dataAddress, g.decoded.packedLength,
                                 g.endOffset) < 0;
        return !logFailed;
    });
    if (walk.outcome == DirectoryWalk::ReadError) printGraphicReadError(walk.graphic);
    if (walk.outcome == DirectoryWalk::Stopped && !logFailed) printGraphicWriteError(walk.graphic);
    // The lines of the graphics written stay in the log on every way out.
    if (std::fclose(log) != 0) logFailed = true;
    if (logFailed) printLogWriteError();
    return walk.outcome == DirectoryWalk::Complete && !logFailed ? 0 : 1;
}

}  // namespace extract_program
