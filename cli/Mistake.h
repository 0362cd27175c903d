// The line that names a mistake of the command line, in the same words in
// every companion program, before the program's usage.
#pragma once

#include "cli/Options.h"

namespace cli {

// Prints the mistake (Windows-1252), the word the user gave as it came;
// nothing for a parse that holds none (help, version, no command at all).
void printMistake(const Parse& parse);

}  // namespace cli
