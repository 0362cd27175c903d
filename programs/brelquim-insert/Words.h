// What brelquim-insert prints: its command line's declaration (help
// lines), each refusal of the insertion, the changed graphics and the
// summary. Windows-1252 text; names the user gave are printed as they
// came. What it shares with the other programs is worded in cli/Words.h.
#pragma once

#include "insertion/Insertion.h"
#include "programs/brelquim-insert/Options.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/ReplacingFile.h"

#include <string>

namespace insert_program {

// Why insertGraphics refused the run; graphics are named by their file
// in folder.
void printRefusal(const InsertResult& result, const InsertOptions& options);
// One line per changed graphic, the growth of the image, the summary.
void printChanges(const InsertResult& result, const InsertOptions& options, uint16_t checksum);

}  // namespace insert_program
