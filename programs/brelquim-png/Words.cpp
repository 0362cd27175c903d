#include "programs/brelquim-png/Words.h"

#include "cli/Words.h"
#include "png/PngImage.h"
#include "tiles/TileSheet.h"

#include <cstdarg>
#include <cstdio>

namespace png_program {

void printNotConvertible(const std::string& path) {
    cli::printWithPath("Nome n\xE3o termina em .bin nem em .png: ", path);
}


void printConverted(const std::string& path, const std::string& target) {
    cli::printWithPath("", path, " -> ");
    cli::printWithPath("", target);
}

void printFormatTaken(const TilesSource& source) {
    if (source.fromDepth) {
        std::printf("  Sem registro brelquim nem --bpp: formato %s, o da profundidade de %d bits do PNG.\n",
                    formatName(source.format), source.bitDepth);
    } else {
        std::printf("  Sem registro brelquim nem --bpp: formato %s, o padr\xE3o (PNG de %d bits por amostra).\n",
                    formatName(source.format), source.bitDepth);
    }
}

void printLargerThanAGraphic(const std::string& target, size_t bytes, size_t largest) {
    cli::printWithPath("Aviso: ", target, "");
    std::printf(" tem %llu bytes; o brelquim-insert aceita no m\xE1ximo %u bytes por gr\xE1""fico.\n",
                static_cast<unsigned long long>(bytes), static_cast<unsigned>(largest));
}


void printGalleryWritten(const char* page, int drawn, int missing, int unreadable) {
    std::printf("%s: %d gr\xE1" "ficos desenhados, %d ausentes, %d ileg\xEDveis\n", page, drawn, missing, unreadable);
}

void printGalleryWithoutLog(const char* log) {
    std::printf("%s ausente ou ileg\xEDvel: a galeria n\xE3o mostra endere\xE7os\n", log);
}

std::string unreadableWords(FileRead outcome) {
    switch (outcome) {
        case FileRead::TooLarge: return "arquivo grande demais";
        case FileRead::NotAFile: return "n\xE3o \xE9 um arquivo comum";
        case FileRead::CannotOpen:
        case FileRead::Unreadable:
        case FileRead::Missing:
        case FileRead::Read: break;
    }
    return "erro de leitura";
}

std::string drawnWithWords(const Options& options, const ConversionSettings& settings, bool project) {
    if (project) return "Cada gr\xE1""fico no formato que o projeto lhe d\xE1. Cada pixel em 2 x 2.";
    std::string text = std::string("Formato ") + formatName(settings.format) + ", " +
                       std::to_string(settings.arrangement.columns) + " colunas";
    if (settings.arrangement.blocks16) text += ", em blocos de 16x16";
    text += ", paleta: ";
    if (options.paletteFile.empty()) {
        text += "escala de cinza (" + std::to_string(colourCount(settings.format)) + " tons)";
    } else {
        text += options.paletteFile + ", linha " + std::to_string(options.paletteRow);
    }
    return text + ". Cada pixel em 2 x 2.";
}

}  // namespace png_program
