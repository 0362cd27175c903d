// Converting the files named on the command line, each beside itself:
// name.bin to name.png and name.png to name.bin.
#pragma once

#include "png/Conversion.h"
#include "programs/brelquim-png/Formats.h"

#include <string>
#include <vector>

namespace png_program {

// Converts each file (a graphic's file in its format), printing a line for
// each; a refused file leaves its target untouched and the others are
// still converted. True when every file was converted.
bool convertFiles(const std::vector<std::string>& files, GraphicSettings& settings);

}  // namespace png_program
