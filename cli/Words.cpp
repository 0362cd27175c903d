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

// The character at a place of a script's text: itself when it is plain
// ASCII, and its Unicode number.
void printCharacter(const std::string& text, size_t at) {
    const uint32_t value = codePointAt(text, at);
    if (value >= 0x20 && value < 0x7F) std::printf("'%c' ", static_cast<char>(value));
    std::printf("(U+%04X)", static_cast<unsigned>(value));
}

// "Roteiro <script>": the start of a line about the script.
void printScript(const std::string& script) { printWithPath("Roteiro ", script, ""); }

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
            std::printf(": %u bytes, mas o gr\xE1""fico tem %u. Use --allow-resize para mudar o tamanho.\n",
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

void printGraphicChanges(const InsertResult& result, uint16_t checksum) {
    for (const GraphicChange& change : result.changes) {
        std::printf("%s %06x %04x -> %06x %04x %s\n", graphicFileName(change.graphic).c_str(),
                    static_cast<unsigned>(change.oldAddress), static_cast<unsigned>(change.oldLength),
                    static_cast<unsigned>(change.newAddress), static_cast<unsigned>(change.newLength),
                    placeKindWords(change.kind));
    }
    printGrowth(result.oldRomDataSize, result.newRomDataSize, "gr\xE1""ficos");
    std::printf("Gr\xE1""ficos alterados: %u\n", static_cast<unsigned>(result.changes.size()));
    printBytesAdded(result.oldRomDataSize, result.newRomDataSize);
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
        case TableProblem::None: break;
    }
    printNothingWritten();
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
        case TextInsertResult::SurveyRefused: printSurveyRefusal(result.survey); return;
        case TextInsertResult::UnknownString: printUnknownString(result, script); break;
        case TextInsertResult::NotWritable: printNotWritable(result, script); break;
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
    for (size_t r = 0; r < result.freeUsed.size(); ++r) {
        if (!result.freeUsed[r]) continue;
        std::printf("Faixa livre %s: %u bytes ainda livres\n", formatRange(freeRanges[r]).c_str(),
                    static_cast<unsigned>(result.freeLeft[r]));
    }
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

}  // namespace cli
