// The PNG-to-bin path of brelquim-png over arbitrary files: damaged,
// truncated, huge or strange PNGs must be refused with a reason, never
// crash or allocate what their header claims.
//
// Input: a settings byte (format in bits 0 to 2, 16x16 blocks in bit 3, a
// palette with repeated colours in bit 4), then the PNG file. Whatever a
// picture gives must come back unchanged through a PNG of its own.
#include "fuzz/FuzzSupport.h"
#include "png/Conversion.h"

namespace {

constexpr TileFormat FORMATS[] = {TileFormat::Bpp1, TileFormat::Bpp2, TileFormat::Bpp3,
                                  TileFormat::Bpp4, TileFormat::Bpp8, TileFormat::Mode7};

ConversionSettings settingsOf(uint8_t byte) {
    ConversionSettings settings;
    settings.format = FORMATS[(byte & 7) % 6];
    settings.arrangement.blocks16 = (byte & 8) != 0;
    if (byte & 16) {
        // Black twice, then a few colours: truecolour pictures meet both
        // refusals.
        settings.palette.fromFile = true;
        settings.palette.colours = {{0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {255, 0, 0}, {0, 85, 0}};
    }
    return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const ConversionSettings settings = settingsOf(input.byte());
    const std::vector<uint8_t> png = input.rest();

    std::vector<uint8_t> bytes;
    std::string reason;
    if (!pngToTiles(png.data(), png.size(), settings, bytes, reason)) {
        FUZZ_CHECK(!reason.empty());
        return 0;
    }
    FUZZ_CHECK(reason.empty());
    PngOfTiles again;
    if (!tilesToPng(bytes.data(), bytes.size(), settings, again, reason)) return 0;
    std::vector<uint8_t> back;
    FUZZ_CHECK(pngToTiles(again.png.data(), again.png.size(), settings, back, reason));
    FUZZ_CHECK(back == bytes);
    return 0;
}
