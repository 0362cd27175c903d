// One run of brelquim-build, from the banner to the exit status.
#pragma once

namespace build_program {

// Returns the exit status: 0 when the project (init) or the image and its
// patches (a build) were written, 1 on any refusal or failure, after its
// message, with nothing written.
int runBuild(int argc, char** argv);

}  // namespace build_program
