#include "programs/brelquim-build/Init.h"

#include "cli/Words.h"
#include "graphics/GameImage.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"
#include "insertion/NewImage.h"
#include "platform/FileBytes.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"
#include "programs/brelquim-build/Words.h"
#include "project/Digest.h"
#include "project/Project.h"

#include <cstdio>
#include <vector>

namespace build_program {

namespace {

struct Extracted {
    std::vector<std::vector<uint8_t>> graphics;
    std::string log;  // as brelquim writes log.txt
};

// Every graphic of the image, decoded in memory; false after the words
// when one cannot be read.
bool extractAll(RomImage& rom, Extracted& extracted) {
    const DirectoryWalk walk = walkGraphicsDirectory(rom, [&extracted](const DecodedGraphic& g) {
        extracted.graphics.emplace_back(g.bytes, g.bytes + g.decoded.producedLength);
        char line[64];
        std::snprintf(line, sizeof line, LOG_LINE_FORMAT, g.number, static_cast<unsigned>(g.record.dataAddress),
                      static_cast<unsigned>(g.decoded.packedLength), static_cast<unsigned>(g.endOffset));
        extracted.log += line;
        return true;
    });
    if (walk.outcome == DirectoryWalk::Complete) return true;
    printGraphicUnreadable(walk.graphic);
    return false;
}

bool writeWhole(const std::string& path, const void* bytes, size_t length) {
    const ReplacingFile::Outcome written = ReplacingFile::replaceWith(path, bytes, length);
    if (written == ReplacingFile::Outcome::Replaced) return true;
    cli::printWriteFailure(path, written);
    return false;
}

}  // namespace

int runInit(const BuildOptions& options) {
    if (fileKind(PROJECT_FILE) != FileKind::Missing) {
        printProjectExists(PROJECT_FILE);
        return 1;
    }
    const GraphicsFolder folder = checkGraphicsFolder(OUTPUT_FOLDER);
    if (folder == GraphicsFolder::Usable || folder == GraphicsFolder::NotAFolder) {
        if (folder == GraphicsFolder::Usable) {
            printFolderHoldsGraphics(OUTPUT_FOLDER);
        } else {
            cli::printFolderRefusal(folder, OUTPUT_FOLDER);
        }
        return 1;
    }
    if (!options.table.empty()) {
        std::vector<uint8_t> table;
        const FileRead read = readWholeFile(options.table, table);
        if (read != FileRead::Read) {
            cli::printReadFailure(options.table, read);
            cli::printNothingWritten();
            return 1;
        }
    }
    RomImage rom;
    if (!cli::loadImageOrRefuse(rom, options.input)) return 1;
    Extracted extracted;
    if (!extractAll(rom, extracted)) return 1;
    const std::string digest = sha256Hex(rom.romData(), rom.romDataSize());

    makeFolder(OUTPUT_FOLDER);
    for (size_t g = 0; g < extracted.graphics.size(); ++g) {
        const std::vector<uint8_t>& bytes = extracted.graphics[g];
        if (!writeWhole(graphicPath(OUTPUT_FOLDER, static_cast<int>(g)), bytes.data(), bytes.size())) return 1;
    }
    if (!writeWhole(LOG_FILE, extracted.log.data(), extracted.log.size())) return 1;
    // The project last: a run that stopped part way can be run again.
    const std::string project = newProjectText(options.input, digest, options.table);
    if (!writeWhole(PROJECT_FILE, project.data(), project.size())) return 1;
    if (rom.headerBytes() > 0) printCopierHeader(options.input);
    printInitDone(static_cast<int>(extracted.graphics.size()), OUTPUT_FOLDER, PROJECT_FILE, digest);
    return 0;
}

}  // namespace build_program
