#include "programs/brelquim-build/Run.h"

#include "cli/Mistake.h"
#include "cli/ProjectFile.h"
#include "cli/Words.h"
#include "preview/Layout.h"
#include "graphics/GameImage.h"
#include "graphics/GraphicsDirectory.h"
#include "insertion/NewImage.h"
#include "platform/FileBytes.h"
#include "platform/Platform.h"
#include "programs/brelquim-build/Init.h"
#include "programs/brelquim-build/Options.h"
#include "programs/brelquim-build/Words.h"
#include "project/Build.h"
#include "project/Digest.h"
#include "text/Script.h"
#include "text/TextTable.h"

#include <memory>

namespace build_program {

namespace {

// The project's files as the programs open them.
struct ProjectFiles {
    std::string original, output, folder, table, script;
    std::vector<std::string> patches;
};

ProjectFiles filesOf(const Project& project) {
    ProjectFiles files;
    files.original = project.path(project.original);
    files.output = project.path(project.output);
    files.folder = project.path(project.graphicsFolder);
    if (!project.table.empty()) files.table = project.path(project.table);
    if (!project.script.empty()) files.script = project.path(project.script);
    for (const std::string& patch : project.patches) files.patches.push_back(project.path(patch));
    return files;
}

// No output is written over an input or over another output.
bool outputsAreNew(const ProjectFiles& files, const std::string& projectPath) {
    for (const std::string* input : {&files.original, &files.table, &files.script, &projectPath}) {
        if (!input->empty() && sameFile(input->c_str(), files.output.c_str())) {
            cli::printOutputIsInput(files.output);
            return false;
        }
    }
    std::vector<const std::string*> others{&files.original, &files.output, &projectPath};
    if (!files.table.empty()) others.push_back(&files.table);
    if (!files.script.empty()) others.push_back(&files.script);
    for (const std::string& patch : files.patches) {
        if (!patchPathIsNew(patch, others)) {
            cli::printPatchOverRunFile(patch);
            return false;
        }
        others.push_back(&patch);
    }
    return true;
}

// The table and the script of the text step; false after the words.
bool readText(const ProjectFiles& files, TextTable& table, ScriptReading& script) {
    for (const std::string* path : {&files.table, &files.script}) {
        std::vector<uint8_t> bytes;
        const FileRead read = readWholeFile(*path, bytes);
        if (read != FileRead::Read) {
            cli::printReadFailure(*path, read);
            cli::printNothingWritten();
            return false;
        }
        if (path == &files.table) {
            const TableProblem problem = table.read(bytes.data(), bytes.size());
            if (problem.kind != TableProblem::None) {
                cli::printTableRefusal(*path, problem);
                return false;
            }
        } else {
            script = readScript(std::string(bytes.begin(), bytes.end()));
            if (script.outcome != ScriptReading::Done) {
                cli::printScriptRefusal(*path, script);
                return false;
            }
        }
    }
    return true;
}

// Each step's words as its program prints them, after the build succeeded.
void printSteps(const ProjectBuild& build, const ProjectEdits& edits, const ProjectFiles& files, uint16_t checksum) {
    printGraphicsStep(edits.fromPng, files.folder);
    cli::printGraphicChanges(build.graphics, build.freeRanges, build.graphicsChecksum);
    if (!build.textDone) {
        printNoScript();
        return;
    }
    printTextStep();
    cli::printTextChanges(build.text, build.textRanges.pieces, checksum);
}

// The text box check of a project with [font] and [box]: every string of
// the built image in its box, by the font the image holds. False, after
// the overflows and the refusal, when a string does not fit and the build
// may not write it.
bool textFits(RomImage& rom, const TextTable& table, const ScriptReading& script, const Project& project,
              bool allowOverflow) {
    if (!project.hasFont || !project.hasBox) return true;
    const ImageCheck check = checkImageStrings(rom, table, script.tables, project.preview);
    if (check.outcome == ImageCheck::FontUnreadable) {
        cli::printFontUnreadable(project.preview.font.graphic);
        cli::printNothingWritten();
        return false;
    }
    if (check.outcome == ImageCheck::SurveyRefused) {
        cli::printSurveyRefusal(check.survey);
        return false;
    }
    for (const StringOverflows& string : check.found) {
        for (const Overflow& overflow : string.overflows) cli::printOverflow(string.string + 1, overflow);
        for (const MissingGlyph& missing : string.missing) cli::printMissingGlyph(string.string + 1, missing);
    }
    if (check.found.empty() || allowOverflow) return true;
    cli::printOverflowRefused();
    return false;
}

int runProjectBuild(const BuildOptions& options) {
    const std::string projectPath = options.project.empty() ? PROJECT_FILE : options.project;
    if (options.project.empty() && fileKind(PROJECT_FILE) == FileKind::Missing) {
        printNoProject();
        return 1;
    }
    Project project;
    if (!cli::loadProjectFile(projectPath, project)) return 1;
    const ProjectFiles files = filesOf(project);
    if (!outputsAreNew(files, projectPath)) return 1;

    RomImage rom;
    if (!cli::loadImageOrRefuse(rom, files.original)) return 1;
    const std::vector<uint8_t> original = romDataOf(rom);
    const std::string originalDigest = sha256Hex(original.data(), original.size());
    if (originalDigest != project.sha256) {
        printDigestMismatch(files.original, project.sha256, originalDigest);
        return 1;
    }
    const GraphicsFolder folder = checkGraphicsFolder(files.folder);
    if (folder != GraphicsFolder::Usable) {
        cli::printFolderRefusal(folder, files.folder);
        return 1;
    }
    TextTable table;
    ScriptReading script;
    const bool hasText = !files.script.empty();
    if (hasText && !readText(files, table, script)) return 1;

    ProjectEdits edits(project, files.folder);
    const ProjectBuild build = buildImage(rom, edits, project, hasText ? &table : nullptr, hasText ? &script : nullptr);
    cli::printMergedFreeRanges(build.mergedFreeRanges);
    if (build.outcome == ProjectBuild::GraphicsRefused) {
        if (build.graphics.outcome == InsertResult::EditUnreadable && edits.problem.kind != ProjectEdits::Problem::None) {
            printEditProblem(edits.problem);
        } else {
            cli::printGraphicRefusal(build.graphics, files.folder, build.freeRanges);
        }
        return 1;
    }
    if (build.outcome == ProjectBuild::TextRefused) {
        cli::printTextRefusal(build.text, files.script, build.textRanges.pieces);
        return 1;
    }
    if (build.textDone && !textFits(rom, table, script, project, options.allowOverflow)) return 1;
    const NewImageWrite written = writeNewImage(rom, files.output, files.patches, original);
    if (written.outcome != NewImageWrite::Written) {
        const std::string failedPatch = files.patches.empty() ? "" : files.patches[written.failedPatch];
        cli::printNewImageFailure(written, files.output, failedPatch);
        return 1;
    }

    if (rom.headerBytes() > 0) printCopierHeader(files.original);
    printSteps(build, edits, files, static_cast<uint16_t>(rom.checksum));
    Summary summary;
    summary.graphics = build.graphics.changes.size();
    summary.textDone = build.textDone;
    summary.strings = build.text.changes.size();
    summary.oldRomDataSize = static_cast<uint32_t>(original.size());
    summary.newRomDataSize = rom.romDataSize();
    summary.freeTexts = project.freeTexts;
    summary.freeLeft = build.freeLeft;
    summary.checksum = static_cast<uint16_t>(rom.checksum);
    summary.output = files.output;
    summary.patches = files.patches;
    summary.patchSizes = written.patchSizes;
    summary.originalDigest = originalDigest;
    summary.outputDigest = sha256Hex(rom.romData(), rom.romDataSize());
    printSummary(summary);
    return 0;
}

}  // namespace

int runBuild(int argc, char** argv) {
    cli::printBanner(buildProgram());
    cli::CommandParse parse;
    int status = 0;
    if (!cli::readCommandLine(buildProgram(), argc, argv, parse, status)) return status;
    const BuildOptions options = buildOptionsOf(parse.parse);
    if (options.init) {
        if (!options.project.empty()) {
            printProjectWithoutInit();
            return 1;
        }
        if (options.input.empty()) return cli::refuseMissing(buildProgram(), -1, "-i");
        return runInit(options);
    }
    if (!options.input.empty() || !options.table.empty()) {
        printInitOptionsAlone();
        return 1;
    }
    return runProjectBuild(options);
}

}  // namespace build_program
