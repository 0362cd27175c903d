// The codec's part of the benchmarked insertion, with no file and no
// image: the 169 graphics of the 4 MiB sample decoded from their streams,
// each edit (bit 0 of every byte flipped, as bench/edit_all does) encoded,
// and each new stream decoded again, as a run must do at the least. Bytes
// per second counted in graphic bytes.
#include "graphics/GraphicCodec.h"
#include "bench/BenchInputs.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void codecWork(benchmark::State& state) {
    const SampleRom& sample = largeSample();
    std::vector<std::vector<uint8_t>> edits;
    for (const SampleGraphic& g : sample.graphics) {
        edits.push_back(g.decoded);
        for (uint8_t& byte : edits.back()) byte ^= 1;
    }
    const std::unique_ptr<uint8_t[]> decoded(new uint8_t[65536]);
    const std::unique_ptr<uint8_t[]> stream(new uint8_t[compressedBound(65536)]);
    for (auto _ : state) {
        for (size_t j = 0; j < sample.graphics.size(); ++j) {
            const SampleGraphic& g = sample.graphics[j];
            decodeGraphic(g.stream.data(), g.stream.size(), g.unpackedSize, decoded.get());
            const size_t length = compressGraphicInto(edits[j].data(), edits[j].size(), stream.get());
            decodeGraphic(stream.get(), length, g.unpackedSize, decoded.get());
            benchmark::DoNotOptimize(decoded.get());
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * largeSampleBytes());
}

}  // namespace

BENCHMARK(codecWork)->Name("insert/169_graphics_codec_work")->Unit(benchmark::kMillisecond);
