// New space at the end of an image's ROM data, for data that finds no room
// in the image as it is.
#pragma once

#include "rom/RomImage.h"

#include <cstdint>

// New space is filled with this byte, the value of erased flash and
// EPROM cells.
constexpr uint8_t NEW_SPACE_FILL = 0xFF;

// n of the smallest 2^n KiB that holds romDataSize bytes: the internal
// header's ROM-size byte.
uint8_t romSizeExponent(uint32_t romDataSize);

// Makes the ROM data newSize bytes long, the new bytes NEW_SPACE_FILL, and
// stores its size in the internal header's ROM-size byte and in a copier
// header's classic size field when that holds the old size; false, with
// nothing grown, when newSize is smaller than the ROM data or the image has
// no internal header.
bool growImage(RomImage& rom, uint32_t newSize);
