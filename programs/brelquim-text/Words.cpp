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

#include <algorithm>
#include <cctype>
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

const cli::Spec& searchOptionSpec() {
    static const cli::Spec spec = [] {
        cli::Spec declared;
        cli::Option wide{{"--wide"}, "", "caracteres de 16 bits (dois bytes, o menos significativo primeiro)"};
        cli::Option output{{"-o"}, "<rascunho.tbl>", "grava a tabela de rascunho do primeiro mapeamento"};
        output.check = cli::nonEmpty;
        declared.options = {fromProject({{"-i"}, "<rom>", "a imagem do jogo"}), wide, output,
                            cli::projectOption(),
                            cli::helpOption("mostra esta ajuda"), cli::versionOption("mostra a vers\xE3o")};
        cli::Positional word{"<palavra>"};
        word.repeatable = true;
        word.check = isSearchWord;
        declared.positionals = {word};
        declared.notes = "Uma palavra: letras (A-Z, a-z) e d\xEDgitos como se leem na tela, * por um caractere\n"
                         "qualquer e espa\xE7os (a palavra entre aspas).";
        return declared;
    }();
    return spec;
}

const cli::Spec& scanOptionSpec() {
    static const cli::Spec spec = [] {
        cli::Spec declared;
        cli::Option least{{"--min"}, "<n>", "o menor trecho listado, em caracteres, de 1 a 65535 (padr\xE3o: 4)"};
        least.check = isLeastCount;
        cli::Option output{{"-o"}, "<lista>", "grava a lista dos trechos num arquivo (padr\xE3o: a tela)"};
        output.check = cli::nonEmpty;
        declared.options = {fromProject({{"-i"}, "<rom>", "a imagem do jogo"}),
                            fromProject({{"--table"}, "<tabela.tbl>", "a tabela de caracteres"}),
                            least,
                            output,
                            cli::projectOption(),
                            cli::helpOption("mostra esta ajuda"),
                            cli::versionOption("mostra a vers\xE3o")};
        return declared;
    }();
    return spec;
}

const cli::Spec& pointersOptionSpec() {
    static const cli::Spec spec = [] {
        cli::Spec declared;
        cli::Option least{{"--min-count"}, "<n>",
                          "o menor n\xFAmero de ponteiros de uma tabela, de 1 a 65535 (padr\xE3o: 3)"};
        least.check = isLeastCount;
        const cli::Option save{{"--save"}, "", "acrescenta as tabelas achadas ao [text] do projeto"};
        declared.options = {fromProject({{"-i"}, "<rom>", "a imagem do jogo"}),
                            fromProject({{"--table"}, "<tabela.tbl>", "a tabela de caracteres"}),
                            least,
                            save,
                            cli::projectOption(),
                            cli::helpOption("mostra esta ajuda"),
                            cli::versionOption("mostra a vers\xE3o")};
        return declared;
    }();
    return spec;
}

namespace {

// The options of preview and check: dump's reading of the image, the
// font and the box.
std::vector<cli::Option> previewOptions() {
    std::vector<cli::Option> options;
    for (const cli::Option& option : dumpOptionSpec().options) {
        const std::string& name = option.names.front();
        if (name == "-i" || name == "--table" || name == "--pointers" || name == "--long-pointers" ||
            name == "--labels") {
            options.push_back(option);
        }
    }
    const auto option = [](const char* name, const char* value, const char* help, bool (*check)(const std::string&)) {
        cli::Option declared{{name}, value, help};
        declared.check = check;
        return declared;
    };
    options.push_back(option("--font-graphic", "<n>", "o gr\xE1""fico da fonte (padr\xE3o: 9)", isGraphicNumber));
    options.push_back(option("--bpp", "<2|4|8>", "bits por pixel da fonte (padr\xE3o: 2)", isFontDepth));
    options.push_back(option("--first", "<n>",
                             "o tile de um caractere \xE9 o c\xF3""digo da sua entrada de um byte menos n\n"
                             "(padr\xE3o: 0)",
                             isSmallNumber));
    options.push_back(option("--advance", "<n|glyph>",
                             "pixels por glifo, ou glyph: a largura de cada glifo (\xFAltima coluna\n"
                             "acesa + 1 + --spacing) (padr\xE3o: 8)",
                             isAdvance));
    options.push_back(option("--spacing", "<n>", "pixels depois de cada glifo com --advance glyph (padr\xE3o: 1)",
                             isSmallNumber));
    options.push_back(option("--box-width", "<pixels>", "largura da caixa de texto (padr\xE3o: 224)", isPixels));
    options.push_back(option("--lines", "<n>", "linhas da caixa (padr\xE3o: 3)", isLineCount));
    options.push_back(option("--line-height", "<pixels>", "pixels de uma linha \xE0 seguinte (padr\xE3o: 16)",
                             isLineHeight));
    cli::Option breaks = option("--break", "<texto>",
                                "o texto de uma entrada da tabela que abre uma nova caixa; pode ser repetida",
                                cli::nonEmpty);
    breaks.repeatable = true;
    options.push_back(breaks);
    return options;
}

cli::Spec previewSpec(bool page) {
    cli::Spec declared;
    declared.options = previewOptions();
    if (page) {
        cli::Option output{{"-o"}, "<p\xE1gina.html>",
                           std::string("a p\xE1gina a gravar (padr\xE3o: ") + DEFAULT_PAGE + ")"};
        output.check = cli::nonEmpty;
        cli::Option png{{"--png"}, "<pasta>", "grava tamb\xE9m cada caixa como PNG indexado (texto_NNN.png)"};
        png.check = cli::nonEmpty;
        declared.options.push_back(output);
        declared.options.push_back(png);
    }
    declared.options.push_back(cli::projectOption());
    declared.options.push_back(cli::helpOption("mostra esta ajuda"));
    declared.options.push_back(cli::versionOption("mostra a vers\xE3o"));
    cli::Positional script{"<roteiro>"};
    script.required = false;
    script.check = cli::nonEmpty;
    declared.positionals = {script};
    declared.notes = "Sem roteiro, mostra os textos da imagem (os de dump) e precisa de --pointers ou\n"
                     "--long-pointers; com roteiro, valem as tabelas que ele nomeia.";
    return declared;
}

}  // namespace

