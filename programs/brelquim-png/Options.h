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
    bool formatChosen = false;  // --bpp or --mode7 given
    Arrangement arrangement;
    std::string paletteFile;  // empty: the grey ramp
    uint32_t paletteRow = 0;
    std::vector<std::string> files;
};

// The program: its name, its banner, its options (declared in
// Options.cpp) and its two forms, files or --gallery.
const cli::Program& pngProgram();

// The options of a command line that parsed. False, after a line naming
// the problem and the usage, for options that do not go together.
bool pngOptionsOf(const cli::Parse& parse, Options& options);

}  // namespace png_program
