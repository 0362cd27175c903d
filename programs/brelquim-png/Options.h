// The command line of brelquim-png.
#pragma once

#include "cli/Options.h"
#include "tiles/TileFormat.h"
#include "tiles/TileSheet.h"

#include <cstdint>
#include <string>
#include <vector>

namespace png_program {

struct Options {
    bool gallery = false;
    TileFormat format = TileFormat::Bpp4;
    Arrangement arrangement;
    std::string paletteFile;  // empty: the grey ramp
    uint32_t paletteRow = 0;
    std::vector<std::string> files;
    // Which of the format's options the line gave: those win over the
    // project's format of a graphic.
    bool formatGiven = false, columnsGiven = false, blocks16Given = false, paletteRowGiven = false;
};

// The program: its name, its banner, its options (declared in
// Options.cpp) and its two forms, files or --gallery.
const cli::Program& pngProgram();

// The options of a command line that parsed. False, after a line naming
// the problem and the usage, for options that do not go together.
bool pngOptionsOf(const cli::Parse& parse, Options& options);

}  // namespace png_program
