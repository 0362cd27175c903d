// The extraction stage: each graphic of the directory into its own file in
// the output folder, and a log line of where it came from.
#pragma once

#include "rom/RomImage.h"

#include <cstdint>
#include <cstdio>

namespace extract_program {

// Extracts every graphic of the loaded, accepted image and writes one line
// per graphic to log, which it closes on every way out. 0 when all were
// written; 1, after a message, when a graphic's file cannot be opened or
// written whole, when its record or compressed data do not lie inside the
// image, or when the log cannot be written whole ("Erro de escrita.").
int32_t extractGraphics(RomImage& rom, FILE* log);

}  // namespace extract_program
