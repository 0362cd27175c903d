#include "programs/brelquim-insert/Words.h"

#include "cli/Mistake.h"
#include "cli/ProjectFile.h"
#include "cli/Words.h"
#include "insertion/NewImage.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/Platform.h"
#include "rom/RomImage.h"

#include <cstdio>

namespace insert_program {

namespace {

// A line about a graphic's file: before, its path ("<folder>/grafico_NNN.bin",
// the folder as the user gave it), after.
void printGraphicLine(const char* before, const std::string& folder, int graphic, const char* after) {
    cli::printWithPath(before, graphicPath(folder, graphic), after);
}

}  // namespace

const cli::Spec& insertOptionSpec() {
    static const cli::Spec spec = [] {
        cli::Spec declared;
        cli::Option input{{"-i"}, "<rom>", "a imagem de origem (nunca alterada)"};
        input.required = true;
        input.projectGives = true;
        input.check = cli::nonEmpty;
        cli::Option output{{"-o"}, "<nova rom>", "a imagem a gravar, com os gr\xE1""ficos editados"};
        output.required = true;
        output.check = cli::nonEmpty;
        cli::Option folder{{"--dir"}, "<pasta>",
                           std::string("onde est\xE3o os grafico_NNN.bin editados (padr\xE3o: ") + OUTPUT_FOLDER + ")"};
        folder.check = cli::nonEmpty;
        cli::Option free{{"--free"}, "<in\xED""cio>:<fim>",
                         "faixa sem uso da ROM, fim exclusivo; pode ser repetida. Em hexadecimal,\n"
                         "sem cabe\xE7""alho de copiadora (80000:90000), ou em endere\xE7os LoROM\n"
                         "($90:8000:$91:8000)"};
        free.repeatable = true;
        free.check = cli::isFreeRange;
        const cli::Option resize{{"--allow-resize"}, "", "aceita gr\xE1""ficos de outro tamanho (1 a 65535 bytes)"};
        cli::Option patch{{"--patch"}, "<arquivo.bps|.ips>",
                          "grava tamb\xE9m o patch da ROM de origem para a nova (sem cabe\xE7""alho de copiadora)"};
        patch.check = isPatchPath;
        declared.options = {input, output, folder, free, resize, patch, cli::projectOption(), cli::helpOption("mostra esta ajuda"),
                            cli::versionOption("mostra a vers\xE3o")};
        return declared;
    }();
    return spec;
}

const cli::Program& insertProgram() {
    static const cli::Program program{"brelquim-insert", "Brelquim-insert", &insertOptionSpec(), {}};
    return program;
}

void printRefusal(const InsertResult& result, const InsertOptions& options) {
    const std::string& folder = options.folder;
    switch (result.outcome) {
        case InsertResult::ReadError:
            printGraphicLine("Erro de leitura de ", folder, result.graphic, "\n");
            break;
        case InsertResult::EditUnreadable:
            printGraphicLine("Erro ao ler ", folder, result.graphic, "\n");
            break;
        case InsertResult::EditEmpty:
            printGraphicLine("", folder, result.graphic,
                             ": arquivo vazio; um gr\xE1""fico tem de 1 a 65535 bytes.\n");
            break;
        case InsertResult::EditNotAFile:
            cli::printReadFailure(graphicPath(folder, result.graphic), FileRead::NotAFile);
            break;
        case InsertResult::EditTooLarge:
            printGraphicLine("", folder, result.graphic,
                             ": mais de 65535 bytes; um gr\xE1""fico tem de 1 a 65535 bytes.\n");
            break;
        case InsertResult::WrongSize:
            printGraphicLine("", folder, result.graphic, "");
            std::printf(": %u bytes, mas o gr\xE1""fico tem %u. Use --allow-resize para mudar o tamanho.\n",
                        static_cast<unsigned>(result.editSize), static_cast<unsigned>(result.graphicSize));
            break;
        case InsertResult::BadFreeRange:
            cli::printFreeRangeRefusal(options.freeRanges[result.freeRange.range], result.freeRange);
            return;
        case InsertResult::LongerThanBank:
            printGraphicLine("", folder, result.graphic,
                             ": comprimido passa de 32 KiB, mais que um banco da ROM; n\xE3o pode ser colocado.\n");
            break;
        case InsertResult::PastLoRomLimit:
            printGraphicLine("Sem espa\xE7o para ", folder, result.graphic,
                             ": a imagem passaria de 4 MiB, o limite de uma ROM LoROM.\n");
            break;
        case InsertResult::StreamOverChangedFields:
            std::printf("Os dados de %s cobrem bytes do diret\xF3rio ou do cabe\xE7""alho que a inser\xE7\xE3o "
                        "reescreve; o gr\xE1""fico mudaria.\n",
                        graphicFileName(result.graphic).c_str());
            break;
        case InsertResult::Mismatch:
            std::printf("Erro interno: %s n\xE3o confere na nova imagem.\n", graphicFileName(result.graphic).c_str());
            break;
        case InsertResult::Done:
            return;
    }
    cli::printNothingWritten();
}

void printChanges(const InsertResult& result, uint16_t checksum) {
    for (const GraphicChange& change : result.changes) {
        std::printf("%s %06x %04x -> %06x %04x %s\n", graphicFileName(change.graphic).c_str(),
                    static_cast<unsigned>(change.oldAddress), static_cast<unsigned>(change.oldLength),
                    static_cast<unsigned>(change.newAddress), static_cast<unsigned>(change.newLength),
                    cli::placeKindWords(change.kind));
    }
    cli::printGrowth(result.oldRomDataSize, result.newRomDataSize, "gr\xE1""ficos");
    std::printf("Gr\xE1""ficos alterados: %u\n", static_cast<unsigned>(result.changes.size()));
    cli::printBytesAdded(result.oldRomDataSize, result.newRomDataSize);
    cli::printNewChecksum(checksum);
}

}  // namespace insert_program
