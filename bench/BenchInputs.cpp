#include "bench/BenchInputs.h"

#include "graphics/GraphicCodec.h"

#include <cstdio>
#include <cstdlib>

namespace {

// xorshift32: the same inputs on every run and platform.
uint32_t nextRandom(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

}  // namespace

BenchGraphic makeBenchGraphic(Content kind) {
    uint32_t state = 0x9E3779B9u + static_cast<uint32_t>(kind);
    const uint8_t fill = 0x3C;
    BenchGraphic graphic;
    graphic.decoded.resize(BENCH_GRAPHIC_SIZE);
    for (size_t i = 0; i < graphic.decoded.size(); ++i) {
        const uint32_t random = nextRandom(state);
        const uint8_t noise = static_cast<uint8_t>(random >> 8);
        switch (kind) {
            case Content::MostlyFill: graphic.decoded[i] = (random & 15) == 0 ? noise : fill; break;
            case Content::Random: graphic.decoded[i] = noise; break;
            case Content::HalfFill: graphic.decoded[i] = i < graphic.decoded.size() / 2 ? fill : noise; break;
        }
    }
    graphic.stream = compressGraphic(graphic.decoded.data(), graphic.decoded.size());

    std::vector<uint8_t> check(BENCH_GRAPHIC_SIZE);
    const GraphicDecode result =
        decodeGraphic(graphic.stream.data(), graphic.stream.size(), BENCH_GRAPHIC_SIZE, check.data());
    if (check != graphic.decoded || result.packedLength != graphic.stream.size()) {
        std::fprintf(stderr, "benchmark input of kind %d does not decode back\n", static_cast<int>(kind));
        std::abort();
    }
    return graphic;
}

const SampleRom& largeSample() {
    static const SampleRom sample = buildSampleRom(SampleKind::Large);
    return sample;
}

int64_t largeSampleBytes() {
    int64_t total = 0;
    for (const SampleGraphic& g : largeSample().graphics) total += int64_t(g.decoded.size());
    return total;
}
