#include "programs/brelquim/Run.h"

#include "rom/RomImage.h"
#include "programs/brelquim/Extraction.h"
#include "programs/brelquim/Words.h"
#include "graphics/GameImage.h"
#include "graphics/GameLayout.h"
#include "platform/Platform.h"

#include <cstdio>
#include <cstring>

namespace extract_program {

namespace {

// Room the run keeps for the ROM path: 127 characters and the terminator.
constexpr size_t PATH_BUFFER_SIZE = 128;

// An entry that begins with '-' and 'i' marks the next entry as the path;
// the entry after a marker is never itself taken as a marker. The last
// path found wins; nullptr when none was found.
const char* findRomPath(int argc, char** argv) {
    const char* path = nullptr;
    for (int i = 0; i < argc; ++i) {
        const char* entry = argv[i];
        if (entry[0] == '-' && entry[1] == 'i' && i + 1 < argc) {
            path = argv[++i];
        }
    }
    return path;
}

int usage() {
    std::printf("Uso:\nbrelquim.exe -i <rom>\n\n");
    return 1;
}

}  // namespace

int runTool(int argc, char** argv) {
    RomImage rom;
    std::printf("Brelquim v%s\n", PROGRAM_VERSION);

    const char* path = argc > 0 ? findRomPath(argc, argv) : nullptr;
    if (argc != 3 || !path) return usage();
    if (std::strlen(path) >= PATH_BUFFER_SIZE) {
        std::printf("Caminho muito longo: ");
        printVerbatim(path);
        std::printf("\n");
        return 1;
    }

    const ImageLoad load = loadGameImage(rom, path);
    if (load.outcome != ImageLoad::Loaded) {
        printImageRefusal(rom, load);
        return 1;
    }
    printChecksum(static_cast<uint16_t>(rom.checksum));

    FILE* log = openFile(LOG_FILE, "w");
    if (!log) {
        printLogWriteError();
        return 1;
    }
    return extractGraphics(rom, log);
}

}  // namespace extract_program
