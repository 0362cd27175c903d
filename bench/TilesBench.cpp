// Tiles to pixels and back in every format, on 64 KiB of tiles laid out
// in 16 columns; bytes per second counted in tile bytes.
#include "tiles/TileSheet.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr size_t TILE_DATA = 65536;

std::vector<uint8_t> randomTiles() {
    std::mt19937 random(42);
    std::vector<uint8_t> bytes(TILE_DATA);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    return bytes;
}

void tilesToPixels(benchmark::State& state, TileFormat format) {
    const std::vector<uint8_t> tiles = randomTiles();
    const Arrangement arrangement;
    for (auto _ : state) {
        Picture picture = tilesToPicture(format, arrangement, tiles.data(), tiles.size());
        benchmark::DoNotOptimize(picture.pixels.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(TILE_DATA));
}

void pixelsToTiles(benchmark::State& state, TileFormat format) {
    const std::vector<uint8_t> tiles = randomTiles();
    const Arrangement arrangement;
    const Picture picture = tilesToPicture(format, arrangement, tiles.data(), tiles.size());
    for (auto _ : state) {
        std::vector<uint8_t> back = pictureToTiles(format, arrangement, picture, tiles.size());
        benchmark::DoNotOptimize(back.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(TILE_DATA));
}

#define TILE_BENCHMARKS(format, name)                                              \
    BENCHMARK_CAPTURE(tilesToPixels, name, TileFormat::format)->Name("tiles/to_pixels_" #name); \
    BENCHMARK_CAPTURE(pixelsToTiles, name, TileFormat::format)->Name("tiles/to_tiles_" #name);

TILE_BENCHMARKS(Bpp1, 1bpp)
TILE_BENCHMARKS(Bpp2, 2bpp)
TILE_BENCHMARKS(Bpp3, 3bpp)
TILE_BENCHMARKS(Bpp4, 4bpp)
TILE_BENCHMARKS(Bpp8, 8bpp)
TILE_BENCHMARKS(Mode7, mode7)

}  // namespace
