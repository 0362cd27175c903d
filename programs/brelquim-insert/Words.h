// What brelquim-insert prints: the usage text, each refusal of the
// insertion, the changed graphics and the summary. Windows-1252 text;
// names the user gave are printed as they came. What it shares with the
// other programs is worded in cli/Words.h.
#pragma once

#include "insertion/Insertion.h"
#include "programs/brelquim-insert/Options.h"
#include "cli/Options.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/ReplacingFile.h"

#include <string>

namespace insert_program {

void printBanner();
// The usage: the command line and the option table.
void printUsage();
// A command line that could not be read: what was wrong (nothing for no
// words at all), then the usage; returns the exit status 1.
int printOptionMistake(const cli::Parse& parse, bool nothingGiven);
// Why insertGraphics refused the run; graphics are named by their file
// in folder.
void printRefusal(const InsertResult& result, const InsertOptions& options);
// One line per changed graphic, the growth of the image, the summary.
void printChanges(const InsertResult& result, uint16_t checksum);

}  // namespace insert_program
