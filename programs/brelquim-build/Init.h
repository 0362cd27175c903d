// brelquim-build init: a new project for an image, and its graphics
// extracted beside it.
#pragma once

#include "programs/brelquim-build/Options.h"

namespace build_program {

// Returns the exit status, after the run's words.
int runInit(const BuildOptions& options);

}  // namespace build_program
