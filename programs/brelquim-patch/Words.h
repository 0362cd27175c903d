// What brelquim-patch prints: its command line's declaration (help
// lines), each refusal and what was written. Windows-1252 text; names the user gave are printed as
// they came.
#pragma once

#include "platform/ReplacingFile.h"

#include "programs/brelquim-patch/Command.h"
#include "platform/FileBytes.h"
#include "patch/Patch.h"

#include <string>

namespace patch_program {

void printReadFailure(const std::string& path, FileRead read);
void printOutputIsInput(const PatchCommand& command);
// Why a patch could not be made or applied.
void printRefusal(const PatchResult& result, PatchFormat format);
void printWriteError(const std::string& path, ReplacingFile::Outcome outcome);
void printPatchWritten(const PatchCommand& command, size_t patchSize, bool identical);
void printImageWritten(const PatchCommand& command, const PatchResult& result, size_t imageSize);

}  // namespace patch_program