const cli::Spec& previewOptionSpec() {
    static const cli::Spec spec = previewSpec(true);
    return spec;
}

const cli::Spec& checkOptionSpec() {
    static const cli::Spec spec = previewSpec(false);
    return spec;
}

const cli::Program& textProgram() {
    static const cli::Spec own = [] {
        cli::Spec declared;
        declared.options = {cli::helpOption("mostra esta ajuda"), cli::versionOption("mostra a vers\xE3o")};
        declared.notes = "<comando> --help mostra as op\xE7\xF5""es do comando (dump --help, insert --help, ...).";
        return declared;
    }();
    static const cli::Program program{
        "brelquim-text",
        "Brelquim-text",
        &own,
        {{"dump", &dumpOptionSpec(), "grava os textos do jogo num roteiro"},
         {"insert", &insertOptionSpec(), "p\xF5""e o roteiro traduzido numa nova imagem"},
         {"search", &searchOptionSpec(), "busca relativa: acha os c\xF3""digos das letras de palavras vistas na tela"},
         {"scan", &scanOptionSpec(), "lista onde h\xE1 texto que a tabela l\xEA"},
         {"pointers", &pointersOptionSpec(), "acha as tabelas de ponteiros que levam ao texto"},
         {"preview", &previewOptionSpec(), "desenha cada texto na caixa, como o console (previa.html)"},
         {"check", &checkOptionSpec(), "aponta cada linha que passa da caixa de texto"}}};
    return program;
}

void printDumped(size_t strings, size_t pointers, size_t bytes, const std::string& script) {
    std::printf("%u textos, %u ponteiros, %u bytes -> ", static_cast<unsigned>(strings),
                static_cast<unsigned>(pointers), static_cast<unsigned>(bytes));
    cli::printWithPath("", script);
}

namespace {

constexpr size_t MOST_MAPPINGS_SHOWN = 10;
constexpr size_t MOST_HITS_SHOWN = 10;

// A place as a bus address and as a file offset: "$98:8123 (c0123)".
void printPlace(uint32_t offset) {
    std::printf("%s (%x)", formatBusAddress(offset).c_str(), static_cast<unsigned>(offset));
}

// "A=80 a=9A 0=70 espa\xE7o=6B": the codes a mapping fixes.
void printCodes(const CodeMapping& mapping, bool wide) {
    static const char* const names[CLASS_COUNT] = {"A", "a", "0", "espa\xE7o"};
    const char* separator = "";
    for (int c = 0; c < CLASS_COUNT; ++c) {
        if (!mapping.fixed[c]) continue;
        std::printf("%s%s=%0*X", separator, names[c], wide ? 4 : 2, static_cast<unsigned>(mapping.code[c]));
        separator = " ";
    }
    std::printf("\n");
}

}  // namespace

void printSearchRefusal(const RelativeSearch& search, const std::vector<std::string>& words) {
    if (search.outcome == RelativeSearch::NoHit) {
        std::printf("Nenhum lugar da ROM l\xEA as palavras assim.\n");
    } else {
        cli::printWithPath("A palavra \"", words[search.word], "\"");
        if (search.outcome == RelativeSearch::TooShort) {
            std::printf(" tem menos de tr\xEAs caracteres que restrinjam a busca: acharia lugares demais.\n");
        } else {
            std::printf(" tem caracteres que a busca n\xE3o l\xEA.\n");
        }
    }
    cli::printNothingWritten();
}

