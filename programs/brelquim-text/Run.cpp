#include "programs/brelquim-text/Run.h"

#include "cli/Mistake.h"
#include "cli/ProjectFile.h"
#include "cli/Words.h"
#include "encoding/Encoding.h"
#include "rom/RomImage.h"
#include "graphics/GameImage.h"
#include "platform/FileBytes.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"
#include "rom/Position.h"
#include "insertion/NewImage.h"
#include "programs/brelquim-text/Inputs.h"
#include "programs/brelquim-text/Options.h"
#include "programs/brelquim-text/Preview.h"
#include "programs/brelquim-text/Words.h"
#include "insertion/TextInsertion.h"
#include "text/Script.h"
#include "text/StringSurvey.h"
#include "text/TextTable.h"

#include <cstdio>
#include <initializer_list>

namespace text_program {

namespace {

// Labels are at most 31 characters, a placeholder 8.
constexpr size_t LABEL_ROOM = 40;

}  // namespace

// A file that cannot be read ends the run before anything is written.
void printFileRefusal(const std::string& path, FileRead outcome) {
    cli::printReadFailure(path, outcome);
    cli::printNothingWritten();
}

bool loadImage(RomImage& rom, const std::string& path) { return cli::loadImageOrRefuse(rom, path); }

bool readTable(const std::string& path, TextTable& table, bool needsEnd) {
    std::vector<uint8_t> bytes;
    const FileRead read = readWholeFile(path, bytes);
    if (read != FileRead::Read) {
        printFileRefusal(path, read);
        return false;
    }
    const TableProblem problem = table.read(bytes.data(), bytes.size());
    if (problem.kind != TableProblem::None) {
        cli::printTableRefusal(path, problem);
        return false;
    }
    if (table.windows1252Line() != 0) cli::printTableReadAsWindows1252(path, table.windows1252Line());
    // Strings read through pointers end at an end token; a scan lists
    // runs without one, and names the likely end tokens.
    if (needsEnd && !table.hasEndTokens()) {
        cli::printTableWithoutEnd(path);
        return false;
    }
    cli::printSameBytes(path, table.sameBytes());
    return true;
}

// True when output names none of the inputs, however spelled or linked.
bool outputIsNew(const std::string& output, std::initializer_list<const std::string*> inputs) {
    for (const std::string* input : inputs) {
        if (!input->empty() && sameFile(input->c_str(), output.c_str())) {
            cli::printOutputIsInput(output);
            return false;
        }
    }
    return true;
}

// The label of a string's first pointer, in UTF-8, its line end left out.
std::string labelOf(const RomImage& rom, const GameString& string) {
    char text[LABEL_ROOM] = {};
    int32_t length = 0;
    rom.expandKey(fileToLoRom(string.pointers.front().at), text, length);
    std::string label(text, static_cast<size_t>(length));
    while (!label.empty() && (label.back() == '\n' || label.back() == '\r')) label.pop_back();
    // The label list cuts a long label at its last byte, which may fall
    // inside a UTF-8 character: the script shows the label without it.
    if (label.size() == sizeof(LabelEntry::text) - 1) label.resize(utf8WithoutCutEnd(label));
    // A label that is not UTF-8 is Windows-1252, as such files are written.
    return firstNonUtf8(label) == label.size() ? label : windows1252ToUtf8(label.data(), label.size());
}

bool loadLabels(RomImage& rom, const std::string& path) {
    if (path.empty()) return true;
    // The label list reads its file itself: a FIFO or a device is refused
    // before it could be waited on.
    if (fileKind(path.c_str()) == FileKind::Other) {
        printFileRefusal(path, FileRead::NotAFile);
        return false;
    }
    return rom.loadLabels(path.c_str()) == 0;
}

namespace {

int runDump(const TextOptions& options) {
    if (!outputIsNew(options.output, {&options.input, &options.table, &options.labels})) return 1;
    RomImage rom;
    if (!loadImage(rom, options.input)) return 1;
    const ReservedOverlap onTable = tableOverReserved(rom, options.tables);
    if (onTable.kind != ReservedOverlap::None) {
        cli::printOverReserved(onTable, {});
        return 1;
    }
    TextTable table;
    if (!readTable(options.table, table)) return 1;
    if (!loadLabels(rom, options.labels)) return 1;

    const uint8_t* romData = rom.romData();
    const StringSurvey survey = surveyStrings(romData, rom.romDataSize(), options.tables, table);
    if (survey.outcome != StringSurvey::Done) {
        cli::printSurveyRefusal(survey);
        return 1;
    }
    const ReservedOverlap onString = stringOverReserved(rom, survey.strings);
    if (onString.kind != ReservedOverlap::None) {
        cli::printOverReserved(onString, survey.strings);
        return 1;
    }
    // The script goes to the file as it is made, a block of strings at a
    // time.
    constexpr size_t WRITE_AT = size_t{1} << 18;
    ReplacingFile output(options.output);
    ScriptWriter writer(options.tables);
    std::string text, label;
    size_t pointers = 0, bytes = 0;
    for (const GameString& string : survey.strings) {
        text.clear();
        appendStringText(table, romData + string.offset, string.length, text);
        if (!options.labels.empty()) label = labelOf(rom, string);
        writer.add(string, options.labels.empty() ? nullptr : &label, text);
        if (writer.text().size() >= WRITE_AT) {
            output.write(writer.text().data(), writer.text().size());
            writer.text().clear();
        }
        pointers += string.pointers.size();
        bytes += string.length;
    }
    output.write(writer.text().data(), writer.text().size());
    const ReplacingFile::Outcome written = output.commit();
    if (written != ReplacingFile::Outcome::Replaced) {
        cli::printWriteFailure(options.output, written, output.reason());
        cli::printNothingWritten();
        return 1;
    }
    printDumped(survey.strings.size(), pointers, bytes, options.output);
    return 0;
}

int runInsertText(const TextOptions& options) {
    if (!outputIsNew(options.output, {&options.input, &options.table, &options.script})) return 1;
    if (!options.patch.empty() &&
        !patchPathIsNew(options.patch, {&options.input, &options.output, &options.table, &options.script})) {
        cli::printPatchOverRunFile(options.patch);
        return 1;
    }
    RomImage rom;
    if (!cli::loadImageOrRefuse(rom, options.input)) return 1;
    TextTable table;
    if (!readTable(options.table, table)) return 1;
    std::vector<uint8_t> scriptBytes;
    const FileRead read = readWholeFile(options.script, scriptBytes);
    if (read != FileRead::Read) {
        printFileRefusal(options.script, read);
        return 1;
    }
    const ScriptReading script = readScript(std::string(scriptBytes.begin(), scriptBytes.end()));
    if (script.outcome != ScriptReading::Done) {
        cli::printScriptRefusal(options.script, script);
        return 1;
    }

    const std::vector<uint8_t> original = options.patch.empty() ? std::vector<uint8_t>{} : romDataOf(rom);
    cli::printMergedFreeRanges(options.mergedFreeRanges);
    const TextInsertResult result = insertText(rom, table, script, options.freeRanges);
    if (result.outcome != TextInsertResult::Done) {
        cli::printTextRefusal(result, options.script, options.freeRanges);
        return 1;
    }
    NewImageWrite written;
    if (!cli::writeNewImageOrSay(rom, options.output, options.patch, original, written)) return 1;
    cli::printTextChanges(result, options.freeRanges, static_cast<uint16_t>(rom.checksum));
    cli::printRunPatch(options.patch, written);
    return 0;
}

int runSearch(const TextOptions& options) {
    if (!options.output.empty() && !outputIsNew(options.output, {&options.input})) return 1;
    RomImage rom;
    if (!loadImage(rom, options.input)) return 1;
    const RelativeSearch search = searchWords(rom.romData(), rom.romDataSize(), options.words, options.wide);
    if (search.outcome != RelativeSearch::Done) {
        printSearchRefusal(search, options.words);
        return 1;
    }
    printMappings(search, options.words, options.wide);
    if (options.output.empty()) return 0;
    // The draft names the words that fixed its mapping.
    const FoundMapping& first = search.mappings.front();
    std::vector<std::string> fixing;
    for (const SearchHit& hit : first.hits) {
        if (fixing.empty() || fixing.back() != options.words[hit.word]) fixing.push_back(options.words[hit.word]);
    }
    const std::string draft = draftTable(first.mapping, fixing, options.wide);
    if (!cli::writeWhole(options.output, draft.data(), draft.size())) return 1;
    printDraftWritten(options.output);
    return 0;
}

int runScan(const TextOptions& options) {
    if (!options.output.empty() && !outputIsNew(options.output, {&options.input, &options.table})) return 1;
    RomImage rom;
    if (!loadImage(rom, options.input)) return 1;
    TextTable table;
    if (!readTable(options.table, table, false)) return 1;
    const uint8_t* romData = rom.romData();
    const TextScanResult scan = scanText(romData, rom.romDataSize(), table, options.least);
    // "$98:800E 23 Welcome to the castle!<end>", in UTF-8.
    std::string listing;
    for (const TextRun& run : scan.runs) {
        listing += formatBusAddress(run.offset) + " " + std::to_string(run.length) + " " +
                   runText(table, romData, run) + "\n";
    }
    if (options.output.empty()) {
        printVerbatim(listing.c_str());
    } else if (!cli::writeWhole(options.output, listing.data(), listing.size())) {
        return 1;
    }
    printScanSummary(scan, options.output);
    return 0;
}

// A word of a command line as a shell takes it: in double quotes when it
// holds anything but letters, digits and "_./:\\-".
std::string shellWord(const std::string& word) {
    const bool plain = !word.empty() && word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                                               "0123456789_./:\\-") == std::string::npos;
    return plain ? word : "\"" + word + "\"";
}

// pointers --save: the tables found added to the project's [text], every
// other line of the file kept.
int saveTables(const TextOptions& options, const PointerSearch& search) {
    if (options.projectFile.empty()) {
        printSaveWithoutProject();
        return 1;
    }
    std::vector<uint8_t> bytes;
    const FileRead read = readWholeFile(options.projectFile, bytes);
    if (read != FileRead::Read) {
        printFileRefusal(options.projectFile, read);
        return 1;
    }
    std::string text(bytes.begin(), bytes.end());
    std::vector<PointerTable> tables;
    for (const FoundTable& found : search.tables) tables.push_back(found.table);
    ProjectProblem problem;
    if (!addPointerTables(text, tables, problem)) {
        cli::printProjectRefusal(options.projectFile, problem);
        return 1;
    }
    if (!cli::writeWhole(options.projectFile, text.data(), text.size())) return 1;
    printTablesSaved(options.projectFile, tables.size());
    return 0;
}

int runPointers(const TextOptions& options) {
    RomImage rom;
    if (!loadImage(rom, options.input)) return 1;
    TextTable table;
    if (!readTable(options.table, table)) return 1;
    const PointerSearch search = findPointerTables(rom.romData(), rom.romDataSize(), table, options.least);
    // The tables as file offsets, which no shell reads otherwise ("$98"
    // would be a variable to most).
    std::string line = "brelquim-text dump -i " + shellWord(options.input) + " --table " + shellWord(options.table);
    for (const FoundTable& found : search.tables) {
        char value[32];
        std::snprintf(value, sizeof value, "%x:%u", static_cast<unsigned>(found.table.offset),
                      static_cast<unsigned>(found.table.count));
        line += std::string(" ") + found.optionName() + " " + value;
    }
    printFoundTables(search, line);
    if (search.tables.empty()) return 1;
    return options.save ? saveTables(options, search) : 0;
}

}  // namespace

int runText(int argc, char** argv) {
    cli::printBanner(textProgram());
    cli::CommandParse parse;
    int status = 0;
    if (!cli::readCommandLine(textProgram(), argc, argv, parse, status)) return status;
    std::optional<Project> project;
    if (!cli::loadRunProject(parse.parse, project)) return 1;
    const TextOptions options = textOptionsOf(parse, project ? &*project : nullptr);
    const std::string missing = missingOption(options);
    if (!missing.empty()) return cli::refuseMissing(textProgram(), parse.command, missing, missing[0] == '<');
    switch (options.command) {
        case TextOptions::Dump: return runDump(options);
        case TextOptions::Insert: return runInsertText(options);
        case TextOptions::Search: return runSearch(options);
        case TextOptions::Scan: return runScan(options);
        case TextOptions::Pointers: return runPointers(options);
        case TextOptions::Preview:
        case TextOptions::Check: return runPreview(options);
    }
    return 1;
}

}  // namespace text_program
