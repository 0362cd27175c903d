// What brelquim-text says of its own: its command line's declarations
// (help lines, in Words.cpp) and the dump's summary. Windows-1252 text;
// names the user gave are printed as they came. The refusals of the
// table, the script and the insertion, and the changed strings, are worded
// in cli/Words.h, which brelquim-build prints them with too.
#pragma once

#include "cli/Options.h"
#include "programs/brelquim-text/Options.h"
#include "insertion/TextInsertion.h"
#include "text/Script.h"
#include "text/TextTable.h"

#include <string>

namespace text_program {

// A dump's summary line.
void printDumped(size_t strings, size_t pointers, size_t bytes, const std::string& script);

}  // namespace text_program
