// What brelquim-patch prints: its command line's declaration (help
// lines), each refusal of its own and what was written. Windows-1252
// text; names the user gave are printed as they came. What it shares with
// the other programs is worded in cli/Words.h.
#pragma once

#include "programs/brelquim-patch/Command.h"
#include "patch/Patch.h"

#include <string>

namespace patch_program {

// Why a patch could not be made or applied.
void printRefusal(const PatchResult& result, PatchFormat format);
// Which sides of create had a copier header taken off, when any.
void printCopierHeadersRemoved(bool original, bool modified);
void printPatchWritten(const PatchCommand& command, size_t patchSize, bool identical);
void printImageWritten(const PatchCommand& command, const PatchResult& result, size_t imageSize);

}  // namespace patch_program
