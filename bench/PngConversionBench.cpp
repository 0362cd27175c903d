// A whole conversion of the 169 graphics of the 4 MiB sample to indexed
// PNG (4 bpp, 16 columns, grey ramp), in memory, and the part of it that
// is PNG compression alone (libspng and zlib encoding the same pictures);
// also the way back. Bytes per second counted in graphic bytes.
#include "png/Conversion.h"
#include "png/PngImage.h"
#include "png/TileRecord.h"
#include "bench/BenchInputs.h"

#include <benchmark/benchmark.h>

namespace {

void wholeConversion(benchmark::State& state) {
    const ConversionSettings settings;
    for (auto _ : state) {
        for (const SampleGraphic& g : largeSample().graphics) {
            PngOfTiles png;
            ConversionProblem problem;
            if (!tilesToPng(g.decoded.data(), g.decoded.size(), settings, png, problem)) state.SkipWithError("refused");
            benchmark::DoNotOptimize(png.png.data());
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * largeSampleBytes());
}

void pngCompressionOnly(benchmark::State& state) {
    const ConversionSettings settings;
    std::vector<Picture> pictures;
    std::vector<std::string> records;
    for (const SampleGraphic& g : largeSample().graphics) {
        pictures.push_back(tilesToPicture(settings.format, settings.arrangement, g.decoded.data(), g.decoded.size()));
        TileRecord record;
        record.length = g.decoded.size();
        records.push_back(recordText(record));
    }
    const std::vector<Colour> palette = settings.palette.forFormat(settings.format);
    for (auto _ : state) {
        for (size_t i = 0; i < pictures.size(); ++i) {
            std::vector<uint8_t> png;
            if (!writeIndexedPng(pictures[i], 4, palette, RECORD_KEYWORD, records[i], png)) {
                state.SkipWithError("libspng failed");
            }
            benchmark::DoNotOptimize(png.data());
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * largeSampleBytes());
}

void wholeConversionBack(benchmark::State& state) {
    const ConversionSettings settings;
    std::vector<std::vector<uint8_t>> pngs;
    for (const SampleGraphic& g : largeSample().graphics) {
        PngOfTiles png;
        ConversionProblem problem;
        tilesToPng(g.decoded.data(), g.decoded.size(), settings, png, problem);
        pngs.push_back(std::move(png.png));
    }
    for (auto _ : state) {
        for (const std::vector<uint8_t>& png : pngs) {
            std::vector<uint8_t> bytes;
            ConversionProblem problem;
            if (!pngToTiles(png.data(), png.size(), settings, bytes, problem)) state.SkipWithError("refused");
            benchmark::DoNotOptimize(bytes.data());
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * largeSampleBytes());
}

BENCHMARK(wholeConversion)->Name("png/169_graphics_to_png")->Unit(benchmark::kMillisecond);
BENCHMARK(pngCompressionOnly)->Name("png/169_graphics_png_compression_only")->Unit(benchmark::kMillisecond);
BENCHMARK(wholeConversionBack)->Name("png/169_pngs_to_graphics")->Unit(benchmark::kMillisecond);

}  // namespace
