#include "programs/brelquim-patch/Words.h"

#include "cli/Words.h"
#include "graphics/GameLayout.h"
#include "platform/Platform.h"

#include <cstdio>

namespace patch_program {

namespace {

using cli::wide;

const char* formatName(PatchFormat format) {
    return format == PatchFormat::Ips ? "IPS" : "BPS";
}

// What is wrong with a malformed patch, or nullptr when the outcome is
// not about the patch's bytes.
const char* malformation(PatchOutcome outcome, PatchFormat format) {
    const bool ips = format == PatchFormat::Ips;
    switch (outcome) {
        case PatchOutcome::BadHeader:
            return ips ? "n\xE3o come\xE7""a com \"PATCH\"" : "n\xE3o come\xE7""a com \"BPS1\"";
        case PatchOutcome::Truncated:
            return ips ? "acaba no meio de um registro ou sem \"EOF\"" : "acaba no meio de um n\xFAmero ou de uma a\xE7\xE3o";
        case PatchOutcome::BadNumber: return "n\xFAmero grande demais (mais de 64 bits)";
        case PatchOutcome::MetadataPastEnd: return "os metadados passam do fim das a\xE7\xF5""es";
        case PatchOutcome::RecordPastLimit: return "registro passa de 16 MiB";
        case PatchOutcome::EmptyRun: return "registro de repeti\xE7\xE3o com contagem 0";
        case PatchOutcome::BytesAfterEnd: return "depois de \"EOF\" s\xF3 pode haver nada ou 3 bytes";
        case PatchOutcome::ActionPastTarget: return "a\xE7\xE3o escreve al\xE9m do tamanho do resultado";
        case PatchOutcome::ReadPastSource: return "SourceRead l\xEA al\xE9m do fim da original";
        case PatchOutcome::CopyOutsideSource: return "SourceCopy fora da original";
        case PatchOutcome::CopyOutsideTarget: return "TargetCopy de onde nada foi escrito ainda";
        case PatchOutcome::TargetIncomplete: return "as a\xE7\xF5""es acabam antes do tamanho do resultado";
        default: return nullptr;
    }
}

}  // namespace

const cli::Program& patchProgram() {
    static const std::string formatNote =
        "O formato segue a extens\xE3o do patch: .bps (com CRC32, recomendado) ou .ips.";
    static const auto declared = [](std::vector<cli::Positional> positionals) {
        cli::Spec spec;
        spec.options = {cli::helpOption("mostra este texto"), cli::versionOption("mostra a vers\xE3o")};
        spec.positionals = std::move(positionals);
        spec.notes = formatNote;
        return spec;
    };
    const cli::Positional patch{"<patch.bps|patch.ips>", true, false, isPatchName};
    const cli::Positional original{"<original>", true, false, cli::nonEmpty};
    static const cli::Spec own = declared({});
    static const cli::Spec create = declared({original, {"<modificada>", true, false, cli::nonEmpty}, patch});
    static const cli::Spec apply = declared({patch, original, {"<sa\xED""da>", true, false, cli::nonEmpty}});
    static const cli::Program program{
        "brelquim-patch",
        "Brelquim-patch",
        &own,
        {{"create", &create, "grava o patch que leva a original \xE0 modificada"},
         {"apply", &apply, "aplica o patch a uma c\xF3pia da original e grava a sa\xED""da"}}};
    return program;
}

void printRefusal(const PatchResult& result, PatchFormat format) {
    if (const char* what = malformation(result.outcome, format)) {
        std::printf("Patch %s malformado: %s (byte %llu do patch, 0x%llX).\n", formatName(format), what,
                    wide(result.offset), wide(result.offset));
    } else {
        switch (result.outcome) {
            case PatchOutcome::ImageTooLarge:
                std::printf("O resultado passaria de 64 MiB; n\xE3o \xE9 uma imagem de cartucho.\n");
                break;
            case PatchOutcome::PatchCrcMismatch:
                std::printf("CRC32 do patch n\xE3o confere: esperado %08llX, encontrado %08llX. "
                            "O patch est\xE1 danificado ou incompleto.\n",
                            wide(result.expected), wide(result.found));
                break;
            case PatchOutcome::SourceSizeMismatch:
                std::printf("A original n\xE3o \xE9 a imagem deste patch: o patch espera %llu bytes, a original tem %llu.\n",
                            wide(result.expected), wide(result.found));
                break;
            case PatchOutcome::SourceCrcMismatch:
                std::printf("A original n\xE3o \xE9 a imagem deste patch: CRC32 esperado %08llX, encontrado %08llX.\n",
                            wide(result.expected), wide(result.found));
                break;
            case PatchOutcome::AlreadyApplied:
                if (result.copierHeader == CopierHeader::SetAside) {
                    std::printf("A original, sem o seu cabe\xE7""alho de copiadora (512 bytes), j\xE1 \xE9 o resultado "
                                "deste patch (CRC32 %08llX): o patch j\xE1 foi aplicado.\n",
                                wide(result.expected));
                } else {
                    std::printf("A original j\xE1 \xE9 o resultado deste patch (CRC32 %08llX): o patch j\xE1 foi "
                                "aplicado.\n",
                                wide(result.expected));
                }
                break;
            case PatchOutcome::TargetCrcMismatch:
                std::printf("O resultado n\xE3o confere com o patch: CRC32 esperado %08llX, encontrado %08llX.\n",
                            wide(result.expected), wide(result.found));
                break;
            default:
                break;
        }
    }
    cli::printNothingWritten();
}

void printCopierHeadersRemoved(bool original, bool modified) {
    if (!original && !modified) return;
    std::printf("%s cabe\xE7""alho de copiadora (512 bytes), tirado antes de fazer o patch: o patch \xE9 para a "
                "imagem sem ele.\n",
                original && modified ? "A original e a modificada t\xEAm"
                : original           ? "A original tem"
                                     : "A modificada tem");
}

void printPatchWritten(const PatchCommand& command, size_t patchSize, bool identical) {
    if (identical) std::printf("Os arquivos s\xE3o id\xEAnticos: o patch n\xE3o muda nada.\n");
    cli::printPatchWritten(command.format, command.files[2], patchSize);
}

void printImageWritten(const PatchCommand& command, const PatchResult& result, size_t imageSize) {
    switch (result.copierHeader) {
        case CopierHeader::SetAside:
            std::printf("A original tem cabe\xE7""alho de copiadora (512 bytes) e o patch \xE9 para a imagem sem ele: "
                        "aplicado sem o cabe\xE7""alho, que a sa\xED""da mant\xE9m.\n");
            break;
        case CopierHeader::Restored:
            std::printf("O patch \xE9 para a imagem com cabe\xE7""alho de copiadora (512 bytes) e a original n\xE3o tem: "
                        "aplicado com o cabe\xE7""alho restaurado, que a sa\xED""da n\xE3o leva.\n");
            break;
        case CopierHeader::Suspected:
            std::printf("Aten\xE7\xE3o: o tamanho da original sugere um cabe\xE7""alho de copiadora (512 bytes); "
                        "um patch IPS n\xE3o verifica a original e pode esperar a imagem sem ele.\n");
            break;
        case CopierHeader::AsGiven:
            break;
    }
    if (result.changesNothing) {
        std::printf("A original j\xE1 tem todos os bytes que o patch escreve: talvez o patch j\xE1 tenha sido "
                    "aplicado (um patch IPS n\xE3o permite saber). A sa\xED""da \xE9 igual \xE0 original.\n");
    }
    if (command.format == PatchFormat::Bps) std::printf("Original e resultado conferem com o CRC32 do patch.\n");
    cli::printWithPath("Imagem gravada: ", command.files[2], "");
    std::printf(" (%llu bytes)\n", wide(imageSize));
}

}  // namespace patch_program
