// Loading the image of the expected game, with the same refusals and
// messages in every program.
#pragma once

#include "rom/RomImage.h"

// Loads the image at path into rom and accepts it only when its internal
// header names the expected game in the expected revision. On refusal it
// has printed why (the file, the title or the revision)
// and returns false.
bool loadGameImage(RomImage& rom, const char* path);
