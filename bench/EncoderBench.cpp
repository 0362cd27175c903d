// Encoding speed, in input bytes per second, of the encoder the insertion
// uses (compressGraphic) and of the reference that counts each group in a
// table, on the decoder benchmark's graphics.
#include "bench/BenchInputs.h"
#include "graphics/GraphicCodec.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using Encoder = std::vector<uint8_t> (*)(const uint8_t*, size_t);

void encode(benchmark::State& state, Encoder encoder, Content kind) {
    const BenchGraphic graphic = makeBenchGraphic(kind);
    std::vector<uint8_t> stream;
    for (auto _ : state) {
        stream = encoder(graphic.decoded.data(), graphic.decoded.size());
        benchmark::DoNotOptimize(stream.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * BENCH_GRAPHIC_SIZE);
    if (stream != graphic.stream) state.SkipWithError("wrong stream");
}

}  // namespace

BENCHMARK_CAPTURE(encode, fast_mostly_fill, compressGraphic, Content::MostlyFill);
BENCHMARK_CAPTURE(encode, fast_random, compressGraphic, Content::Random);
BENCHMARK_CAPTURE(encode, fast_half_fill, compressGraphic, Content::HalfFill);
BENCHMARK_CAPTURE(encode, reference_mostly_fill, compressGraphicReference, Content::MostlyFill);
BENCHMARK_CAPTURE(encode, reference_random, compressGraphicReference, Content::Random);
BENCHMARK_CAPTURE(encode, reference_half_fill, compressGraphicReference, Content::HalfFill);
