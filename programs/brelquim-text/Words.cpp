#include "programs/brelquim-text/Words.h"

#include "cli/Mistake.h"
#include "cli/ProjectFile.h"
#include "cli/Words.h"
#include "encoding/Encoding.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"
#include "insertion/NewImage.h"
#include "platform/Platform.h"
#include "rom/Position.h"

#include <cstdio>

namespace text_program {

namespace {

cli::Option required(cli::Option option) {
    option.required = true;
    option.check = cli::nonEmpty;
    return option;
}

// Required, but a project may give it.
cli::Option fromProject(cli::Option option) {
    option = required(option);
    option.projectGives = true;
    return option;
}

}  // namespace

const cli::Spec& dumpOptionSpec() {
    static const cli::Spec spec = [] {
        cli::Spec declared;
        cli::Option pointers{{"--pointers"}, "<tabela>:<n>",
                             "tabela de n ponteiros de 16 bits; o texto fica no banco da tabela.\n"
                             "Posi\xE7\xE3o LoROM ($98:8000) ou deslocamento no arquivo sem cabe\xE7""alho\n"
                             "de copiadora (c0000); n de 1 a 65535. Pode ser repetida"};
        pointers.repeatable = true;
        pointers.projectGives = true;
        pointers.check = isPointerTable;
        cli::Option longPointers{{"--long-pointers"}, "<tabela>:<n>",
                                 "tabela de n ponteiros de 24 bits (endere\xE7os LoROM); pode ser repetida"};
        longPointers.repeatable = true;
        longPointers.check = isPointerTable;
        cli::Option labels{{"--labels"}, "<arquivo>", "r\xF3tulos: mostra o r\xF3tulo do primeiro ponteiro de cada texto"};
        labels.check = cli::nonEmpty;
        cli::Option output{{"-o"}, "<roteiro>", std::string("o roteiro a gravar (padr\xE3o: ") + DEFAULT_SCRIPT + ")"};
        output.check = cli::nonEmpty;
        declared.options = {fromProject({{"-i"}, "<rom>", "a imagem do jogo"}),
                            fromProject({{"--table"}, "<tabela.tbl>", "a tabela de caracteres"}),
                            pointers,
                            longPointers,
                            labels,
                            output,
                            cli::projectOption(),
                            cli::helpOption("mostra esta ajuda"),
                            cli::versionOption("mostra a vers\xE3o")};
        declared.oneRequired = {{"--pointers", "--long-pointers"}};
        return declared;
    }();
    return spec;
}

const cli::Spec& insertOptionSpec() {
    static const cli::Spec spec = [] {
        cli::Spec declared;
        cli::Option free{{"--free"}, "<in\xED""cio>:<fim>",
                         "faixa sem uso da ROM, fim exclusivo; pode ser repetida\n"
                         "($98:E000:$99:8000 ou c6000:c8000)"};
        free.repeatable = true;
        free.check = cli::isFreeRange;
        cli::Option patch{{"--patch"}, "<arquivo.bps|.ips>",
                          "grava tamb\xE9m o patch da ROM de origem para a nova (sem cabe\xE7""alho de copiadora)"};
        patch.check = isPatchPath;
        declared.options = {fromProject({{"-i"}, "<rom>", "a imagem de origem (nunca alterada)"}),
                            required({{"-o"}, "<nova rom>", "a imagem a gravar, com os textos traduzidos"}),
                            fromProject({{"--table"}, "<tabela.tbl>", "a tabela de caracteres"}),
                            free,
                            patch,
                            cli::projectOption(),
                            cli::helpOption("mostra esta ajuda"),
                            cli::versionOption("mostra a vers\xE3o")};
        declared.positionals = {{"<roteiro>"}};
        declared.positionals.front().check = cli::nonEmpty;
        declared.positionals.front().projectGives = true;
        return declared;
    }();
    return spec;
}

const cli::Program& textProgram() {
    static const cli::Spec own = [] {
        cli::Spec declared;
        declared.options = {cli::helpOption("mostra esta ajuda"), cli::versionOption("mostra a vers\xE3o")};
        declared.notes = "dump --help e insert --help mostram as op\xE7\xF5""es de cada comando.";
        return declared;
    }();
    static const cli::Program program{
        "brelquim-text",
        "Brelquim-text",
        &own,
        {{"dump", &dumpOptionSpec(), "grava os textos do jogo num roteiro"},
         {"insert", &insertOptionSpec(), "p\xF5""e o roteiro traduzido numa nova imagem"}}};
    return program;
}

void printDumped(size_t strings, size_t pointers, size_t bytes, const std::string& script) {
    std::printf("%u textos, %u ponteiros, %u bytes -> ", static_cast<unsigned>(strings),
                static_cast<unsigned>(pointers), static_cast<unsigned>(bytes));
    cli::printWithPath("", script);
}

}  // namespace text_program
