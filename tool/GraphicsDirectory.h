// The extraction stage: walks the graphics directory, decodes each graphic
// into its own file in the output folder and logs where it came from.
#pragma once

#include "rom/RomImage.h"
#include "tool/GraphicCodec.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

// One record of the directory, as stored in the ROM.
struct GraphicRecord {
    uint16_t unpackedSize;
    uint32_t dataAddress;  // LoROM bus address of the compressed data
};

// One graphic as the walk hands it over, decoded from inside the image.
struct DecodedGraphic {
    int number;
    GraphicRecord record;
    const uint8_t* bytes;   // decoded.producedLength bytes, valid during the call
    GraphicDecode decoded;
    uint32_t dataIndex;     // image index of the first stream byte
    uint32_t endOffset;     // file offset (no copier header) of the byte after the stream
};

// How a walk over the directory ended.
struct DirectoryWalk {
    enum Outcome { Complete, ReadError, Stopped } outcome;
    int graphic;  // the graphic it stopped at; GRAPHICS_COUNT when complete
};

// Walks the directory of the loaded image in graphic order: reads each
// record, decodes its graphic and hands it to take. Stops with ReadError at
// the first graphic whose record or compressed data do not lie inside the
// ROM data of the image, and with Stopped when take returns false.
DirectoryWalk walkGraphicsDirectory(RomImage& rom, const std::function<bool(const DecodedGraphic&)>& take);

// Path of graphic j's file as the tool forms and shows it.
std::string graphicPath(int graphic);

// Extracts every graphic of the loaded, accepted image and writes one line
// per graphic to log, which it closes on every way out. 0 when all were
// written; 1, after a message, when a graphic's file cannot be opened or
// its record or compressed data do not lie inside the image.
int32_t extractGraphics(RomImage& rom, FILE* log);
