#include "programs/brelquim-png/Run.h"

#include "cli/Mistake.h"
#include "cli/ProjectFile.h"
#include "cli/Words.h"
#include "graphics/GameLayout.h"
#include "platform/FileBytes.h"
#include "programs/brelquim-png/FileConversion.h"
#include "programs/brelquim-png/Formats.h"
#include "programs/brelquim-png/Gallery.h"
#include "programs/brelquim-png/Options.h"
#include "programs/brelquim-png/Words.h"

#include <cstdio>

namespace png_program {

int runPngTool(int argc, char** argv) {
    cli::printBanner(pngProgram());
    cli::CommandParse parse;
    int status = 0;
    if (!cli::readCommandLine(pngProgram(), argc, argv, parse, status)) return status;
    Options options;
    if (!pngOptionsOf(parse.parse, options)) return 1;
    std::optional<Project> project;
    if (!cli::loadRunProject(parse.parse, project)) return 1;
    GraphicSettings settings(options, project);
    // The palette the line names is read before any file is converted.
    ConversionSettings lineSettings;
    if (!settings.settingsFor(-1, lineSettings)) return 1;
    const bool done = options.gallery ? drawGallery(options, settings) : convertFiles(options.files, settings);
    return done ? 0 : 1;
}

}  // namespace png_program
