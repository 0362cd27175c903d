// The three commands that find a game's text, on a 4 MiB image of the
// game (tests/sample/TextImage.h): the scan and the pointer finder with
// the image's own table, the relative search of three words; beside them
// the floor of any run, reading the image's file.
#include "discovery/PointerFinder.h"
#include "discovery/RelativeSearch.h"
#include "discovery/TextScan.h"
#include "platform/FileBytes.h"
#include "tests/sample/SampleRom.h"
#include "tests/sample/TextImage.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr uint32_t IMAGE_SIZE = 4u << 20;

const TextImage& image() {
    static const TextImage made = buildTextImage(IMAGE_SIZE, 3);
    return made;
}

const TextTable& table() {
    static const TextTable read = [] {
        TextTable t;
        const std::string& file = image().table;
        if (t.read(reinterpret_cast<const uint8_t*>(file.data()), file.size()).kind != TableProblem::None) {
            std::fprintf(stderr, "the image's table does not read\n");
            std::abort();
        }
        return t;
    }();
    return read;
}

void readImage(benchmark::State& state) {
    const std::string path = "discovery_bench.sfc";
    writeBytes(path, image().image);
    std::vector<uint8_t> bytes;
    for (auto _ : state) {
        if (readWholeFile(path, bytes) != FileRead::Read) state.SkipWithError("the image does not read");
        benchmark::DoNotOptimize(bytes.data());
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(int64_t(state.iterations()) * IMAGE_SIZE);
}

void scan(benchmark::State& state) {
    for (auto _ : state) {
        const TextScanResult result = scanText(image().image.data(), IMAGE_SIZE, table(), DEFAULT_LEAST_PIECES);
        benchmark::DoNotOptimize(result.runs.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * IMAGE_SIZE);
}

void pointers(benchmark::State& state) {
    for (auto _ : state) {
        const PointerSearch result = findPointerTables(image().image.data(), IMAGE_SIZE, table(), DEFAULT_LEAST_POINTERS);
        if (result.tables.size() != image().tables.size()) state.SkipWithError("not the planted tables");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * IMAGE_SIZE);
}

void search(benchmark::State& state) {
    const std::vector<std::string> words = {"castle", "King", "dragon"};
    for (auto _ : state) {
        const RelativeSearch result = searchWords(image().image.data(), IMAGE_SIZE, words, false);
        if (result.outcome != RelativeSearch::Done) state.SkipWithError("no hit");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * IMAGE_SIZE);
}

BENCHMARK(readImage)->Name("discovery/read_4MiB_image")->Unit(benchmark::kMillisecond);
BENCHMARK(scan)->Name("discovery/scan_4MiB")->Unit(benchmark::kMillisecond);
BENCHMARK(pointers)->Name("discovery/pointers_4MiB")->Unit(benchmark::kMillisecond);
BENCHMARK(search)->Name("discovery/search_3_words_4MiB")->Unit(benchmark::kMillisecond);

}  // namespace
