// Inputs of the decoder benchmarks: graphics of the largest size a
// directory record can hold, of three kinds of content, compressed.
#pragma once

#include "tests/sample/SampleRom.h"

#include <cstdint>
#include <vector>

// 64 KiB less one: the largest unpackedSize of a record.
constexpr uint16_t BENCH_GRAPHIC_SIZE = 65535;

enum class Content {
    MostlyFill,  // one fill byte, one byte in sixteen another value
    Random,      // every byte random
    HalfFill,    // first half one fill byte, second half random
};

struct BenchGraphic {
    std::vector<uint8_t> decoded;
    std::vector<uint8_t> stream;  // compressGraphic(decoded)
};

// Deterministic for a kind; aborts if the stream does not decode back.
BenchGraphic makeBenchGraphic(Content kind);

// The 4 MiB sample, built once for every benchmark that uses it, and the
// bytes of its 169 graphics together.
const SampleRom& largeSample();
int64_t largeSampleBytes();
