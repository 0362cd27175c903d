// The text library's throughput with a table of 500 two-byte entries:
// reading strings (readString and scriptText, as a dump does) and writing
// their texts back (encodeText, as an insertion does), in bytes of string
// per second; and the dump's whole work in memory over the 4 MiB sample
// with 20 000 strings (surveyStrings, scriptText, writeScript), which a
// run adds to its file work.
#include "bench/BenchText.h"
#include "text/Script.h"
#include "text/TextCodec.h"
#include "text/TextTable.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

const TextTable& benchTable() {
    static const TextTable table = [] {
        TextTable t;
        const std::string& file = benchTableFile();
        if (t.read(reinterpret_cast<const uint8_t*>(file.data()), file.size()).kind != TableProblem::None ||
            t.entries().size() != BENCH_TABLE_ENTRIES) {
            std::fprintf(stderr, "the benchmark table does not read\n");
            std::abort();
        }
        return t;
    }();
    return table;
}

const std::vector<std::vector<uint8_t>>& strings() {
    static const std::vector<std::vector<uint8_t>> made = benchStrings(BENCH_STRING_COUNT);
    return made;
}

int64_t stringBytes() {
    int64_t total = 0;
    for (const auto& bytes : strings()) total += int64_t(bytes.size());
    return total;
}

void readStrings(benchmark::State& state) {
    const TextTable& table = benchTable();
    std::vector<TextPiece> pieces;
    std::string text;
    for (auto _ : state) {
        for (const std::vector<uint8_t>& bytes : strings()) {
            readString(table, bytes.data(), bytes.size(), pieces);
            text.clear();
            appendScriptText(table, bytes.data(), pieces, text);
            benchmark::DoNotOptimize(text.data());
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * stringBytes());
}

// The texts as an insertion meets them (line ends left out); every one
// must write back, to bytes that read as the same text (two entries of
// one character may give way to one of both).
void writeStrings(benchmark::State& state) {
    const TextTable& table = benchTable();
    std::vector<std::string> texts;
    std::vector<TextPiece> pieces;
    for (const std::vector<uint8_t>& bytes : strings()) {
        readString(table, bytes.data(), bytes.size(), pieces);
        texts.push_back(withoutLineEnds(scriptText(table, bytes.data(), pieces)));
        const Encoding encoding = encodeText(table, texts.back());
        std::vector<TextPiece> again;
        if (encoding.outcome != Encoding::Done || encoding.bytes.size() > bytes.size() ||
            !readString(table, encoding.bytes.data(), encoding.bytes.size(), again) ||
            withoutLineEnds(scriptText(table, encoding.bytes.data(), again)) != texts.back()) {
            std::fprintf(stderr, "a benchmark string does not write back to its bytes\n");
            std::abort();
        }
    }
    for (auto _ : state) {
        for (const std::string& text : texts) {
            Encoding encoding = encodeText(table, text);
            benchmark::DoNotOptimize(encoding.bytes.data());
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * stringBytes());
}

// As a dump does: each string's text made once into one buffer, the
// script made in blocks that a run writes out at WRITE_AT bytes.
constexpr size_t WRITE_AT = size_t{1} << 18;

void dumpInMemory(benchmark::State& state) {
    const TextTable& table = benchTable();
    const BenchTextImage& image = benchTextImage();
    const ScriptSource source{{image.pointers}, {}};
    std::string text;
    for (auto _ : state) {
        const StringSurvey survey =
            surveyStrings(image.image.data(), static_cast<uint32_t>(image.image.size()), source.tables, table);
        ScriptWriter writer(source.tables);
        for (const GameString& string : survey.strings) {
            text.clear();
            appendStringText(table, image.image.data() + string.offset, string.length, text);
            writer.add(string, nullptr, text);
            if (writer.text().size() >= WRITE_AT) {
                benchmark::DoNotOptimize(writer.text().data());
                writer.text().clear();
            }
        }
        benchmark::DoNotOptimize(writer.text().data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.stringBytes));
}

}  // namespace

BENCHMARK(readStrings)->Name("text/read_500_entry_table")->Unit(benchmark::kMillisecond);
BENCHMARK(writeStrings)->Name("text/write_500_entry_table")->Unit(benchmark::kMillisecond);
BENCHMARK(dumpInMemory)->Name("text/dump_20000_strings_in_memory")->Unit(benchmark::kMillisecond);
