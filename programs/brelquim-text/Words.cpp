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

// "$98:8004 (tabela 1, n.\xBA 2)": where a pointer lies and which it is.
void printPointer(const StringPointer& pointer) {
    std::printf("%s (tabela %u, n.\xBA %u)", formatBusAddress(pointer.at).c_str(),
                static_cast<unsigned>(pointer.table + 1), static_cast<unsigned>(pointer.index));
}

// A string by its number and its first pointer.
void printString(const TextInsertResult& result, size_t string) {
    std::printf("Texto %u, ponteiro ", static_cast<unsigned>(string + 1));
    printPointer(result.survey.strings[string].pointers.front());
}

// The character at a place of a script's text: itself when it is plain
// ASCII, and its Unicode number.
void printCharacter(const std::string& text, size_t at) {
    const uint32_t value = codePointAt(text, at);
    if (value >= 0x20 && value < 0x7F) std::printf("'%c' ", static_cast<char>(value));
    std::printf("(U+%04X)", static_cast<unsigned>(value));
}

// "Roteiro <script>": the start of a line about the script.
void printScript(const std::string& script) { cli::printWithPath("Roteiro ", script, ""); }

void printGraphicUnreadable(int graphic) {
    std::printf("Erro de leitura de %s: o texto n\xE3o \xE9 posto numa imagem cujos gr\xE1""ficos n\xE3o "
                "se leem.\n",
                graphicFileName(graphic).c_str());
}

void printUnknownString(const TextInsertResult& result, const std::string& script) {
    printScript(script);
    std::printf(", linha %u: a imagem tem s\xF3 %u textos nessas tabelas.\n", static_cast<unsigned>(result.line),
                static_cast<unsigned>(result.survey.strings.size()));
}

// Why the table cannot write a text, after its place in the script.
void printEncodingProblem(const ScriptEntry& entry, const Encoding& encoding) {
    switch (encoding.outcome) {
        case Encoding::Uncovered:
            std::printf("nenhuma entrada da tabela escreve o caractere ");
            printCharacter(entry.text, encoding.at);
            std::printf("; escreva-o como <$XX> se for um byte.\n");
            break;
        case Encoding::NoParameters:
            std::printf("o c\xF3""digo de controle precisa dos seus par\xE2metros, cada um como <$XX>.\n");
            break;
        case Encoding::NoEndToken:
            std::printf("o texto n\xE3o termina com um fim da tabela; sem ele o jogo leria al\xE9m do texto.\n");
            break;
        case Encoding::EndBeforeEnd: std::printf("um fim de texto antes do fim do texto.\n"); break;
        case Encoding::ReadsOtherwise:
            std::printf("a tabela leria estes bytes como outro texto; escreva este trecho de outro modo ou com "
                        "<$XX>.\n");
            break;
        case Encoding::NotUtf8: std::printf("o roteiro n\xE3o est\xE1 em UTF-8.\n"); break;
        case Encoding::Done: break;
    }
}

// "Roteiro <script>, linha L, coluna C (texto n): " and why.
void printNotWritable(const TextInsertResult& result, const std::string& script) {
    const ScriptEntry& entry = *result.entry;
    const auto [line, column] = entry.place(result.encoding.at);
    printScript(script);
    std::printf(", linha %u, coluna %u (texto %u): ", static_cast<unsigned>(line), static_cast<unsigned>(column),
                static_cast<unsigned>(entry.number));
    printEncodingProblem(entry, result.encoding);
}

