// What the programs say alike (Windows-1252 text): each outcome that more
// than one program meets is worded here once. Names the user gave are
// printed as they came; positions in the ROM data as formatBusAddress
// shows them ($98:E000).
#pragma once

#include "graphics/GameImage.h"
#include "graphics/GraphicsDirectory.h"
#include "insertion/Insertion.h"
#include "insertion/NewImage.h"
#include "insertion/TextInsertion.h"
#include "insertion/Reserved.h"
#include "patch/Patch.h"
#include "placement/Placement.h"
#include "png/Conversion.h"
#include "platform/FileBytes.h"
#include "platform/ReplacingFile.h"
#include "preview/Layout.h"
#include "project/Project.h"
#include "rom/RomImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

// A count as printf's %llu takes it.
inline unsigned long long wide(uint64_t value) { return static_cast<unsigned long long>(value); }

// before, the name as the user gave it, then after.
void printWithPath(const char* before, const std::string& path, const char* after = "\n");

// "Nada foi gravado.": the last line of a refusal that left every file as
// it was.
void printNothingWritten();

// A file that cannot be read, by readWholeFile's outcome: "Erro ao abrir
// arquivo [path]" (RomImage's open failure line) and the reason
// ("Arquivo n\xE3o encontrado.", "N\xE3o \xE9 um arquivo comum.", "O
// arquivo \xE9 grande demais."), or, when reading failed, "Erro de
// leitura de path". Nothing for Read.
void printReadFailure(const std::string& path, FileRead outcome);
// The reason line of a file that is not there, alone: for a reader that
// printed the open failure line itself (RomImage::load).
void printFileNotFound();

// A file that cannot be written: "Erro de escrita de path", or, for a
// target that exists and is not a regular file, "N\xE3o \xE9 poss\xEDvel
// gravar sobre o que n\xE3o \xE9 um arquivo comum: path". Nothing for
// Replaced.
void printWriteFailure(const std::string& path, ReplacingFile::Outcome outcome,
                       SystemReason reason = SystemReason::Unknown);
// Replaces path with the bytes through a ReplacingFile; false, after the
// write failure and its reason, when it could not.
bool replaceOrSay(const std::string& path, const void* bytes, size_t length);

// Writes bytes to path through the replacing writer (complete before it
// takes the target's place); false, having said why and "Nada foi
// gravado.", when it cannot.
bool writeWhole(const std::string& path, const void* bytes, size_t length);

// An output that names one of the run's inputs, then "Nada foi gravado.".
void printOutputIsInput(const std::string& output);

// An image refused for its content: another game (its title shown) or
// another revision. The loaders' NotRead is worded by printReadFailure.
void printImageRefusal(const RomImage& rom, ImageLoad::Outcome outcome);
// Any refusal of loadGameImageFile.
void printImageLoadFailure(const RomImage& rom, const std::string& path, const ImageLoad& load);
// Loads the image at path as the expected game; false after the refusal.
bool loadImageOrRefuse(RomImage& rom, const std::string& path);

// Why a folder cannot be the source of graphics, then "Nada foi gravado.".
void printFolderRefusal(GraphicsFolder problem, const std::string& folder);

// "Faixa livre $98:E000:$99:8000 ..." and why, then "Nada foi gravado.".
void printFreeRangeRefusal(const Span& range, const FreeRangeRefusal& refusal);
// "Faixas livres sobrepostas juntadas em ...": one line for each range
// that several --free made.
void printMergedFreeRanges(const std::vector<Span>& merged);
// A --free range as positions: "$98:E000:$99:8000".
std::string formatRange(const Span& range);

// Where a block went: "no mesmo lugar", "movido para uma faixa livre", ...
const char* placeKindWords(PlaceKind kind);

// The image's growth, when it grew: its old and new size, a hint that
// --free names room the game does not use (things: what would fit there,
// "gr\xE1""ficos" or "textos"), and a warning when it passed 2 MiB.
void printGrowth(uint32_t oldRomDataSize, uint32_t newRomDataSize, const char* things);
// The summary lines both inserting programs end with.
void printBytesAdded(uint32_t oldRomDataSize, uint32_t newRomDataSize);
void printNewChecksum(uint16_t checksum);
// "Faixa livre <range>: <n> bytes ainda livres" for each free range that
// something went to.
void printFreeRoomLeft(const std::vector<Span>& ranges, const std::vector<uint32_t>& left,
                       const std::vector<bool>& used);

