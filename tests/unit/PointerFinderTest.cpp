// Where the text lies and the tables that reach it, on images of the game
// whose text is in an encoding of its own: the scan finds every string,
// the finder exactly the planted tables, and a dump through them every
// string; and on small images, each kind of decoy is no table.
#include "discovery/PointerFinder.h"
#include "discovery/TextScan.h"
#include "tests/sample/TextImage.h"
#include "text/StringSurvey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

TextTable tableOf(const std::string& file) {
    TextTable table;
    EXPECT_EQ(table.read(reinterpret_cast<const uint8_t*>(file.data()), file.size()).kind, TableProblem::None);
    return table;
}

struct Shape {
    uint32_t size;
    uint32_t seed;
};
const Shape SHAPES[] = {{1u << 20, 1}, {1u << 20, 7}, {2u << 20, 2}, {4u << 20, 3}};

TEST(TextScan, FindsTheStartOfEveryStringWithTheTrueTable) {
    for (const Shape& shape : SHAPES) {
        const TextImage image = buildTextImage(shape.size, shape.seed);
        const TextTable table = tableOf(image.table);
        const TextScanResult scan = scanText(image.image.data(), shape.size, table, DEFAULT_LEAST_PIECES);
        std::set<uint32_t> starts;
        for (const TextRun& run : scan.runs) starts.insert(run.offset);
        for (const PlantedString& string : image.strings) {
            EXPECT_TRUE(starts.count(string.offset)) << std::hex << string.offset << " seed " << shape.seed;
        }
        EXPECT_TRUE(std::is_sorted(scan.runs.begin(), scan.runs.end(),
                                   [](const TextRun& a, const TextRun& b) { return a.offset < b.offset; }));
        uint32_t runs = 0;
        for (const BankTotal& bank : scan.banks) runs += bank.runs;
        EXPECT_EQ(runs, scan.runs.size());
        EXPECT_TRUE(scan.likelyEnds.empty());
        EXPECT_TRUE(scan.likelySpace.empty());
    }
}

// A table without its end token, or without its space, still finds the
// text, and the summary names what it lacks.
TEST(TextScan, NamesTheLikelyEndTokenOrSpaceATableLacks) {
    const TextImage image = buildTextImage(1u << 20, 5);
    for (const bool dropEnd : {true, false}) {
        std::string file;
        size_t from = 0;
        while (from < image.table.size()) {
            const size_t end = image.table.find('\n', from) + 1;
            const std::string line = image.table.substr(from, end - from);
            const bool drop = dropEnd ? line.rfind("/00=", 0) == 0 : line.find("= \n") != std::string::npos;
            if (!drop) file += line;
            from = end;
        }
        const TextTable table = tableOf(file);
        const TextScanResult scan = scanText(image.image.data(), 1u << 20, table, DEFAULT_LEAST_PIECES);
        ASSERT_EQ(scan.likelyEnds.size(), dropEnd ? 3u : 0u);
        ASSERT_EQ(scan.likelySpace.size(), dropEnd ? 0u : 1u);
        if (dropEnd) {
            EXPECT_EQ(scan.likelyEnds.front().byte, 0x00);
            EXPECT_GT(scan.likelyEnds.front().count, scan.likelyEnds[1].count);
        } else {
            EXPECT_EQ(scan.likelySpace.front().byte, image.space);
        }
    }
}

TEST(PointerFinder, ReportsExactlyThePlantedTablesAndTheirDumpReadsEveryString) {
    for (const Shape& shape : SHAPES) {
        const TextImage image = buildTextImage(shape.size, shape.seed);
        const TextTable table = tableOf(image.table);
        const PointerSearch search = findPointerTables(image.image.data(), shape.size, table, DEFAULT_LEAST_POINTERS);
        std::vector<std::tuple<uint32_t, uint32_t, bool>> found, planted;
        for (const FoundTable& t : search.tables) found.push_back({t.table.offset, t.table.count, t.table.isLong});
        for (const PlantedTable& t : image.tables) planted.push_back({t.offset, t.count, t.isLong});
        ASSERT_EQ(found, planted) << "seed " << shape.seed;

        std::vector<PointerTable> tables;
        for (const FoundTable& t : search.tables) tables.push_back(t.table);
        const StringSurvey survey = surveyStrings(image.image.data(), shape.size, tables, table);
        ASSERT_EQ(survey.outcome, StringSurvey::Done);
        std::set<uint32_t> dumped;
        for (const GameString& string : survey.strings) dumped.insert(string.offset);
        for (const PlantedString& string : image.strings) EXPECT_TRUE(dumped.count(string.offset));
        EXPECT_LT(search.unreached, search.runs);
    }
}

// A small image: bank 1 holds 16 strings "Axa<end>" one after another
// from $81:9000 on, and whatever a case puts at $81:8010.
constexpr uint32_t SIZE = 0x10000;
constexpr uint32_t AT = 0x8010;
constexpr uint32_t STRINGS = 0x9000;

Bytes smallImage(const Bytes& at8010) {
    Bytes data(SIZE, 0xFF);
    for (uint32_t s = 0; s < 16; ++s) {
        data[STRINGS + 4 * s] = 0x11;
        data[STRINGS + 4 * s + 1] = static_cast<uint8_t>(0x20 + s);
        data[STRINGS + 4 * s + 2] = 0x20;
        data[STRINGS + 4 * s + 3] = 0x00;
    }
    std::copy(at8010.begin(), at8010.end(), data.begin() + AT);
    return data;
}

