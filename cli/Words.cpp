#include "cli/Words.h"
#include "encoding/Encoding.h"
#include "png/PngImage.h"
#include "tiles/TileSheet.h"

#include "rom/HeaderLayout.h"

#include "graphics/GameLayout.h"
#include "platform/Platform.h"
#include "rom/Position.h"

#include <cstdarg>
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

bool loadImageOrRefuse(RomImage& rom, const std::string& path) {
    const ImageLoad load = loadGameImageFile(rom, path);
    if (load.outcome == ImageLoad::Loaded) return true;
    printImageLoadFailure(rom, path, load);
    return false;
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

bool writeNewImageOrSay(const RomImage& rom, const std::string& output, const std::string& patch,
                        const std::vector<uint8_t>& original, NewImageWrite& written) {
    written = writeNewImage(rom, output, patch, original);
    if (written.outcome == NewImageWrite::Written) return true;
    printNewImageFailure(written, output, patch);
    return false;
}

void printRunPatch(const std::string& patch, const NewImageWrite& written) {
    if (!patch.empty()) printPatchWritten(patchFormatOf(patch), patch, written.patchSize);
}

namespace {

// A line about a graphic's file: before, its path ("<folder>/grafico_NNN.bin",
// the folder as the user gave it), after.
void printGraphicLine(const char* before, const std::string& folder, int graphic, const char* after) {
    printWithPath(before, graphicPath(folder, graphic), after);
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

// The most mistakes of a script told in one run.
constexpr size_t MOST_MISTAKES_TOLD = 20;
// The most characters shown of the text after an end token.
constexpr size_t MOST_CHARACTERS_SHOWN = 30;

// A character of a script's text as the console shows it: its
// Windows-1252 byte, or -1 for a control character or one the console
// cannot show.
int shownByte(uint32_t value) {
    const int byte = windows1252ByteOf(value);
    return byte < 0x20 || byte == 0x7F ? -1 : byte;
}


// Up to MOST_CHARACTERS_SHOWN characters of a script's text from a place,
// as the console shows them: "?" for those it cannot.
std::string shownText(const std::string& text, size_t from) {
    std::string shown;
    size_t at = from;
    for (size_t count = 0; at < text.size() && count < MOST_CHARACTERS_SHOWN; ++count) {
        size_t length = 1;
        const int byte = shownByte(codePointAt(text, at, &length));
        shown += byte >= 0 ? static_cast<char>(byte) : '?';
        at += length;
    }
    if (at < text.size()) shown += "...";
    return shown;
}

// The form of a raw byte that went wrong at text[at] ("<$" met where no
// entry writes "<"): "<$" and two hexadecimal digits without the closing
// ">", or anything but exactly two digits before it. False when no "<$"
// starts there.
bool printBrokenRawForm(const std::string& text, size_t at) {
    if (text.compare(at, 2, "<$") != 0) return false;
    size_t digits = 0;
    while (at + 2 + digits < text.size() && std::isxdigit(static_cast<unsigned char>(text[at + 2 + digits]))) ++digits;
    if (digits == 2) {
        std::printf("\"<$\" sem o \">\" que o fecha; um byte se escreve <$XX>.\n");
    } else {
        std::printf("\"<$\" pede dois d\xEDgitos hexadecimais; um byte se escreve <$XX>.\n");
    }
    return true;
}


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


// "Roteiro <script>, linha L, coluna C (texto n): " and why, for each text
// the table cannot write, up to MOST_MISTAKES_TOLD, then how many more.
void printNotWritable(const TextInsertResult& result, const std::string& script) {
    const size_t told = std::min(result.mistakes.size(), MOST_MISTAKES_TOLD);
    for (size_t i = 0; i < told; ++i) {
        const TextMistake& mistake = result.mistakes[i];
        const auto [line, column] = mistake.entry->place(mistake.encoding.at);
        printScript(script);
        std::printf(", linha %u, coluna %u (texto %u): ", static_cast<unsigned>(line), static_cast<unsigned>(column),
                    static_cast<unsigned>(mistake.entry->number));
        printEncodingProblem(*mistake.entry, mistake.encoding);
    }
    if (result.mistakes.size() > told) {
        std::printf("E mais %u erros no roteiro.\n", static_cast<unsigned>(result.mistakes.size() - told));
    }
}

void printNoRoom(const TextInsertResult& result) {
    printString(result, result.entry->number - 1);
    std::printf(": precisa de %u bytes, e o seu banco tem no m\xE1ximo %u bytes livres juntos.\n"
                "Indique com --free espa\xE7o sem uso nesse banco.\n",
                static_cast<unsigned>(result.needed), static_cast<unsigned>(result.room));
}

}  // namespace

// The character at a place of a script's text: itself when the console
// can show it, and its Unicode number.
void printCharacter(const std::string& text, size_t at) {
    const uint32_t value = codePointAt(text, at);
    const int byte = shownByte(value);
    if (byte >= 0) std::printf("'%c' ", static_cast<char>(byte));
    std::printf("(U+%04X)", static_cast<unsigned>(value));
}

// Why the table cannot write a text, after its place in the script.
void printEncodingProblem(const ScriptEntry& entry, const Encoding& encoding) {
    switch (encoding.outcome) {
        case Encoding::Uncovered:
            if (printBrokenRawForm(entry.text, encoding.at)) break;
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
        case Encoding::EndBeforeEnd:
            std::printf("um fim de texto antes do fim do texto, seguido de \"%s\".\n",
                        shownText(entry.text, encoding.after).c_str());
            break;
        case Encoding::ReadsOtherwise:
            std::printf("a tabela leria estes bytes como outro texto; escreva este trecho de outro modo ou com "
                        "<$XX>.\n");
            break;
        case Encoding::NotUtf8: std::printf("o roteiro n\xE3o est\xE1 em UTF-8.\n"); break;
        case Encoding::Done: break;
    }
}

// "Roteiro <script>": the start of a line about the script.
void printScript(const std::string& script) { printWithPath("Roteiro ", script, ""); }

void printGraphicRefusal(const InsertResult& result, const std::string& folder, const std::vector<Span>& freeRanges) {
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
            printReadFailure(graphicPath(folder, result.graphic), FileRead::NotAFile);
            break;
        case InsertResult::EditTooLarge:
            printGraphicLine("", folder, result.graphic,
                             ": mais de 65535 bytes; um gr\xE1""fico tem de 1 a 65535 bytes.\n");
            break;
        case InsertResult::WrongSize:
            printGraphicLine("", folder, result.graphic, "");
            std::printf(": %u bytes, mas o gr\xE1""fico tem %u; talvez tenha sido convertido no formato errado (veja o "
                        "--bpp do brelquim-png). Se o tamanho novo \xE9 o desejado, use --allow-resize.\n",
                        static_cast<unsigned>(result.editSize), static_cast<unsigned>(result.graphicSize));
            break;
        case InsertResult::BadFreeRange:
            printFreeRangeRefusal(freeRanges[result.freeRange.range], result.freeRange);
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
    printNothingWritten();
}

void printGraphicChanges(const InsertResult& result, const std::vector<Span>& freeRanges, uint16_t checksum) {
    for (const GraphicChange& change : result.changes) {
        std::printf("%s %06x %04x -> %06x %04x %s\n", graphicFileName(change.graphic).c_str(),
                    static_cast<unsigned>(change.oldAddress), static_cast<unsigned>(change.oldLength),
                    static_cast<unsigned>(change.newAddress), static_cast<unsigned>(change.newLength),
                    placeKindWords(change.kind));
    }
    printGrowth(result.oldRomDataSize, result.newRomDataSize, "gr\xE1""ficos");
    std::printf("Gr\xE1""ficos alterados: %u\n", static_cast<unsigned>(result.changes.size()));
    printBytesAdded(result.oldRomDataSize, result.newRomDataSize);
    printFreeRoomLeft(freeRanges, result.freeLeft, result.freeUsed);
    printNewChecksum(checksum);
}

void printTableRefusal(const std::string& path, const TableProblem& problem) {
    printWithPath("Tabela ", path, "");
    std::printf(", linha %u: ", static_cast<unsigned>(problem.line));
    switch (problem.kind) {
        case TableProblem::NoEquals: std::printf("falta o sinal =.\n"); break;
        case TableProblem::NoDigits: std::printf("antes do = v\xEAm s\xF3 d\xED""gitos hexadecimais.\n"); break;
        case TableProblem::OddDigits: std::printf("n\xFAmero \xEDmpar de d\xED""gitos hexadecimais.\n"); break;
        case TableProblem::EmptyText: std::printf("falta o texto depois do =.\n"); break;
        case TableProblem::ParameterCount:
            std::printf("um c\xF3""digo de controle precisa de \",N\" no fim, N de 0 a %d.\n", MOST_PARAMETERS);
            break;
        case TableProblem::TooManyBytes:
            std::printf("mais de %u bytes antes do =.\n", static_cast<unsigned>(MOST_ENTRY_BYTES));
            break;
        case TableProblem::TextTooLong:
            std::printf("texto de mais de %u bytes depois do =.\n", static_cast<unsigned>(MOST_ENTRY_TEXT));
            break;
        case TableProblem::None: break;
    }
    printNothingWritten();
}

void printTableWithoutEnd(const std::string& path) {
    printWithPath("Tabela ", path, "");
    std::printf(": nenhuma entrada de fim de texto (\"/XX=...\", ou uma de texto \"@\"); sem ela n\xE3o se sabe "
                "onde os textos terminam.\n");
    printNothingWritten();
}

void printSameBytes(const std::string& path, const std::vector<SameBytes>& pairs) {
    const size_t told = std::min(pairs.size(), MOST_MISTAKES_TOLD);
    for (size_t i = 0; i < told; ++i) {
        printWithPath("Aviso: tabela ", path, "");
        std::printf(", linhas %u e %u: as duas entradas t\xEAm os mesmos bytes; vale a da linha %u.\n",
                    static_cast<unsigned>(pairs[i].first), static_cast<unsigned>(pairs[i].second),
                    static_cast<unsigned>(pairs[i].first));
    }
    if (pairs.size() > told) {
        std::printf("E mais %u entradas com os bytes de outra.\n", static_cast<unsigned>(pairs.size() - told));
    }
}

void printTableReadAsWindows1252(const std::string& path, size_t line) {
    printWithPath("Aviso: a tabela ", path, "");
    std::printf(" n\xE3o est\xE1 em UTF-8 (linha %u); foi lida como Windows-1252.\n", static_cast<unsigned>(line));
}

void printScriptRefusal(const std::string& path, const ScriptReading& reading) {
    printScript(path);
    if (reading.outcome == ScriptReading::NoTables) {
        std::printf(": nenhuma linha \"#!pointers\" ou \"#!long-pointers\" diz de onde v\xEAm os textos.\n");
        printNothingWritten();
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
    printNothingWritten();
}

void printOverReserved(const ReservedOverlap& overlap, const std::vector<GameString>& strings) {
    if (overlap.kind == ReservedOverlap::Table) {
        std::printf("A tabela de ponteiros %u (%s)", static_cast<unsigned>(overlap.index + 1),
                    formatRange(overlap.span).c_str());
    } else {
        std::printf("Texto %u, ponteiro ", static_cast<unsigned>(overlap.index + 1));
        printPointer(strings[overlap.index].pointers.front());
        std::printf(": o texto (%s)", formatRange(overlap.span).c_str());
    }
    std::printf(overlap.reserved == RESERVED_HEADER ? " cobre o cabe\xE7""alho interno da ROM e os seus vetores.\n"
                                                     : " cobre o diret\xF3rio de gr\xE1""ficos.\n");
    printNothingWritten();
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
    printNothingWritten();
}

void printTextRefusal(const TextInsertResult& result, const std::string& script, const std::vector<Span>& freeRanges) {
    switch (result.outcome) {
        case TextInsertResult::GraphicUnreadable: printGraphicUnreadable(result.graphic); break;
        case TextInsertResult::OverReserved: printOverReserved(result.reserved, result.survey.strings); return;
        case TextInsertResult::SurveyRefused: printSurveyRefusal(result.survey); return;
        case TextInsertResult::UnknownString: printUnknownString(result, script); break;
        case TextInsertResult::NotWritable: printNotWritable(result, script); break;
        case TextInsertResult::LongerThanBank:
            std::printf("Texto %u: %u bytes n\xE3o cabem num banco de 32 KiB.\n",
                        static_cast<unsigned>(result.entry->number), static_cast<unsigned>(result.needed));
            break;
        case TextInsertResult::NoRoom: printNoRoom(result); break;
        case TextInsertResult::PointerInString:
            std::printf("Texto %u, ponteiro ", static_cast<unsigned>(result.entry->number));
            printPointer(result.pointer);
            std::printf(": o ponteiro fica dentro do texto %u, que mudaria com ele.\n",
                        static_cast<unsigned>(result.under + 1));
            break;
        case TextInsertResult::PastLoRomLimit:
            std::printf("Texto %u: a imagem passaria de 4 MiB, o limite de um jogo LoROM.\n",
                        static_cast<unsigned>(result.entry->number));
            break;
        case TextInsertResult::BadFreeRange:
            printFreeRangeRefusal(freeRanges[result.freeRange.range], result.freeRange);
            return;
        case TextInsertResult::Mismatch:
            std::printf("Erro interno: a nova imagem n\xE3o se l\xEA como deveria.\n");
            break;
        case TextInsertResult::Done: return;
    }
    printNothingWritten();
}

void printTextChanges(const TextInsertResult& result, const std::vector<Span>& freeRanges, uint16_t checksum) {
    for (const TextChange& change : result.changes) {
        printString(result, change.string);
        std::printf(": %s %u -> %s %u %s\n", formatBusAddress(change.oldOffset).c_str(),
                    static_cast<unsigned>(change.oldLength), formatBusAddress(change.newOffset).c_str(),
                    static_cast<unsigned>(change.newLength), placeKindWords(change.kind));
    }
    printGrowth(result.oldRomDataSize, result.newRomDataSize, "textos");
    std::printf("Textos alterados: %u\n", static_cast<unsigned>(result.changes.size()));
    printBytesAdded(result.oldRomDataSize, result.newRomDataSize);
    printFreeRoomLeft(freeRanges, result.freeLeft, result.freeUsed);
    printNewChecksum(checksum);
}

namespace {

std::string formatted(const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

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

void printConversionRefusal(const std::string& path, const std::string& reason) {
    printWithPath("Erro em ", path, ": ");
    std::printf("%s\n", reason.c_str());
}

void printPaletteRefusal(const std::string& path, const std::string& reason) {
    printWithPath("Paleta inv\xE1lida [", path, "]: ");
    std::printf("%s\n", reason.c_str());
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

void printOverflow(size_t string, const Overflow& overflow) {
    if (overflow.kind == Overflow::Line) {
        std::printf("Texto %u, linha %u: %d pixels numa caixa de %d.\n", static_cast<unsigned>(string),
                    static_cast<unsigned>(overflow.line), overflow.size, overflow.limit);
    } else {
        std::printf("Texto %u, caixa %u: %d linhas numa caixa de %d.\n", static_cast<unsigned>(string),
                    static_cast<unsigned>(overflow.box), overflow.size, overflow.limit);
    }
}

void printMissingGlyph(size_t string, const MissingGlyph& missing) {
    std::printf("Texto %u, linha %u, coluna %u: a fonte n\xE3o tem glifo para o caractere ",
                static_cast<unsigned>(string), static_cast<unsigned>(missing.line),
                static_cast<unsigned>(missing.column));
    printCharacter(missing.character, 0);
    std::printf(" (nenhuma entrada de um byte o escreve).\n");
}

void printFontUnreadable(int graphic) {
    std::printf("A fonte (%s) fica fora dos dados da ROM.\n", graphicFileName(graphic).c_str());
}

void printOverflowRefused() {
    std::printf("A tradu\xE7\xE3o passa das caixas de texto (acima); --allow-overflow a grava mesmo assim.\n");
    printNothingWritten();
}

}  // namespace cli
