// The game's graphics directory: a walk that reads each record and decodes
// its graphic from the image, and the names of the graphics' files.
#pragma once

#include "rom/RomImage.h"
#include "graphics/GraphicCodec.h"

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

// Reads graphic j's record from the directory of the loaded image, and
// the image index its stream begins at; false when the record does not
// lie inside the ROM data.
bool readGraphicRecord(RomImage& rom, int graphic, GraphicRecord& record, uint32_t& dataIndex);

// Name of graphic j's file: "grafico_%03d.bin".
std::string graphicFileName(int graphic);
// Path of graphic j's file in a folder, as the tools form and show it.
std::string graphicPath(const std::string& folder, int graphic);

// Whether a folder can be the source of edited graphics: it exists, is a
// folder and holds at least one of the GRAPHICS_COUNT graphics' files.
enum class GraphicsFolder { Usable, Missing, NotAFolder, NoGraphics };
GraphicsFolder checkGraphicsFolder(const std::string& folder);
