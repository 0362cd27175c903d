// Colours of a picture: the grey ramp, SNES BGR555 colours, and the
// palette files that the usual editors write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Colour {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Colour& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

// count greys, entry i at level round(255 i / (count - 1)); one entry is black.
std::vector<Colour> greyRamp(int count);

// A little-endian BGR555 colour (bit 15 ignored): each 5-bit channel c
// becomes (c << 3) | (c >> 2).
Colour colourFromBgr555(uint16_t value);

// Why a palette file is none of the palettes parsePaletteFile reads.
struct PaletteProblem {
    enum Kind {
        None,
        JascHeader,  // JASC-PAL without the version 0100 and the colour count
        JascColour,  // colour: a JASC-PAL colour line missing or malformed
        RiffNoData,  // a RIFF PAL without a valid data chunk
        OddBgr555,   // raw BGR555 colours in an odd number of bytes
    } kind = None;
    uint32_t colour = 0;  // JascColour: which, from 0
};

// Reads a palette file: JASC-PAL text and RIFF PAL are known by their
// headers; anything else is raw little-endian BGR555 colours, two bytes
// each (a CGRAM dump, say). Kind None when read; otherwise why it is none
// of them.
PaletteProblem parsePaletteFile(const uint8_t* bytes, size_t length, std::vector<Colour>& colours);

// count colours from entry row * count on; colours past the end of the
// palette are black.
std::vector<Colour> paletteRow(const std::vector<Colour>& colours, uint32_t row, int count);
