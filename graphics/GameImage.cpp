#include "graphics/GameImage.h"

#include "graphics/GameLayout.h"
#include "platform/Platform.h"

#include <cstdio>
#include <cstring>

namespace {

bool isExpectedGame(const RomImage& rom) {
    if (std::memcmp(rom.title, EXPECTED_TITLE, sizeof EXPECTED_TITLE) != 0) {
        std::printf("A ROM n\xE3o aparenta ser do jogo esperado!\nROMNAME:[");
        printFromFile(rom.title);
        std::printf("]\n");
        return false;
    }
    if (rom.version != EXPECTED_VERSION) {
        std::printf("ROM incompat\xEDvel! Utilizar a vers\xE3o 1.1\n");
        return false;
    }
    return true;
}

}  // namespace

bool loadGameImage(RomImage& rom, const char* path) {
    rom.setRomPath(path);
    if (rom.load() != 0) {
        std::printf("Arquivo n\xE3o encontrado.\n");
        return false;
    }
    return isExpectedGame(rom);
}
