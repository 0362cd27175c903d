#include "cli/Words.h"

#include <cstdio>

namespace {

constexpr uint32_t ONE_KIB = 1024;
// Past this much ROM data, emulators map a LoROM game's save RAM
// differently.
constexpr uint32_t SAVE_RAM_MAPPING_EDGE = 0x200000;

}  // namespace

const char* placeKindWords(PlaceKind kind) {
    switch (kind) {
        case PlaceKind::InPlace: return "no mesmo lugar";
        case PlaceKind::FreeRange: return "movido para uma faixa livre";
        case PlaceKind::Vacated: return "movido para espa\xE7o liberado";
        case PlaceKind::Appended: return "movido para espa\xE7o novo no fim";
    }
    return "";
}

void printGrowth(uint32_t oldRomDataSize, uint32_t newRomDataSize, const char* things) {
    if (newRomDataSize <= oldRomDataSize) return;
    std::printf("A imagem cresceu de %u KiB para %u KiB.\n", static_cast<unsigned>(oldRomDataSize / ONE_KIB),
                static_cast<unsigned>(newRomDataSize / ONE_KIB));
    std::printf("Dica: --free <in\xED""cio>:<fim> indica espa\xE7o que o jogo n\xE3o usa; %s que cabem l\xE1 "
                "n\xE3o aumentam a imagem.\n",
                things);
    if (oldRomDataSize <= SAVE_RAM_MAPPING_EDGE && newRomDataSize > SAVE_RAM_MAPPING_EDGE) {
        std::printf("Aten\xE7\xE3o: a imagem passou de 2 MiB; emuladores mapeiam a RAM de salvamento "
                    "de um jogo LoROM de outro modo.\n");
    }
}
