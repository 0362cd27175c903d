#pragma once

#include "programs/brelquim-text/Options.h"

namespace text_program {

// preview and check: each string laid out in the text box by the font.
int runPreview(const TextOptions& options);

}  // namespace text_program
