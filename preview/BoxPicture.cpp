#include "preview/BoxPicture.h"

#include <algorithm>

namespace {

// Draws the box's glyphs on a picture whose box starts at its top left,
// each lit pixel through store(x, y, colour), clipped at the picture.
template <class Store>
void drawGlyphs(const LaidBox& box, const GlyphFont& font, const BoxSettings& settings, Picture& picture,
                Store store) {
    for (size_t l = 0; l < box.lines.size(); ++l) {
        const int64_t top = static_cast<int64_t>(l) * settings.lineHeight;
        if (top >= picture.height) break;
        for (const Glyph& glyph : box.lines[l].glyphs) {
            if (glyph.tile < 0) continue;
            if (glyph.x >= static_cast<int64_t>(picture.width)) break;
            const uint8_t* pixels = font.pixels(static_cast<size_t>(glyph.tile));
            for (int y = 0; y < TILE_SIDE && top + y < picture.height; ++y) {
                for (int x = 0; x < TILE_SIDE && glyph.x + x < static_cast<int64_t>(picture.width); ++x) {
                    const uint8_t colour = pixels[y * TILE_SIDE + x];
                    if (colour != 0) store(glyph.x + x, static_cast<int>(top + y), colour);
                }
            }
        }
    }
}

// What the page shows of a line past the box, at most.
constexpr int32_t MOST_OVERFLOW_WIDTH = 4096;

uint32_t boxHeight(const BoxSettings& settings, size_t lines) {
    return static_cast<uint32_t>((std::max<size_t>(lines, 1) - 1) * static_cast<size_t>(settings.lineHeight) +
                                 TILE_SIDE);
}

}  // namespace

Picture drawBox(const LaidBox& box, const GlyphFont& font, const BoxSettings& settings) {
    Picture picture;
    picture.width = static_cast<uint32_t>(settings.width);
    picture.height = boxHeight(settings, static_cast<size_t>(settings.lines));
    picture.pixels.assign(size_t{picture.width} * picture.height, 0);
    drawGlyphs(box, font, settings, picture, [&](int x, int y, uint8_t colour) {
        picture.pixels[size_t(y) * picture.width + size_t(x)] = colour;
    });
    return picture;
}

Picture drawOverflowingBox(const LaidBox& box, const GlyphFont& font, const BoxSettings& settings, int fontColours) {
    int32_t widest = settings.width;
    for (const LaidLine& line : box.lines) widest = std::max(widest, line.width);
    widest = std::min(widest, std::max<int32_t>(settings.width, MOST_OVERFLOW_WIDTH));
    Picture picture;
    picture.width = static_cast<uint32_t>(widest);
    picture.height = boxHeight(settings, std::max(box.lines.size(), static_cast<size_t>(settings.lines)));
    const uint32_t boxBottom = boxHeight(settings, static_cast<size_t>(settings.lines));
    const uint32_t boxWidth = static_cast<uint32_t>(settings.width);
    const auto inside = [&](uint32_t x, uint32_t y) { return x < boxWidth && y < boxBottom; };
    // The ground: the box's pixels 0, the rest OUTSIDE.
    picture.pixels.assign(size_t{picture.width} * picture.height, OUTSIDE);
    for (uint32_t y = 0; y < boxBottom; ++y) {
        std::fill_n(picture.pixels.begin() + std::ptrdiff_t(size_t(y) * picture.width), boxWidth, uint8_t(0));
    }
    drawGlyphs(box, font, settings, picture, [&](int x, int y, uint8_t colour) {
        const int shade = fontColours <= 4 ? colour : (colour * 3 + (fontColours - 1) / 2) / (fontColours - 1);
        const bool in = inside(uint32_t(x), uint32_t(y));
        picture.pixels[size_t(y) * picture.width + size_t(x)] = uint8_t(in ? shade : OUTSIDE + std::max(shade, 1));
    });
    return picture;
}

std::vector<Colour> boxPalette(int bpp) {
    if (bpp != 2) return greyRamp(1 << bpp);
    std::vector<Colour> colours;
    for (uint16_t level : {0, 10, 21, 31}) {
        colours.push_back(colourFromBgr555(uint16_t(level | level << 5 | level << 10)));
    }
    return colours;
}

std::vector<Colour> overflowPalette() {
    std::vector<Colour> colours = boxPalette(2);
    // Outside the box: a dim red ground, and the font's three colours in red.
    colours.push_back({72, 16, 16});
    colours.push_back({150, 30, 30});
    colours.push_back({210, 50, 50});
    colours.push_back({255, 90, 90});
    return colours;
}