// 16-bit pointers to the strings s..., in bank 1.
Bytes pointersTo(std::initializer_list<uint32_t> strings) {
    Bytes bytes;
    for (uint32_t s : strings) {
        const uint32_t value = 0x8000 + (STRINGS - 0x8000) + 4 * s;
        bytes.push_back(uint8_t(value));
        bytes.push_back(uint8_t(value >> 8));
    }
    return bytes;
}

Bytes repeated(const Bytes& word, size_t times) {
    Bytes bytes;
    for (size_t i = 0; i < times; ++i) bytes.insert(bytes.end(), word.begin(), word.end());
    return bytes;
}

TEST(PointerFinder, DecoysAreNoTables) {
    const std::string letters = "/00=<end>\n11=A\n20=a\n21=b\n22=c\n23=d\n24=e\n25=f\n26=g\n27=h\n28=i\n29=j\n2A=k\n"
                                "2B=l\n2C=m\n2D=n\n2E=o\n2F=p\n";
    const TextTable table = tableOf(letters);
    Bytes code;  // ascending addresses into bytes that read as no string
    for (uint32_t a = 0xA000; a < 0xA000 + 20 * 16; a += 16) code.insert(code.end(), {uint8_t(a), uint8_t(a >> 8)});
    const std::vector<std::pair<const char*, Bytes>> decoys = {
        {"fill FF", repeated({0xFF}, 64)},
        {"fill 00", repeated({0x00}, 64)},
        {"code addresses", code},
        {"one repeated word", repeated({0x04, 0x90}, 32)},
        {"pointers to one string", pointersTo({3, 3, 3, 3, 3, 3})},
        {"two pointers", pointersTo({1, 2})},
        {"a string's middle", {0x01, 0x90, 0x05, 0x90, 0x09, 0x90}},
    };
    for (const auto& [name, bytes] : decoys) {
        Bytes data = smallImage(bytes);
        if (std::string(name) == "code addresses") {
            // Code: bytes the table covers, and others, but no end token.
            for (uint32_t i = 0x2000; i < 0x2000 + 20 * 16; ++i) data[0x8000 + i] = uint8_t(i % 3 ? 0x20 + i % 16 : 0x99);
        }
        const PointerSearch search = findPointerTables(data.data(), SIZE, table, DEFAULT_LEAST_POINTERS);
        EXPECT_TRUE(search.tables.empty()) << name << ": " << (search.tables.empty() ? "" : search.tables[0].option());
    }
    // The same place with a table of three: found, its option printed.
    const Bytes data = smallImage(pointersTo({0, 5, 5, 2}));
    const PointerSearch search = findPointerTables(data.data(), SIZE, table, DEFAULT_LEAST_POINTERS);
    ASSERT_EQ(search.tables.size(), 1u);
    EXPECT_EQ(search.tables[0].option(), "--pointers $81:8010:4");
    EXPECT_EQ(search.tables[0].strings, 3u);
    EXPECT_EQ(search.tables[0].bytes, 12u);
    EXPECT_EQ(search.runs, 16u);
    EXPECT_EQ(search.unreached, 13u);
    EXPECT_TRUE(findPointerTables(data.data(), SIZE, table, 5).tables.empty());
}

// A string may hold uncovered bytes, at most one in eight and never its
// first, and ends with an end token within its bank.
TEST(PointerFinder, AStringHoldsFewUncoveredBytesNeverItsFirst) {
    const TextTable table = tableOf("/00=<end>\n11=A\n20=a\n");
    const Bytes a(11, 0x20);
    auto string = [&](Bytes start, size_t as, Bytes end) {
        start.insert(start.end(), a.begin(), a.begin() + as);
        start.insert(start.end(), end.begin(), end.end());
        return start;
    };
    const std::vector<std::pair<Bytes, bool>> cases = {
        {string({0x11}, 6, {0x99, 0x00}), true},         // 1 of 9
        {string({0x11}, 3, {0x99, 0x00}), false},        // 1 of 6
        {string({0x11, 0x99, 0x99}, 11, {0x00, 0x20}), false},  // 2 of 15
        {string({0x11, 0x99, 0x99}, 11, {0x20, 0x00}), true},   // 2 of 16
        {string({0x99}, 7, {0x00}), false},              // the first
        {string({0x11}, 7, {}), false},                  // no end token
    };
    for (size_t c = 0; c < cases.size(); ++c) {
        Bytes data(SIZE, 0xFF);
        // Three pointers to three copies of the case, each after an end
        // token.
        for (uint32_t k = 0; k < 3; ++k) {
            const uint32_t at = STRINGS + 0x40 * k;
            data[at - 1] = 0x00;
            std::copy(cases[c].first.begin(), cases[c].first.end(), data.begin() + at);
            data[AT + 2 * k] = uint8_t(at);
            data[AT + 2 * k + 1] = uint8_t(at >> 8);
        }
        const PointerSearch search = findPointerTables(data.data(), SIZE, table, DEFAULT_LEAST_POINTERS);
        EXPECT_EQ(search.tables.size(), cases[c].second ? 1u : 0u) << "case " << c;
    }
}

}  // namespace