void printNoRoom(const TextInsertResult& result) {
    printString(result, result.entry->number - 1);
    std::printf(": precisa de %u bytes, e o seu banco tem no m\xE1ximo %u bytes livres juntos.\n"
                "Indique com --free espa\xE7o sem uso nesse banco.\n",
                static_cast<unsigned>(result.needed), static_cast<unsigned>(result.room));
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

void printTableRefusal(const std::string& path, const TableProblem& problem) {
    cli::printWithPath("Tabela ", path, "");
    std::printf(", linha %u: ", static_cast<unsigned>(problem.line));
    switch (problem.kind) {
        case TableProblem::NoEquals: std::printf("falta o sinal =.\n"); break;
        case TableProblem::NoDigits: std::printf("antes do = v\xEAm s\xF3 d\xED""gitos hexadecimais.\n"); break;
        case TableProblem::OddDigits: std::printf("n\xFAmero \xEDmpar de d\xED""gitos hexadecimais.\n"); break;
        case TableProblem::EmptyText: std::printf("falta o texto depois do =.\n"); break;
        case TableProblem::ParameterCount:
            std::printf("um c\xF3""digo de controle precisa de \",N\" no fim, N de 0 a %d.\n", MOST_PARAMETERS);
            break;
        case TableProblem::None: break;
    }
    cli::printNothingWritten();
}

void printScriptRefusal(const std::string& path, const ScriptReading& reading) {
    printScript(path);
    if (reading.outcome == ScriptReading::NoTables) {
        std::printf(": nenhuma linha \"#!pointers\" ou \"#!long-pointers\" diz de onde v\xEAm os textos.\n");
        cli::printNothingWritten();
        return;
    }
    std::printf(", linha %u: ", static_cast<unsigned>(reading.line));
    switch (reading.outcome) {
        case ScriptReading::TextOutsideEntry: std::printf("texto antes do primeiro cabe\xE7""alho \"#[n]\".\n"); break;
        case ScriptReading::BadHeader: std::printf("cabe\xE7""alho inv\xE1lido; o formato \xE9 \"#[n] ...\".\n"); break;
        case ScriptReading::BadTables:
            std::printf("tabela de ponteiros inv\xE1lida; o formato \xE9 \"#!pointers $BB:AAAA:n\".\n");
            break;
        case ScriptReading::TablesLate:
            std::printf("as tabelas de ponteiros v\xEAm antes do primeiro texto.\n");
            break;
        case ScriptReading::Repeated: std::printf("o mesmo texto aparece duas vezes.\n"); break;
        case ScriptReading::NoTables:
        case ScriptReading::Done: break;
    }
    cli::printNothingWritten();
}

void printSurveyRefusal(const StringSurvey& survey) {
    std::printf("Ponteiro ");
    printPointer(survey.pointer);
    switch (survey.outcome) {
        case StringSurvey::TableOutside: std::printf(" fora dos dados da ROM.\n"); break;
        case StringSurvey::StringOutside:
            std::printf(": o texto (%0*x) fica fora dos dados da ROM.\n", survey.pointer.isLong ? 6 : 4,
                        static_cast<unsigned>(survey.pointer.value));
            break;
        case StringSurvey::NoEnd:
            std::printf(": o texto n\xE3o termina dentro do seu banco de 32 KiB.\n");
            break;
        case StringSurvey::Done: break;
    }
    cli::printNothingWritten();
}

void printDumped(size_t strings, size_t pointers, size_t bytes, const std::string& script) {
    std::printf("%u textos, %u ponteiros, %u bytes -> ", static_cast<unsigned>(strings),
                static_cast<unsigned>(pointers), static_cast<unsigned>(bytes));
    cli::printWithPath("", script);
}

void printInsertRefusal(const TextInsertResult& result, const TextOptions& options) {
    switch (result.outcome) {
        case TextInsertResult::GraphicUnreadable: printGraphicUnreadable(result.graphic); break;
        case TextInsertResult::SurveyRefused: printSurveyRefusal(result.survey); return;
        case TextInsertResult::UnknownString: printUnknownString(result, options.script); break;
        case TextInsertResult::NotWritable: printNotWritable(result, options.script); break;
        case TextInsertResult::LongerThanBank:
            std::printf("Texto %u: %u bytes n\xE3o cabem num banco de 32 KiB.\n",
                        static_cast<unsigned>(result.entry->number), static_cast<unsigned>(result.needed));
            break;
        case TextInsertResult::NoRoom: printNoRoom(result); break;
        case TextInsertResult::PastLoRomLimit:
            std::printf("Texto %u: a imagem passaria de 4 MiB, o limite de um jogo LoROM.\n",
                        static_cast<unsigned>(result.entry->number));
            break;
        case TextInsertResult::BadFreeRange:
            cli::printFreeRangeRefusal(options.freeRanges[result.freeRange.range], result.freeRange);
            return;
        case TextInsertResult::Mismatch:
            std::printf("Erro interno: a nova imagem n\xE3o se l\xEA como deveria.\n");
            break;
        case TextInsertResult::Done: return;
    }
    cli::printNothingWritten();
}

void printTextChanges(const TextInsertResult& result, const TextOptions& options, uint16_t checksum) {
    for (const TextChange& change : result.changes) {
        printString(result, change.string);
        std::printf(": %s %u -> %s %u %s\n", formatBusAddress(change.oldOffset).c_str(),
                    static_cast<unsigned>(change.oldLength), formatBusAddress(change.newOffset).c_str(),
                    static_cast<unsigned>(change.newLength), cli::placeKindWords(change.kind));
    }
    cli::printGrowth(result.oldRomDataSize, result.newRomDataSize, "textos");
    std::printf("Textos alterados: %u\n", static_cast<unsigned>(result.changes.size()));
    cli::printBytesAdded(result.oldRomDataSize, result.newRomDataSize);
    for (size_t r = 0; r < result.freeUsed.size(); ++r) {
        if (!result.freeUsed[r]) continue;
        std::printf("Faixa livre %s: %u bytes ainda livres\n", cli::formatRange(options.freeRanges[r]).c_str(),
                    static_cast<unsigned>(result.freeLeft[r]));
    }
    cli::printNewChecksum(checksum);
}

}  // namespace text_program
