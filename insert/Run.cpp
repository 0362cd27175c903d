#include "insert/Run.h"

#include "rom/RomImage.h"
#include "insert/EditSource.h"
#include "insert/Insertion.h"
#include "insert/Options.h"
#include "insert/Report.h"
#include "graphics/GameImage.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"

namespace {

// The whole image, copier header included, to a new file that replaces
// the output only once it is complete.
bool writeImage(const RomImage& rom, const std::string& output) {
    return ReplacingFile::replaceWith(output, rom.data.get(), static_cast<size_t>(rom.size));
}

}  // namespace

int runInsert(int argc, char** argv) {
    printBanner();
    InsertOptions options;
    if (!parseInsertOptions(argc, argv, options)) return printUsage();
    if (sameFile(options.input.c_str(), options.output.c_str())) {
        printOutputIsInput(options.output);
        return 1;
    }

    RomImage rom;
    if (!loadGameImage(rom, options.input.c_str())) return 1;

    FolderEdits edits(options.folder);
    const InsertResult result = insertGraphics(rom, edits, {options.freeRanges, options.allowResize});
    if (result.outcome != InsertResult::Done) {
        printRefusal(result, options);
        return 1;
    }
    if (!writeImage(rom, options.output)) {
        printWriteError(options.output);
        return 1;
    }
    printChanges(result, static_cast<uint16_t>(rom.checksum));
    return 0;
}