// --patch names another file of the run, then "Nada foi gravado.".
void printPatchOverRunFile(const std::string& patch);
// Why createPatch made no patch (TooLargeForIps, ImageTooLarge).
void printPatchNotMade(PatchOutcome made);
// "Patch BPS gravado: path (n bytes)".
void printPatchWritten(PatchFormat format, const std::string& path, size_t patchSize);
// Why writeNewImage wrote nothing (or the image only), output and patch
// as the user named them.
void printNewImageFailure(const NewImageWrite& written, const std::string& output, const std::string& patch);
// Writes the new image and its patch (when one is named) as writeNewImage
// does; false after saying why nothing (or the image only) was written.
bool writeNewImageOrSay(const RomImage& rom, const std::string& output, const std::string& patch,
                        const std::vector<uint8_t>& original, NewImageWrite& written);
// "Patch BPS gravado: ..." after a run's summary, when it named a patch.
void printRunPatch(const std::string& patch, const NewImageWrite& written);

// The words of the two insertions, which brelquim-insert, brelquim-text
// and brelquim-build print alike: why insertGraphics refused (graphics
// named by their file in folder; freeRanges as the run gave them), and the
// changed graphics with the summary.
void printGraphicRefusal(const InsertResult& result, const std::string& folder, const std::vector<Span>& freeRanges);
void printGraphicChanges(const InsertResult& result, const std::vector<Span>& freeRanges, uint16_t checksum);
// A table, a script or a survey of the strings refused, then "Nada foi
// gravado.".
void printTableRefusal(const std::string& path, const TableProblem& problem);
void printScriptRefusal(const std::string& path, const ScriptReading& reading);
void printSurveyRefusal(const StringSurvey& survey);
// A table that marks no end of a string: no string can be read.
void printTableWithoutEnd(const std::string& path);
// A warning for each pair of entries of the same bytes.
void printSameBytes(const std::string& path, const std::vector<SameBytes>& pairs);
// The warning for a table read as Windows-1252, naming its first line that
// is not UTF-8.
void printTableReadAsWindows1252(const std::string& path, size_t line);
// A table or a string on the header or the directory, by its number and
// its bytes, then what it covers.
void printOverReserved(const ReservedOverlap& overlap, const std::vector<GameString>& strings);
// "Roteiro <path>", the start of a line about the script.
void printScript(const std::string& script);
// The character at a place of a script's text: itself where the console
// shows it, and its Unicode number.
void printCharacter(const std::string& text, size_t at);
// Why a text of the script cannot be written, after its place.
void printEncodingProblem(const ScriptEntry& entry, const Encoding& encoding);
// Why insertText refused (the script named by path), and the changed
// strings with the summary and what is left of each free range used.
void printTextRefusal(const TextInsertResult& result, const std::string& script, const std::vector<Span>& freeRanges);
void printTextChanges(const TextInsertResult& result, const std::vector<Span>& freeRanges, uint16_t checksum);

// Why a PNG was not converted or a graphic not drawn; why a palette file
// was refused.
std::string conversionWords(const ConversionProblem& problem);
std::string paletteWords(const PaletteProblem& problem);
// "Erro em <path>: <reason>": a file the conversion refused.
void printConversionRefusal(const std::string& path, const std::string& reason);
// "Paleta inv\xE1lida [<path>]: <reason>".
void printPaletteRefusal(const std::string& path, const std::string& reason);

// What is wrong with a project file: "Projeto <path>, linha L: " and why
// (the key named), then "Nada foi gravado.".
void printProjectRefusal(const std::string& path, const ProjectProblem& problem);

// The check of the text box: a line wider than the box or a box of more
// lines ("Texto n, linha l: ..."), a character the font has no glyph for;
// a build refused for them.
void printOverflow(size_t string, const Overflow& overflow);
void printMissingGlyph(size_t string, const MissingGlyph& missing);
void printOverflowRefused();
// The font graphic cannot be read from the image.
void printFontUnreadable(int graphic);

}  // namespace cli
