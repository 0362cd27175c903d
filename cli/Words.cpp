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

bool writeWhole(const std::string& path, const void* bytes, size_t length) {
    if (replaceOrSay(path, bytes, length)) return true;
    printNothingWritten();
    return false;
}

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
    if (outcome == FileRead::CannotOpen) printReason("O arquivo existe, mas n\xE3o p\xF4""de ser aberto para leitura.");
    if (outcome == FileRead::NotAFile) printReason("N\xE3o \xE9 um arquivo comum.");
    if (outcome == FileRead::TooLarge) printReason("O arquivo \xE9 grande demais.");
}

namespace {

// The system's reason of a failed write, as a line of its own; nothing
// when it is not known.
void printSystemReason(SystemReason reason) {
    switch (reason) {
        case SystemReason::NoSpace: printReason("N\xE3o h\xE1 espa\xE7o livre no disco."); break;
        case SystemReason::NoPermission: printReason("Sem permiss\xE3o para gravar ali."); break;
        case SystemReason::ReadOnly: printReason("O disco s\xF3 permite leitura."); break;
        case SystemReason::TooLarge: printReason("O arquivo passaria do tamanho que o sistema permite."); break;
        case SystemReason::NoFolder: printReason("A pasta n\xE3o existe."); break;
        case SystemReason::Unknown: break;
    }
}

}  // namespace

void printWriteFailure(const std::string& path, ReplacingFile::Outcome outcome, SystemReason reason) {
    switch (outcome) {
        case ReplacingFile::Outcome::Replaced: return;
        case ReplacingFile::Outcome::NotAFile:
            printWithPath("N\xE3o \xE9 poss\xED""vel gravar sobre o que n\xE3o \xE9 um arquivo comum: ", path);
            return;
        case ReplacingFile::Outcome::Failed:
            printWithPath("Erro de escrita de ", path);
            printSystemReason(reason);
            return;
    }
}

bool replaceOrSay(const std::string& path, const void* bytes, size_t length) {
    SystemReason reason = SystemReason::Unknown;
    const ReplacingFile::Outcome written = ReplacingFile::replaceWith(path, bytes, length, &reason);
    printWriteFailure(path, written, reason);
    return written == ReplacingFile::Outcome::Replaced;
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

void printFreeRoomLeft(const std::vector<Span>& ranges, const std::vector<uint32_t>& left,
                       const std::vector<bool>& used) {
    for (size_t r = 0; r < used.size(); ++r) {
        if (!used[r]) continue;
        std::printf("Faixa livre %s: %u bytes ainda livres\n", formatRange(ranges[r]).c_str(),
                    static_cast<unsigned>(left[r]));
    }
}

void printMergedFreeRanges(const std::vector<Span>& merged) {
    for (const Span& range : merged) {
        std::printf("Faixas livres sobrepostas juntadas em %s.\n", formatRange(range).c_str());
    }
}

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
        case NewImageWrite::ImageNotWritten: printWriteFailure(output, written.file, written.reason); break;
        case NewImageWrite::PatchNotWritten: printWriteFailure(patch, written.file, written.reason); break;
        case NewImageWrite::PatchNotRenamed:
            printWriteFailure(patch, written.file, written.reason);
            std::printf("A nova ROM foi gravada, mas o patch n\xE3o.\n");
            return;
    }
    printNothingWritten();
}

}  // namespace cli
