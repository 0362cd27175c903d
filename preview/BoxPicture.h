// The pictures of a laid-out string's boxes: the box exactly as the
// console shows it, and the box with what overflows drawn past its edges.
#pragma once

#include "preview/Layout.h"
#include "tiles/Palette.h"
#include "tiles/TileSheet.h"

#include <vector>

// The box as the console draws it, clipped at its edges: box.width pixels
// wide, (lines - 1) * lineHeight + 8 high, each pixel the font's colour
// index (0 where nothing is drawn).
Picture drawBox(const LaidBox& box, const GlyphFont& font, const BoxSettings& settings);

// The box with the part of a line past its right edge and the lines past
// its last drawn too, in the overflow colours: index OUTSIDE where nothing
// is drawn outside the box, OUTSIDE + c for a pixel of colour c there.
// As wide as the widest line (at most 4096 pixels, or the box's width)
// and as high as the lines, at least the box.
// A font of more than four colours (fontColours) is shown in four shades.
constexpr uint8_t OUTSIDE = 4;
Picture drawOverflowingBox(const LaidBox& box, const GlyphFont& font, const BoxSettings& settings, int fontColours);

// The colours of the pictures: the font's (four greys of the console's
// levels 0, 10, 21 and 31, or a ramp of 16 or 256 greys for deeper fonts)
// and, for drawOverflowingBox's, four greys and the reds of the overflow.
std::vector<Colour> boxPalette(int bpp);
std::vector<Colour> overflowPalette();
