// What both inserting programs say alike about where new data went and
// how the image grew (Windows-1252 text).
#pragma once

#include "placement/Placement.h"

#include <cstdint>

// Where a block went: "no mesmo lugar", "movido para uma faixa livre", ...
const char* placeKindWords(PlaceKind kind);

// The image's growth, when it grew: its old and new size, a hint that
// --free names room the game does not use (things: what would fit there,
// "gr\xE1""ficos" or "textos"), and a warning when it passed 2 MiB.
void printGrowth(uint32_t oldRomDataSize, uint32_t newRomDataSize, const char* things);
