// Loading the image of the expected game, with the same refusals and
// messages in every program.
#pragma once

#include "rom/RomImage.h"

#include <string>

// Loads the image at path into rom and accepts it only when its internal
// header names the expected game in the expected revision. On refusal it
// has printed why (the file, the title or the revision)
// and returns false.
bool loadGameImage(RomImage& rom, const char* path);

// The same for the companion programs: the file is read whole through the
// platform's input call, so a path of any length the system takes is
// read, and a FIFO, a device or a folder is refused without waiting on
// it. The messages are loadGameImage's, and for a file that is not a
// regular one "Erro ao abrir arquivo [path]" then "N\xE3o \xE9 um arquivo
// comum.".
bool loadGameImageFile(RomImage& rom, const std::string& path);
