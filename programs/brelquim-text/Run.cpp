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
#include "insertion/NewImage.h"
#include "programs/brelquim-text/Options.h"
#include "programs/brelquim-text/Words.h"
#include "insertion/TextInsertion.h"
#include "text/Script.h"
#include "text/StringSurvey.h"
#include "text/TextTable.h"

#include <initializer_list>

namespace text_program {

namespace {

// Labels are at most 31 characters, a placeholder 8.
constexpr size_t LABEL_ROOM = 40;

// A file that cannot be read ends the run before anything is written.
void printFileRefusal(const std::string& path, FileRead outcome) {
    cli::printReadFailure(path, outcome);
    cli::printNothingWritten();
}

bool readTable(const std::string& path, TextTable& table) {
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
    // A label that is not UTF-8 is Windows-1252, as such files are written.
    return firstNonUtf8(label) == label.size() ? label : windows1252ToUtf8(label.data(), label.size());
}

int runDump(const TextOptions& options) {
    if (!outputIsNew(options.output, {&options.input, &options.table, &options.labels})) return 1;
    RomImage rom;
    if (!cli::loadImageOrRefuse(rom, options.input)) return 1;
    TextTable table;
    if (!readTable(options.table, table)) return 1;
    if (!options.labels.empty()) {
        // The label list reads its file itself: a FIFO or a device is
        // refused before it could be waited on.
        if (fileKind(options.labels.c_str()) == FileKind::Other) {
            printFileRefusal(options.labels, FileRead::NotAFile);
            return 1;
        }
        if (rom.loadLabels(options.labels.c_str()) != 0) return 1;
    }

    const uint8_t* romData = rom.romData();
    const StringSurvey survey = surveyStrings(romData, rom.romDataSize(), options.tables, table);
    if (survey.outcome != StringSurvey::Done) {
        cli::printSurveyRefusal(survey);
        return 1;
    }
    ScriptSource source{options.tables, {}};
    std::vector<std::string> texts;
    size_t pointers = 0, bytes = 0;
    for (const GameString& string : survey.strings) {
        texts.push_back(scriptText(table, romData + string.offset, string.pieces));
        if (!options.labels.empty()) source.labels.push_back(labelOf(rom, string));
        pointers += string.pointers.size();
        bytes += string.length;
    }
    const std::string script = writeScript(source, survey.strings, texts);
    const ReplacingFile::Outcome written = ReplacingFile::replaceWith(options.output, script.data(), script.size());
    if (written != ReplacingFile::Outcome::Replaced) {
        cli::printWriteFailure(options.output, written);
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
    const TextInsertResult result = insertText(rom, table, script, options.freeRanges);
    if (result.outcome != TextInsertResult::Done) {
        cli::printTextRefusal(result, options.script, options.freeRanges);
        return 1;
    }
    const NewImageWrite written = writeNewImage(rom, options.output, options.patch, original);
    if (written.outcome != NewImageWrite::Written) {
        cli::printNewImageFailure(written, options.output, options.patch);
        return 1;
    }
    cli::printTextChanges(result, options.freeRanges, static_cast<uint16_t>(rom.checksum));
    if (!options.patch.empty()) cli::printPatchWritten(patchFormatOf(options.patch), options.patch, written.patchSize);
    return 0;
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
    return options.command == TextOptions::Dump ? runDump(options) : runInsertText(options);
}

}  // namespace text_program
