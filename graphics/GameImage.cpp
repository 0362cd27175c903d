#include "graphics/GameImage.h"

#include "graphics/GameLayout.h"
#include "platform/Platform.h"

#include <cstdio>
#include <climits>
#include <cstring>
#include <vector>

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

namespace {

// Reads an open file whole; false when reading fails or it is 2 GiB or more.
bool readAll(FILE* file, std::vector<uint8_t>& bytes) {
    constexpr size_t PIECE = size_t(1) << 20;
    for (;;) {
        const size_t had = bytes.size();
        if (had > static_cast<size_t>(INT32_MAX)) return false;
        bytes.resize(had + PIECE);
        const size_t got = std::fread(bytes.data() + had, 1, PIECE, file);
        bytes.resize(had + got);
        if (got < PIECE) return std::ferror(file) == 0;
    }
}

}  // namespace

bool loadGameImageFile(RomImage& rom, const std::string& path) {
    InputOpen opened = InputOpen::Failed;
    FILE* file = openInputFile(path.c_str(), opened);
    if (!file) {
        reportOpenFailure(path.c_str());
        std::printf(opened == InputOpen::NotAFile ? "N\xE3o \xE9 um arquivo comum.\n" : "Arquivo n\xE3o encontrado.\n");
        return false;
    }
    std::vector<uint8_t> bytes;
    const bool read = readAll(file, bytes);
    std::fclose(file);
    if (!read || rom.assign(bytes.data(), bytes.size()) != 0) {
        reportOpenFailure(path.c_str());
        std::printf("Arquivo n\xE3o encontrado.\n");
        return false;
    }
    return isExpectedGame(rom);
}
