// One run of brelquim-patch, from the banner to the exit status.
#pragma once

namespace patch_program {

// Returns the exit status: 0 when the patch or the image was written (or
// the help or the version shown), 1 on a usage mistake, a refusal or a
// failure, after its message.
int runPatchTool(int argc, char** argv);

}  // namespace patch_program
