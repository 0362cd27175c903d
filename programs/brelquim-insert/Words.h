// What brelquim-insert says of its own: its command line's declaration
// (help lines, in Words.cpp). The insertion's refusals and changes are
// worded in cli/Words.h, which brelquim-build prints them with too.
#pragma once

#include "insertion/Insertion.h"
#include "programs/brelquim-insert/Options.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/ReplacingFile.h"

#include <string>

namespace insert_program {

}  // namespace insert_program
