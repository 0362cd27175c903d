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

}  // namespace insert_program
