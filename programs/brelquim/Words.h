// What brelquim says about the outcomes of its run (Windows-1252 text);
// what it shares with the other programs is worded in cli/Words.h.
#pragma once

#include "graphics/GameImage.h"
#include "rom/RomImage.h"

#include <cstdint>

namespace extract_program {

// Why the image was refused. For a file that could not be read, RomImage's
// load has printed the open failure line; this adds the reason.
void printImageRefusal(const RomImage& rom, const ImageLoad& load);
// "checksum: 5a3c": the header's checksum of the accepted image.
void printChecksum(uint16_t checksum);
// The log could not be opened or written whole: "Erro de escrita.".
void printLogWriteError();
// A graphic's record or compressed data lie outside the ROM data.
void printGraphicReadError(int graphic);
// A graphic's file could not be opened or written whole.
void printGraphicWriteError(int graphic);

}  // namespace extract_program
