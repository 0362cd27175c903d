#include "programs/brelquim-png/Words.h"

#include "cli/Words.h"
#include "png/PngImage.h"
#include "tiles/TileSheet.h"

#include <cstdarg>
#include <cstdio>

namespace png_program {

namespace {

std::string formatted(const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

using cli::wide;

std::string colourWords(const ConversionProblem& problem) {
    std::string text =
        problem.kind == ConversionProblem::ColourNotInPalette
            ? formatted("cor #%06X no pixel (%u, %u) n\xE3o est\xE1 na paleta", problem.colour, problem.x, problem.y)
            : formatted("cor #%06X no pixel (%u, %u) est\xE1 em duas entradas da paleta (%u e %u)", problem.colour,
                        problem.x, problem.y, problem.first, problem.second);
    if (problem.greyRamp) {
        text += "; sem --palette vale a escala de cinza: d\xEA com --palette a paleta com que a imagem foi desenhada";
    }
    return text;
}

}  // namespace

std::string conversionWords(const ConversionProblem& problem) {
    switch (problem.kind) {
        case ConversionProblem::PictureTooLarge:
            return formatted("imagem grande demais (o limite \xE9 de %u pixels de largura e %u pixels ao todo)",
                             MAX_PICTURE_WIDTH, MAX_PICTURE_PIXELS);
        case ConversionProblem::PngNotWritten: return "a biblioteca PNG n\xE3o conseguiu escrever a imagem";
        case ConversionProblem::BadPng: return "PNG inv\xE1lido ou danificado";
        case ConversionProblem::BadRecord: return "registro brelquim ileg\xEDvel";
        case ConversionProblem::NotWholeCells:
            return formatted("tamanho %u x %u n\xE3o \xE9 de %s inteiros de %u x %u", problem.width, problem.height,
                             problem.side == TILE_SIDE ? "tiles" : "blocos", problem.side, problem.side);
        case ConversionProblem::WidthNotRecorded:
            return formatted("largura de %u pixels, mas o registro brelquim diz %u colunas (%u pixels)", problem.width,
                             problem.columns, problem.columns * TILE_SIDE);
        case ConversionProblem::RecordPastPicture:
            return formatted("o registro brelquim pede %llu bytes (%llu tiles), a imagem tem %llu tiles",
                             wide(problem.length), wide(problem.tiles), wide(problem.capacity));
        case ConversionProblem::ColourNotInPalette:
        case ConversionProblem::ColourTwice: return colourWords(problem);
        case ConversionProblem::IndexPastFormat:
            return formatted("\xEDndice %u no pixel (%u, %u) fora das %d cores do formato %s", problem.index, problem.x,
                             problem.y, colourCount(problem.format), formatName(problem.format));
        case ConversionProblem::DrawnPastRecord:
            return formatted("%llu tiles desenhados al\xE9m dos %llu bytes (%llu tiles) do registro brelquim; para "
                             "mant\xEA-los, tire do PNG o registro (chunk tEXt brelquim), converta de novo dando o "
                             "formato (--bpp/--mode7, --blocks16) e insira com --allow-resize",
                             wide(problem.drawn), wide(problem.length), wide(problem.tiles));
        case ConversionProblem::None: break;
    }
    return "";
}

std::string paletteWords(const PaletteProblem& problem) {
    switch (problem.kind) {
        case PaletteProblem::JascHeader: return "JASC-PAL sem a vers\xE3o 0100 e o n\xFAmero de cores";
        case PaletteProblem::JascColour:
            return "JASC-PAL com a cor " + std::to_string(problem.colour) + " ausente ou malformada";
        case PaletteProblem::RiffNoData: return "RIFF PAL sem bloco de dados v\xE1lido";
        case PaletteProblem::OddBgr555: return "paleta BGR555 com n\xFAmero \xEDmpar de bytes";
        case PaletteProblem::None: break;
    }
    return "";
}

void printNotConvertible(const std::string& path) {
    cli::printWithPath("Nome n\xE3o termina em .bin nem em .png: ", path);
}

void printConversionRefusal(const std::string& path, const std::string& reason) {
    cli::printWithPath("Erro em ", path, ": ");
    std::printf("%s\n", reason.c_str());
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

void printPaletteRefusal(const std::string& path, const std::string& reason) {
    cli::printWithPath("Paleta inv\xE1lida [", path, "]: ");
    std::printf("%s\n", reason.c_str());
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

std::string drawnWithWords(const Options& options, const ConversionSettings& settings) {
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
