// The preview and the check of 20 000 strings of the sample's table,
// drawn by the sample's font: the whole work of `brelquim-text preview`
// in memory (each string laid out, original and translation; each box a
// PNG; the page), against its floor of 1 s, and the check's (each string
// laid out, its overflows found), against 0.2 s. The strings are one to
// five lines of 10 to 34 characters of the table's letters, accented ones
// among them, so that some overflow.
#include "graphics/GameLayout.h"
#include "png/PngImage.h"
#include "preview/BoxPicture.h"
#include "preview/Layout.h"
#include "preview/PreviewPage.h"
#include "tests/sample/SampleRom.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr size_t STRINGS = 20000;

struct PreviewInputs {
    TextTable table;
    std::vector<uint8_t> fontBytes;
    std::vector<std::vector<uint8_t>> strings;
};

const PreviewInputs& inputs() {
    static const PreviewInputs made = [] {
        PreviewInputs in;
        const SampleRom sample = buildSampleRom();
        const std::string& file = sample.text.table;
        in.table.read(reinterpret_cast<const uint8_t*>(file.data()), file.size());
        in.fontBytes = sample.graphics[9].decoded;
        const std::string letters = "abcdefghijklmnopqrstuvwxyz ABCDEFG  .,!?\xE1\xE3\xE7\xE9\xEA\xF3";
        std::mt19937 random(2026);
        for (size_t s = 0; s < STRINGS; ++s) {
            std::vector<uint8_t> bytes;
            const int lines = 1 + int(random() % 5);
            for (int l = 0; l < lines; ++l) {
                if (l) bytes.push_back(SAMPLE_LINE_BREAK);
                const int length = 10 + int(random() % 25);
                for (int c = 0; c < length; ++c) bytes.push_back(uint8_t(letters[random() % letters.size()]));
            }
            bytes.push_back(SAMPLE_END_TOKEN);
            in.strings.push_back(std::move(bytes));
        }
        return in;
    }();
    return made;
}

std::vector<PagePicture> pictures(const LaidString& laid, const GlyphFont& font, const PreviewSettings& settings) {
    std::vector<PagePicture> drawn;
    for (const LaidBox& box : laid.boxes) {
        const Picture picture = drawOverflowingBox(box, font, settings.box, 4);
        PagePicture page{{}, picture.width, picture.height};
        writeIndexedPng(picture, 4, overflowPalette(), "Software", "Brelquim", page.png, PngCompression::Fast);
        drawn.push_back(std::move(page));
    }
    return drawn;
}

void previewStrings(benchmark::State& state) {
    const PreviewInputs& in = inputs();
    const GlyphFont font(in.fontBytes.data(), in.fontBytes.size(), TileFormat::Bpp2);
    const PreviewSettings settings;
    size_t pageBytes = 0;
    for (auto _ : state) {
        const TextLayout layout(in.table, font, settings);
        std::vector<PageString> page(in.strings.size());
        for (size_t s = 0; s < in.strings.size(); ++s) {
            const std::vector<uint8_t>& bytes = in.strings[s];
            const LaidString laid = layout.layOut(bytes.data(), bytes.size());
            page[s].number = s + 1;
            page[s].original = pictures(laid, font, settings);
            page[s].translated = page[s].original;  // a translation's pictures cost the same
            page[s].overflows = !overflowsOf(laid, settings.box).empty();
        }
        const std::string html = previewPage(page, true);
        pageBytes = html.size();
        benchmark::DoNotOptimize(html.data());
    }
    state.counters["strings"] = double(STRINGS);
    state.counters["page_MB"] = double(pageBytes) / 1e6;
    state.counters["floor_s"] = 1.0;
}

void checkAll(benchmark::State& state) {
    const PreviewInputs& in = inputs();
    const GlyphFont font(in.fontBytes.data(), in.fontBytes.size(), TileFormat::Bpp2);
    const PreviewSettings settings;
    size_t found = 0;
    for (auto _ : state) {
        const TextLayout layout(in.table, font, settings);
        found = checkStrings(layout, in.strings, settings.box).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["strings"] = double(STRINGS);
    state.counters["overflowing"] = double(found);
    state.counters["floor_s"] = 0.2;
}

}  // namespace

BENCHMARK(previewStrings)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(checkAll)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
