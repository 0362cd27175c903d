#include "programs/brelquim-png/Run.h"

#include "cli/Mistake.h"
#include "cli/Words.h"
#include "graphics/GameLayout.h"
#include "platform/FileBytes.h"
#include "programs/brelquim-png/FileConversion.h"
#include "programs/brelquim-png/Gallery.h"
#include "programs/brelquim-png/Options.h"
#include "programs/brelquim-png/Words.h"

#include <cstdio>

namespace png_program {

namespace {

// The palette that the options name; false, after a message, when its file
// cannot be read or is no palette.
bool loadPalette(const Options& options, PaletteChoice& palette) {
    if (options.paletteFile.empty()) return true;
    std::vector<uint8_t> bytes;
    const FileRead read = readWholeFile(options.paletteFile, bytes);
    if (read != FileRead::Read) {
        cli::printReadFailure(options.paletteFile, read);
        return false;
    }
    const PaletteProblem problem = parsePaletteFile(bytes.data(), bytes.size(), palette.colours);
    if (problem.kind != PaletteProblem::None) {
        cli::printPaletteRefusal(options.paletteFile, cli::paletteWords(problem));
        return false;
    }
    palette.fromFile = true;
    palette.row = options.paletteRow;
    return true;
}

}  // namespace

int runPngTool(int argc, char** argv) {
    cli::printBanner(pngProgram());
    cli::CommandParse parse;
    int status = 0;
    if (!cli::readCommandLine(pngProgram(), argc, argv, parse, status)) return status;
    Options options;
    if (!pngOptionsOf(parse.parse, options)) return 1;
    ConversionSettings settings;
    settings.format = options.format;
    settings.arrangement = options.arrangement;
    if (!loadPalette(options, settings.palette)) return 1;
    const bool done = options.gallery ? drawGallery(options, settings) : convertFiles(options.files, settings);
    return done ? 0 : 1;
}

}  // namespace png_program
