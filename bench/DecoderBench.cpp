// Decoding speed, in decoded bytes per second, of the decoder the run uses
// (decompressGraphic) and of the per-byte reference on the same inputs, so
// that one run gives the ratios per kind of content.
#include "bench/BenchInputs.h"
#include "rom/RomImage.h"
#include "graphics/Decompress.h"
#include "graphics/GraphicCodec.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using Decoder = GraphicDecode (*)(RomImage&, uint16_t, uint8_t*);

// An image holding only the stream: the cursor starts on its first byte
// and the decoder meets the end of the image with its last group.
void holdStream(RomImage& rom, const std::vector<uint8_t>& stream) {
    rom.data = std::make_unique<uint8_t[]>(stream.size());
    std::copy(stream.begin(), stream.end(), rom.data.get());
    rom.size = static_cast<int32_t>(stream.size());
}

void decode(benchmark::State& state, Decoder decoder, Content kind) {
    const BenchGraphic graphic = makeBenchGraphic(kind);
    RomImage rom;
    holdStream(rom, graphic.stream);
    std::vector<uint8_t> out(BENCH_GRAPHIC_SIZE);

    for (auto _ : state) {
        rom.cursor = 0;
        GraphicDecode result = decoder(rom, BENCH_GRAPHIC_SIZE, out.data());
        benchmark::DoNotOptimize(result);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * BENCH_GRAPHIC_SIZE);
    state.counters["stream_bytes"] = static_cast<double>(graphic.stream.size());
    if (out != graphic.decoded || rom.cursor != graphic.stream.size()) state.SkipWithError("wrong decoding");
}

}  // namespace

BENCHMARK_CAPTURE(decode, fast_mostly_fill, decompressGraphic, Content::MostlyFill);
BENCHMARK_CAPTURE(decode, fast_random, decompressGraphic, Content::Random);
BENCHMARK_CAPTURE(decode, fast_half_fill, decompressGraphic, Content::HalfFill);
BENCHMARK_CAPTURE(decode, reference_mostly_fill, decompressGraphicPerByte, Content::MostlyFill);
BENCHMARK_CAPTURE(decode, reference_random, decompressGraphicPerByte, Content::Random);
BENCHMARK_CAPTURE(decode, reference_half_fill, decompressGraphicPerByte, Content::HalfFill);
