// The strings that pointer tables reach: a string reached twice found once
// with both pointers, the refusals naming the pointer at fault, and the
// value a pointer takes for a string that moves.
#include "text/StringSurvey.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t SIZE = 0x20000;         // four banks of ROM data
constexpr uint32_t SHORT_TABLE = 0x8000;   // $81:8000, three 16-bit pointers
constexpr uint32_t LONG_TABLE = 0x10000;   // $82:8000, two 24-bit pointers

TextTable letters() {
    const std::string file = "41=A\n/00=<end>\n";
    TextTable table;
    EXPECT_EQ(table.read(reinterpret_cast<const uint8_t*>(file.data()), file.size()).kind, TableProblem::None);
    return table;
}

// Strings of A's: "AA<end>" at $81:8100, reached by the first two short
// pointers; "AA<end>" at $81:8105, by the third and by the first long one;
// "A<end>" at $03:8000 (the slow half of the bus), by the second long one.
Bytes romData() {
    Bytes data(SIZE, 0x41);
    const Bytes shortTable = {0x00, 0x81, 0x00, 0x81, 0x05, 0x81};
    const Bytes longTable = {0x05, 0x81, 0x81, 0x00, 0x80, 0x03};
    std::copy(shortTable.begin(), shortTable.end(), data.begin() + SHORT_TABLE);
    std::copy(longTable.begin(), longTable.end(), data.begin() + LONG_TABLE);
    data[0x8102] = data[0x8107] = data[0x18001] = 0x00;
    return data;
}

const std::vector<PointerTable> TABLES = {{SHORT_TABLE, 3, false}, {LONG_TABLE, 2, true}};

TEST(StringSurvey, AStringReachedTwiceIsOneStringWithBothPointers) {
    const Bytes data = romData();
    const StringSurvey survey = surveyStrings(data.data(), SIZE, TABLES, letters());
    ASSERT_EQ(survey.outcome, StringSurvey::Done);
    struct Expected {
        uint32_t address, offset, length;
        std::vector<std::pair<size_t, uint32_t>> pointers;  // (table, index)
        bool bankBound;
    };
    const Expected expected[] = {
        {0x818100, 0x8100, 3, {{0, 0}, {0, 1}}, true},
        {0x818105, 0x8105, 3, {{0, 2}, {1, 0}}, true},
        {0x038000, 0x18000, 2, {{1, 1}}, false},
    };
    ASSERT_EQ(survey.strings.size(), std::size(expected));
    for (size_t s = 0; s < survey.strings.size(); ++s) {
        const GameString& string = survey.strings[s];
        SCOPED_TRACE(s);
        EXPECT_EQ(string.address, expected[s].address);
        EXPECT_EQ(string.offset, expected[s].offset);
        EXPECT_EQ(string.length, expected[s].length);
        EXPECT_EQ(string.bankBound(), expected[s].bankBound);
        ASSERT_EQ(string.pointers.size(), expected[s].pointers.size());
        for (size_t p = 0; p < string.pointers.size(); ++p) {
            const StringPointer& pointer = string.pointers[p];
            EXPECT_EQ(pointer.table, expected[s].pointers[p].first);
            EXPECT_EQ(pointer.index, expected[s].pointers[p].second);
            EXPECT_EQ(pointer.at, TABLES[pointer.table].offset + pointer.index * TABLES[pointer.table].width());
        }
    }
    // Moved to $83:8010: 16 bits of it, or 24 in the half the pointer had.
    EXPECT_EQ(pointerValueFor(survey.strings[1].pointers[0], 0x18010), 0x8010u);
    EXPECT_EQ(pointerValueFor(survey.strings[1].pointers[1], 0x18010), 0x838010u);
    EXPECT_EQ(pointerValueFor(survey.strings[2].pointers[0], 0x18010), 0x038010u);
}

TEST(StringSurvey, RefusalsNameThePointerAtFault) {
    struct Case {
        const char* name;
        uint32_t at;  // a pointer rewritten
        Bytes value;
        StringSurvey::Outcome outcome;
        size_t table;
        uint32_t index;
    };
    const Case cases[] = {
        {"a pointer into the lower half of a bank", SHORT_TABLE + 2, {0xFF, 0x7F}, StringSurvey::StringOutside, 0, 1},
        {"a pointer into work RAM", LONG_TABLE + 3, {0x00, 0x80, 0x7E}, StringSurvey::StringOutside, 1, 1},
        {"a pointer past the ROM data", LONG_TABLE + 3, {0x00, 0x80, 0x84}, StringSurvey::StringOutside, 1, 1},
        // The end token of $82:8003 is not read: a string ends in its bank.
        {"a string without its end in its bank", SHORT_TABLE + 4, {0xF0, 0xFF}, StringSurvey::NoEnd, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes data = romData();
        std::copy(c.value.begin(), c.value.end(), data.begin() + c.at);
        const StringSurvey survey = surveyStrings(data.data(), SIZE, TABLES, letters());
        EXPECT_EQ(survey.outcome, c.outcome);
        EXPECT_EQ(survey.pointer.table, c.table);
        EXPECT_EQ(survey.pointer.index, c.index);
        EXPECT_TRUE(survey.strings.empty());
    }
    // A table whose first pointer ($83:8100) is the last of the ROM data.
    Bytes data = romData();
    data[SIZE - 2] = 0x00;
    data[SIZE - 1] = 0x81;
    const StringSurvey past = surveyStrings(data.data(), SIZE, {TABLES[0], {SIZE - 2, 2, false}}, letters());
    EXPECT_EQ(past.outcome, StringSurvey::TableOutside);
    EXPECT_EQ(past.pointer.table, 1u);
    EXPECT_EQ(past.pointer.index, 1u);
    EXPECT_EQ(past.pointer.at, SIZE);
}

}  // namespace
