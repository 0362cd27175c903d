// The extraction stage: walks the graphics directory, decodes each graphic
// into its own file in the output folder and logs where it came from.
#pragma once

#include "rom/RomImage.h"

#include <cstdint>
#include <cstdio>
#include <string>

// One record of the directory, as stored in the ROM.
struct GraphicRecord {
    uint16_t unpackedSize;
    uint32_t dataAddress;  // LoROM bus address of the compressed data
};

// Path of graphic j's file as the tool forms and shows it.
std::string graphicPath(int graphic);

// Extracts every graphic of the loaded, accepted image and writes one line
// per graphic to log, which it closes on every way out. 0 when all were
// written; 1, after a message, when a graphic's file cannot be opened or
// its record or compressed data do not lie inside the image.
int32_t extractGraphics(RomImage& rom, FILE* log);
