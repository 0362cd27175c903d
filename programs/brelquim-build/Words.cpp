#include "programs/brelquim-build/Words.h"

#include "cli/Mistake.h"
#include "cli/ProjectFile.h"
#include "cli/Words.h"
#include "graphics/GraphicsDirectory.h"
#include "patch/Patch.h"
#include "programs/brelquim-build/Options.h"

#include <cstdio>

namespace build_program {

const cli::Program& buildProgram() {
    static const cli::Spec spec = [] {
        cli::Spec declared;
        cli::Option input{{"-i"}, "<rom>", "init: a imagem original do jogo (nunca alterada)"};
        input.check = cli::nonEmpty;
        cli::Option table{{"--table"}, "<tabela.tbl>", "init: a tabela de caracteres do projeto"};
        table.check = cli::nonEmpty;
        const cli::Option overflow{{"--allow-overflow"}, "",
                                   "grava mesmo uma tradu\xE7\xE3o que passa das caixas de texto ([font] e [box])"};
        declared.options = {input, table, overflow, cli::projectOption(), cli::helpOption("mostra esta ajuda"),
                            cli::versionOption("mostra a vers\xE3o")};
        cli::Positional init{"init"};
        init.required = false;
        init.check = isInit;
        declared.positionals = {init};
        declared.notes = std::string("init grava ") + PROJECT_FILE +
                         " na pasta atual e extrai os gr\xE1""ficos; sem init, grava a imagem traduzida\n"
                         "e os patches que o projeto pede.";
        return declared;
    }();
    static const cli::Program program{"brelquim-build", "Brelquim-build", &spec, {}};
    return program;
}

void printInitOptionsAlone() {
    std::printf("-i e --table s\xF3 valem com init.\n");
    cli::printUsage(buildProgram(), -1);
}

void printProjectWithoutInit() {
    std::printf("init grava %s na pasta atual; --project n\xE3o vale com init.\n", PROJECT_FILE);
    cli::printUsage(buildProgram(), -1);
}

void printProjectExists(const std::string& project) {
    cli::printWithPath("O projeto ", project, " j\xE1 existe; init n\xE3o o substitui.\n");
    cli::printNothingWritten();
}

void printFolderHoldsGraphics(const std::string& folder) {
    cli::printWithPath("A pasta ", folder, " j\xE1 tem gr\xE1""ficos; init n\xE3o os substitui.\n");
    cli::printNothingWritten();
}

void printGraphicUnreadable(int graphic) {
    std::printf("Erro de leitura de %s: o seu registro ou os seus dados ficam fora da imagem.\n",
                graphicFileName(graphic).c_str());
    cli::printNothingWritten();
}

void printInitDone(int graphics, const std::string& folder, const std::string& project, const std::string& digest) {
    std::printf("%d gr\xE1""ficos extra\xED""dos em ", graphics);
    cli::printWithPath("", folder);
    cli::printWithPath("Projeto gravado: ", project);
    std::printf("SHA-256 do original: %s\n", digest.c_str());
}

void printNoProject() {
    std::printf("Nenhum projeto: falta %s na pasta atual. Crie um com brelquim-build init -i <rom>.\n", PROJECT_FILE);
    cli::printNothingWritten();
}

void printCopierHeader(const std::string& original) {
    cli::printWithPath("", original,
                       " tem um cabe\xE7""alho de copiadora de 512 bytes: o SHA-256 e os patches valem para os dados "
                       "da ROM sem ele; a nova imagem o mant\xE9m.\n");
}

void printDigestMismatch(const std::string& original, const std::string& expected, const std::string& found) {
    cli::printWithPath("A imagem ", original, " n\xE3o \xE9 o original do projeto (SHA-256 dos dados da ROM, sem "
                                              "cabe\xE7""alho de copiadora):\n");
    std::printf("  o projeto pede: %s\n  esta imagem:    %s\n", expected.c_str(), found.c_str());
    cli::printNothingWritten();
}

void printEditProblem(const ProjectEdits::Problem& problem) {
    switch (problem.kind) {
        case ProjectEdits::Problem::PngUnreadable:
        case ProjectEdits::Problem::PaletteUnreadable: cli::printReadFailure(problem.path, problem.read); break;
        case ProjectEdits::Problem::PaletteRefused:
            cli::printPaletteRefusal(problem.path, cli::paletteWords(problem.palette));
            break;
        case ProjectEdits::Problem::PngRefused:
            cli::printConversionRefusal(problem.path, cli::conversionWords(problem.conversion));
            break;
        case ProjectEdits::Problem::None: break;
    }
    cli::printNothingWritten();
}

void printGraphicsStep(const std::vector<int>& fromPng, const std::string& folder) {
    std::printf("Etapa 1: gr\xE1""ficos\n");
    for (const int graphic : fromPng) cli::printWithPath("Do PNG: ", graphicPngPath(folder, graphic));
}

void printTextStep() { std::printf("Etapa 2: textos\n"); }

void printNoScript() { std::printf("Etapa 2: textos (nenhum roteiro no projeto)\n"); }

void printSummary(const Summary& summary) {
    std::printf("Resumo:\n");
    std::printf("Gr\xE1""ficos alterados: %u\n", static_cast<unsigned>(summary.graphics));
    if (summary.textDone) std::printf("Textos alterados: %u\n", static_cast<unsigned>(summary.strings));
    cli::printBytesAdded(summary.oldRomDataSize, summary.newRomDataSize);
    for (size_t r = 0; r < summary.freeTexts.size(); ++r) {
        std::printf("Faixa livre ");
        cli::printWithPath("", summary.freeTexts[r], "");
        std::printf(": %u bytes ainda livres\n", static_cast<unsigned>(summary.freeLeft[r]));
    }
    cli::printNewChecksum(summary.checksum);
    cli::printWithPath("Imagem gravada: ", summary.output);
    for (size_t p = 0; p < summary.patches.size(); ++p) {
        cli::printPatchWritten(patchFormatOf(summary.patches[p]), summary.patches[p], summary.patchSizes[p]);
    }
    std::printf("SHA-256 do original:  %s\n", summary.originalDigest.c_str());
    std::printf("SHA-256 da tradu\xE7\xE3o: %s\n", summary.outputDigest.c_str());
}

}  // namespace build_program
