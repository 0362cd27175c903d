// Loading and parsing a 4 MiB image: reading the file whole, finding the
// copier header and the internal header.
#include "rom/RomImage.h"
#include "tests/sample/SampleRom.h"
#include "graphics/GameLayout.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// The large sample image, written once to a folder of its own in the
// temporary directory and removed at exit.
class SampleFile {
public:
    SampleFile() {
        const auto base = std::filesystem::temp_directory_path();
        for (unsigned attempt = 0;; ++attempt) {
            folder = base / ("brelquim-bench-" + std::to_string(attempt));
            std::error_code error;
            if (std::filesystem::create_directory(folder, error)) break;
        }
        path = (folder / "large.sfc").string();
        written = writeBytes(path, buildSampleRom(SampleKind::Large).image);
    }
    ~SampleFile() {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }

    std::filesystem::path folder;
    std::string path;
    bool written;
};

void loadImage(benchmark::State& state) {
    static const SampleFile sample;
    if (!sample.written) {
        state.SkipWithError("cannot write the sample image");
        return;
    }
    int64_t bytes = 0;
    for (auto _ : state) {
        RomImage rom;
        rom.setRomPath(sample.path.c_str());
        if (rom.load() != 0 || std::memcmp(rom.title, EXPECTED_TITLE, sizeof EXPECTED_TITLE) != 0) {
            state.SkipWithError("the sample image did not load");
            return;
        }
        bytes += rom.size;
        benchmark::DoNotOptimize(rom.data.get());
    }
    state.SetBytesProcessed(bytes);
}

}  // namespace

BENCHMARK(loadImage)->Unit(benchmark::kMicrosecond);
