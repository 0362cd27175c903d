// The command line of brelquim-png.
#pragma once

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
};

// Reads the entries after the program's name. Refused, after a line
// naming the problem (if any) and the usage text, for a command line that
// is not one of the two forms; HelpShown after the usage and the option
// table (-h, --help); VersionShown for --version (the banner is all).
enum class OptionsRead { Read, Refused, HelpShown, VersionShown };
OptionsRead parseOptions(int argc, char** argv, Options& options);

}  // namespace png_program
