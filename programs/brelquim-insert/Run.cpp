#include "programs/brelquim-insert/Run.h"

#include "cli/Mistake.h"
#include "cli/ProjectFile.h"
#include "rom/RomImage.h"
#include "insertion/EditSource.h"
#include "insertion/Insertion.h"
#include "programs/brelquim-insert/Options.h"
#include "programs/brelquim-insert/Words.h"
#include "graphics/GameImage.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/Platform.h"
#include "insertion/NewImage.h"
#include "cli/Words.h"

namespace insert_program {

int runInsert(int argc, char** argv) {
    cli::printBanner(insertProgram());
    cli::CommandParse parse;
    int status = 0;
    if (!cli::readCommandLine(insertProgram(), argc, argv, parse, status)) return status;
    std::optional<Project> project;
    if (!cli::loadRunProject(parse.parse, project)) return 1;
    const InsertOptions options = insertOptionsOf(parse.parse, project ? &*project : nullptr);
    if (options.input.empty()) return cli::refuseMissing(insertProgram(), -1, "-i");
    if (sameFile(options.input.c_str(), options.output.c_str())) {
        cli::printOutputIsInput(options.output);
        return 1;
    }
    if (!options.patch.empty() && !patchPathIsNew(options.patch, {&options.input, &options.output})) {
        cli::printPatchOverRunFile(options.patch);
        return 1;
    }

    RomImage rom;
    if (!cli::loadImageOrRefuse(rom, options.input)) return 1;
    const GraphicsFolder folder = checkGraphicsFolder(options.folder);
    if (folder != GraphicsFolder::Usable) {
        cli::printFolderRefusal(folder, options.folder);
        return 1;
    }

    const std::vector<uint8_t> original = options.patch.empty() ? std::vector<uint8_t>{} : romDataOf(rom);
    FolderEdits edits(options.folder);
    cli::printMergedFreeRanges(options.mergedFreeRanges);
    const InsertResult result = insertGraphics(rom, edits, {options.freeRanges, options.allowResize});
    if (result.outcome != InsertResult::Done) {
        cli::printGraphicRefusal(result, options.folder, options.freeRanges);
        return 1;
    }
    NewImageWrite written;
    if (!cli::writeNewImageOrSay(rom, options.output, options.patch, original, written)) return 1;
    cli::printGraphicChanges(result, options.freeRanges, static_cast<uint16_t>(rom.checksum));
    cli::printRunPatch(options.patch, written);
    return 0;
}

}  // namespace insert_program
