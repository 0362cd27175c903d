// One run of brelquim-png, from the banner to the exit status.
#pragma once

namespace png_program {

// argv[0] is the program's name. Returns 0 when every file was converted
// (every graphic drawn, for the gallery), 1 otherwise, after its messages.
int runPngTool(int argc, char** argv);

}  // namespace png_program
