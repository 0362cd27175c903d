// The PNG-to-bin path of brelquim-png over arbitrary files: damaged,
// truncated, huge or strange PNGs must be refused with a reason, never
// crash or allocate what their header claims.
//
// Input: a settings byte (format in bits 0 to 2, 16x16 blocks in bit 3, a
// palette with repeated colours in bit 4), then the PNG file. Whatever a
// picture gives must come back unchanged through a PNG of its own.
#include "fuzz/FuzzSupport.h"
#include "png/Conversion.h"
#include "png/PngImage.h"

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

// Pictures of more pixels than this, yet within the program's limits, are
// left out: each would cost milliseconds and megabytes under the
// sanitizers while reaching no code that a small picture does not. Those
// above the limits are kept, to be refused. The size is read from where an
// IHDR chunk lies in a PNG; other inputs run.
constexpr uint64_t MAX_FUZZED_PIXELS = uint64_t(1) << 16;
constexpr size_t IHDR_WIDTH = 16;

bool largeButAllowed(const std::vector<uint8_t>& png) {
    if (png.size() < IHDR_WIDTH + 8) return false;
    auto big32 = [&](size_t at) {
        return uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 | uint32_t(png[at + 2]) << 8 | png[at + 3];
    };
    const uint32_t width = big32(IHDR_WIDTH), height = big32(IHDR_WIDTH + 4);
    const uint64_t pixels = uint64_t(width) * height;
    return pixels > MAX_FUZZED_PIXELS && width <= MAX_PICTURE_WIDTH && height <= MAX_PICTURE_HEIGHT &&
           pixels <= MAX_PICTURE_PIXELS;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const ConversionSettings settings = settingsOf(input.byte());
    const std::vector<uint8_t> png = input.rest();
    if (largeButAllowed(png)) return 0;

    std::vector<uint8_t> bytes;
    ConversionProblem problem;
    if (!pngToTiles(png.data(), png.size(), settings, bytes, problem)) {
        FUZZ_CHECK(problem.kind != ConversionProblem::None);
        return 0;
    }
    FUZZ_CHECK(problem.kind == ConversionProblem::None);
    PngOfTiles again;
    if (!tilesToPng(bytes.data(), bytes.size(), settings, again, problem)) return 0;
    std::vector<uint8_t> back;
    FUZZ_CHECK(pngToTiles(again.png.data(), again.png.size(), settings, back, problem));
    FUZZ_CHECK(back == bytes);
    return 0;
}
