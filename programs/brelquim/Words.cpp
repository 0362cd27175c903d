#include "programs/brelquim/Words.h"

#include "cli/Words.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"

#include <cstdio>

namespace extract_program {

void printImageRefusal(const RomImage& rom, const ImageLoad& load) {
    if (load.outcome == ImageLoad::NotRead) {
        cli::printFileNotFound();
    } else {
        cli::printImageRefusal(rom, load.outcome);
    }
}

void printChecksum(uint16_t checksum) { std::printf("checksum: %x\n", static_cast<unsigned>(checksum)); }

void printLogWriteError() { std::printf("Erro de escrita.\n"); }

void printGraphicReadError(int graphic) {
    cli::printWithPath("Erro de leitura de ", graphicPath(OUTPUT_FOLDER, graphic));
}

void printGraphicWriteError(int graphic) {
    cli::printWriteFailure(graphicPath(OUTPUT_FOLDER, graphic), ReplacingFile::Outcome::Failed);
}

}  // namespace extract_program
