#include "cli/Words.h"

#include "rom/HeaderLayout.h"

#include "graphics/GameLayout.h"
#include "platform/Platform.h"
#include "rom/Position.h"

#include <cstdio>

namespace cli {

namespace {

// Past this much ROM data, emulators map a LoROM game's save RAM
// differently.
constexpr uint32_t SAVE_RAM_MAPPING_EDGE = 0x200000;

// A line of its own after RomImage's open failure line.
void printReason(const char* reason) { std::printf("%s\n", reason); }

}  // namespace

void printWithPath(const char* before, const std::string& path, const char* after) {
    std::fputs(before, stdout);
    printVerbatim(path.c_str());
    std::fputs(after, stdout);
}

void printNothingWritten() { std::printf("Nada foi gravado.\n"); }

void printFileNotFound() { printReason("Arquivo n\xE3o encontrado."); }

void printReadFailure(const std::string& path, FileRead outcome) {
    switch (outcome) {
        case FileRead::Read: return;
        case FileRead::Unreadable: printWithPath("Erro de leitura de ", path); return;
        case FileRead::Missing:
        case FileRead::CannotOpen:
        case FileRead::NotAFile:
        case FileRead::TooLarge: break;
    }
    reportOpenFailure(path.c_str());
    if (outcome == FileRead::Missing) printFileNotFound();
    if (outcome == FileRead::NotAFile) printReason("N\xE3o \xE9 um arquivo comum.");
    if (outcome == FileRead::TooLarge) printReason("O arquivo \xE9 grande demais.");
}

void printWriteFailure(const std::string& path, ReplacingFile::Outcome outcome) {
    switch (outcome) {
        case ReplacingFile::Outcome::Replaced: return;
        case ReplacingFile::Outcome::NotAFile:
            printWithPath("N\xE3o \xE9 poss\xED""vel gravar sobre o que n\xE3o \xE9 um arquivo comum: ", path);
            return;
        case ReplacingFile::Outcome::Failed: printWithPath("Erro de escrita de ", path); return;
    }
}

void printOutputIsInput(const std::string& output) {
    printWithPath("A sa\xED""da n\xE3o pode ser um dos arquivos de entrada: ", output);
    printNothingWritten();
}

void printImageRefusal(const RomImage& rom, ImageLoad::Outcome outcome) {
    if (outcome == ImageLoad::OtherGame) {
        std::printf("A ROM n\xE3o aparenta ser do jogo esperado!\nROMNAME:[");
        printFromFile(rom.title);
        std::printf("]\n");
    }
    if (outcome == ImageLoad::OtherRevision) std::printf("ROM incompat\xEDvel! Utilizar a vers\xE3o 1.1\n");
}

void printImageLoadFailure(const RomImage& rom, const std::string& path, const ImageLoad& load) {
    if (load.outcome == ImageLoad::NotRead) {
        printReadFailure(path, load.read);
    } else {
        printImageRefusal(rom, load.outcome);
    }
}

void printFolderRefusal(GraphicsFolder problem, const std::string& folder) {
    switch (problem) {
        case GraphicsFolder::Missing: printWithPath("Pasta n\xE3o encontrada: ", folder); break;
        case GraphicsFolder::NotAFolder: printWithPath("N\xE3o \xE9 uma pasta: ", folder); break;
        case GraphicsFolder::NoGraphics: printWithPath("Nenhum grafico_NNN.bin na pasta ", folder); break;
        case GraphicsFolder::Usable: return;
    }
    printNothingWritten();
}

std::string formatRange(const Span& range) { return formatBusAddress(range.start) + ":" + formatBusAddress(range.end); }

void printFreeRangeRefusal(const Span& range, const FreeRangeRefusal& refusal) {
    std::printf("Faixa livre %s", formatRange(range).c_str());
    switch (refusal.kind) {
        case FreeRangeRefusal::OutsideRomData: std::printf(" fora dos dados da ROM.\n"); break;
        case FreeRangeRefusal::OverlapsHeader: std::printf(" cobre o cabe\xE7""alho interno da ROM.\n"); break;
        case FreeRangeRefusal::OverlapsDirectory: std::printf(" cobre o diret\xF3rio de gr\xE1""ficos.\n"); break;
        case FreeRangeRefusal::OverlapsFixed:
        case FreeRangeRefusal::OverlapsBlock:
            switch (refusal.obstacle) {
                case Obstacle::Graphic:
                    std::printf(" cobre os dados de %s.\n", graphicFileName(refusal.graphic).c_str());
                    break;
                case Obstacle::PointerTable:
                    std::printf(" cobre a tabela de ponteiros %u.\n", static_cast<unsigned>(refusal.pointerTable + 1));
                    break;
                case Obstacle::String:
                    std::printf(" cobre o texto %u.\n", static_cast<unsigned>(refusal.string + 1));
                    break;
            }
            break;
        case FreeRangeRefusal::None: return;
    }
    printNothingWritten();
}

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

void printBytesAdded(uint32_t oldRomDataSize, uint32_t newRomDataSize) {
    std::printf("Bytes acrescentados \xE0 imagem: %u\n", static_cast<unsigned>(newRomDataSize - oldRomDataSize));
}

void printNewChecksum(uint16_t checksum) {
    std::printf("Checksum da nova imagem: %x\n", static_cast<unsigned>(checksum));
}

void printPatchOverRunFile(const std::string& patch) {
    printWithPath("O patch n\xE3o pode ser gravado sobre outro arquivo desta execu\xE7\xE3o: ", patch);
    printNothingWritten();
}

void printPatchNotMade(PatchOutcome made) {
    if (made == PatchOutcome::TooLargeForIps) {
        std::printf("Imagem de mais de 16 MiB: o formato IPS n\xE3o chega al\xE9m disso. Use um patch .bps.\n");
    } else {
        std::printf("Imagem de mais de 64 MiB: grande demais para um patch.\n");
    }
}

void printPatchWritten(PatchFormat format, const std::string& path, size_t patchSize) {
    printWithPath(format == PatchFormat::Ips ? "Patch IPS gravado: " : "Patch BPS gravado: ", path, "");
    std::printf(" (%llu bytes)\n", wide(patchSize));
}

void printNewImageFailure(const NewImageWrite& written, const std::string& output, const std::string& patch) {
    switch (written.outcome) {
        case NewImageWrite::Written: return;
        case NewImageWrite::PatchNotMade: printPatchNotMade(written.made); break;
        case NewImageWrite::ImageNotWritten: printWriteFailure(output, written.file); break;
        case NewImageWrite::PatchNotWritten: printWriteFailure(patch, written.file); break;
        case NewImageWrite::PatchNotRenamed:
            printWriteFailure(patch, written.file);
            std::printf("A nova ROM foi gravada, mas o patch n\xE3o.\n");
            return;
    }
    printNothingWritten();
}

namespace {

const char* typeWords(ProjectProblem::Type type) {
    switch (type) {
        case ProjectProblem::Text: return "um texto entre aspas";
        case ProjectProblem::Integer: return "um n\xFAmero inteiro";
        case ProjectProblem::Boolean: return "true ou false";
        case ProjectProblem::List: return "uma lista [...]";
        case ProjectProblem::Table: return "uma se\xE7\xE3o ou tabela { ... }";
        case ProjectProblem::IntegerOrGlyph: return "um n\xFAmero inteiro ou \"glyph\"";
    }
    return "";
}

}  // namespace

void printProjectRefusal(const std::string& path, const ProjectProblem& problem) {
    printWithPath("Projeto ", path, "");
    if (problem.kind == ProjectProblem::MissingKey) {
        std::printf(": falta a chave %s.\n", problem.key.c_str());
    } else {
        std::printf(", linha %u: ", static_cast<unsigned>(problem.line));
    }
    switch (problem.kind) {
        case ProjectProblem::Syntax: std::printf("o arquivo n\xE3o \xE9 TOML v\xE1lido.\n"); break;
        case ProjectProblem::UnknownSection: std::printf("se\xE7\xE3o desconhecida [%s].\n", problem.key.c_str()); break;
        case ProjectProblem::UnknownKey: std::printf("chave desconhecida %s.\n", problem.key.c_str()); break;
        case ProjectProblem::WrongType:
            std::printf("%s deve ser %s.\n", problem.key.c_str(), typeWords(problem.expected));
            break;
        case ProjectProblem::BadValue: std::printf("valor inv\xE1lido para %s.\n", problem.key.c_str()); break;
        case ProjectProblem::BadPosition:
            std::printf("posi\xE7\xE3o inv\xE1lida em %s: ", problem.key.c_str());
            printVerbatim(problem.value.c_str());
            std::printf("\n");
            break;
        case ProjectProblem::BadGraphic:
            std::printf("%s: os gr\xE1""ficos do jogo v\xE3o de 0 a %d.\n", problem.key.c_str(), GRAPHICS_COUNT - 1);
            break;
        case ProjectProblem::MissingKey:
        case ProjectProblem::None: break;
    }
    printNothingWritten();
}

}  // namespace cli