void printMappings(const RelativeSearch& search, const std::vector<std::string>& words, bool wide) {
    const size_t shown = std::min(search.mappings.size(), MOST_MAPPINGS_SHOWN);
    for (size_t m = 0; m < shown; ++m) {
        const FoundMapping& found = search.mappings[m];
        std::printf("Mapeamento %u (%u de %u palavras, %u ocorr\xEAncias): ", static_cast<unsigned>(m + 1),
                    static_cast<unsigned>(found.words), static_cast<unsigned>(words.size()),
                    static_cast<unsigned>(found.hits.size()));
        printCodes(found.mapping, wide);
        const size_t hits = std::min(found.hits.size(), MOST_HITS_SHOWN);
        for (size_t h = 0; h < hits; ++h) {
            cli::printWithPath("  ", words[found.hits[h].word], ": ");
            printPlace(found.hits[h].offset);
            std::printf("\n");
        }
        if (found.hits.size() > hits) {
            std::printf("  ... e mais %u ocorr\xEAncias\n", static_cast<unsigned>(found.hits.size() - hits));
        }
    }
    if (search.mappings.size() > shown) {
        std::printf("... e mais %u mapeamentos\n", static_cast<unsigned>(search.mappings.size() - shown));
    }
}

void printDraftWritten(const std::string& path) { cli::printWithPath("Rascunho da tabela do mapeamento 1 -> ", path); }

void printScanSummary(const TextScanResult& scan, const std::string& listing) {
    if (!listing.empty()) cli::printWithPath("Lista dos trechos -> ", listing);
    uint64_t bytes = 0;
    for (const BankTotal& bank : scan.banks) bytes += bank.bytes;
    std::printf("%u trechos de texto, %llu bytes\n", static_cast<unsigned>(scan.runs.size()), cli::wide(bytes));
    for (const BankTotal& bank : scan.banks) {
        std::printf("  banco $%02X: %u trechos, %u bytes\n", static_cast<unsigned>(bank.bank),
                    static_cast<unsigned>(bank.runs), static_cast<unsigned>(bank.bytes));
    }
    if (!scan.likelyEnds.empty()) {
        std::printf("A tabela n\xE3o tem fim de texto; os bytes que mais seguem um trecho:");
        for (const ByteCount& end : scan.likelyEnds) {
            std::printf(" %02X (%u vezes)", end.byte, static_cast<unsigned>(end.count));
        }
        std::printf("\n");
    }
    if (!scan.likelySpace.empty()) {
        std::printf("A tabela n\xE3o tem espa\xE7o; o byte que mais separa dois trechos: %02X (%u vezes)\n",
                    scan.likelySpace.front().byte, static_cast<unsigned>(scan.likelySpace.front().count));
    }
}

void printFoundTables(const PointerSearch& search, const std::string& dumpLine) {
    if (search.tables.empty()) {
        std::printf("Nenhuma tabela de ponteiros leva a textos que a tabela l\xEA.\n");
    }
    for (const FoundTable& table : search.tables) {
        std::printf("%s: %u textos, %u bytes\n", table.option().c_str(), static_cast<unsigned>(table.strings),
                    static_cast<unsigned>(table.bytes));
    }
    if (!search.tables.empty()) cli::printWithPath("", dumpLine);
    std::printf("Trechos de texto que nenhuma tabela alcan\xE7""a: %u de %u\n", static_cast<unsigned>(search.unreached),
                static_cast<unsigned>(search.runs));
}

void printNoPointerTables() {
    std::printf("Sem roteiro, indique as tabelas de ponteiros com --pointers ou --long-pointers.\n");
}

void printPreviewUnknownString(const std::string& script, size_t line, size_t strings) {
    cli::printScript(script);
    std::printf(", linha %u: a imagem tem s\xF3 %u textos nessas tabelas.\n", static_cast<unsigned>(line),
                static_cast<unsigned>(strings));
}

void printPreviewNotWritable(const std::string& script, const ScriptEntry& entry, const Encoding& encoding) {
    const auto [line, column] = entry.place(encoding.at);
    cli::printScript(script);
    std::printf(", linha %u, coluna %u (texto %u): ", static_cast<unsigned>(line), static_cast<unsigned>(column),
                static_cast<unsigned>(entry.number));
    cli::printEncodingProblem(entry, encoding);
}

void printChecked(size_t strings, size_t failing) {
    if (failing == 0) {
        std::printf("%u textos cabem nas caixas.\n", static_cast<unsigned>(strings));
    } else {
        std::printf("%u de %u textos n\xE3o cabem nas caixas ou t\xEAm caracteres sem glifo.\n",
                    static_cast<unsigned>(failing), static_cast<unsigned>(strings));
    }
}

void printPreviewed(size_t strings, size_t overflowing, const std::string& page, size_t pictures,
                    const std::string& folder) {
    std::printf("%u textos, %u %s da caixa -> ", static_cast<unsigned>(strings), static_cast<unsigned>(overflowing),
                overflowing == 1 ? "passa" : "passam");
    cli::printWithPath("", page);
    if (folder.empty()) return;
    std::printf("%u caixas em PNG -> ", static_cast<unsigned>(pictures));
    cli::printWithPath("", folder);
}

void printSaveWithoutProject() {
    std::printf("--save grava no projeto: d\xEA --project <arquivo> ou rode numa pasta com brelquim.toml.\n");
    cli::printNothingWritten();
}

void printTablesSaved(const std::string& project, size_t tables) {
    std::printf("%u tabelas no [text] de ", static_cast<unsigned>(tables));
    cli::printWithPath("", project);
}

}  // namespace text_program
