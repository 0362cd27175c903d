// The text that a picture carries in its "brelquim" text chunk: how its
// tiles are stored and how many bytes they came from, so that the bytes
// come back exactly. For example
//     formato=4bpp colunas=16 bytes=3000
//     formato=2bpp colunas=16 blocos=16x16 bytes=96
#pragma once

#include "tiles/TileFormat.h"
#include "tiles/TileSheet.h"

#include <cstdint>
#include <string>

// Keyword of the text chunk.
constexpr char RECORD_KEYWORD[] = "brelquim";

struct TileRecord {
    TileFormat format = TileFormat::Bpp4;
    Arrangement arrangement;
    uint64_t length = 0;  // bytes of the original file
};

std::string recordText(const TileRecord& record);
// False for any text that recordText does not write: an unknown or
// repeated field, a missing one, a number out of range.
bool parseRecordText(const std::string& text, TileRecord& record);
