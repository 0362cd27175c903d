// Positions as written on a command line: bus addresses, file offsets,
// ranges and counts, against the LoROM mapping worked out by hand.
#include "rom/Position.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

struct PositionCase {
    const char* text;
    PositionParse outcome;
    uint32_t offset;
    bool busAddress;
};

TEST(Position, OneAddressOrOffsetMapsAsLoRomHoldsIt) {
    const PositionCase table[] = {
        {"$98:E000", PositionParse::Parsed, 0xC6000, true},
        {"$98e000", PositionParse::Parsed, 0xC6000, true},
        {"$80:8000", PositionParse::Parsed, 0, true},
        {"$00:8000", PositionParse::Parsed, 0, true},     // the slow mirror of bank $80
        {"$FF:FFFF", PositionParse::Parsed, 0x3FFFFF, true},
        {"$7D:FFFF", PositionParse::Parsed, 0x3EFFFF, true},
        {"$8:8000", PositionParse::Parsed, 0x40000, true},
        {"c6000", PositionParse::Parsed, 0xC6000, false},
        {"0xC6000", PositionParse::Parsed, 0xC6000, false},
        {"0", PositionParse::Parsed, 0, false},
        {"ffffffff", PositionParse::Parsed, 0xFFFFFFFF, false},
        {"$98:7FFF", PositionParse::NotRom, 0, false},    // the lower half of a bank
        {"$7E:8000", PositionParse::NotRom, 0, false},    // work RAM
        {"$7F:FFFF", PositionParse::NotRom, 0, false},
        {"$98", PositionParse::NotRom, 0, false},
        {"", PositionParse::Malformed, 0, false},
        {"$", PositionParse::Malformed, 0, false},
        {"0x", PositionParse::Malformed, 0, false},
        {"100000000", PositionParse::Malformed, 0, false},
        {"$1000000", PositionParse::Malformed, 0, false},
        {"$98:E00", PositionParse::Malformed, 0, false},
        {"$198:E000", PositionParse::Malformed, 0, false},
        {"$98:E000:", PositionParse::Malformed, 0, false},
        {" c6000", PositionParse::Malformed, 0, false},
        {"c6g00", PositionParse::Malformed, 0, false},
        {"-1", PositionParse::Malformed, 0, false},
    };
    for (const PositionCase& c : table) {
        Position position;
        EXPECT_EQ(parsePosition(c.text, position), c.outcome) << c.text;
        if (c.outcome != PositionParse::Parsed) continue;
        EXPECT_EQ(position.offset, c.offset) << c.text;
        EXPECT_EQ(position.busAddress, c.busAddress) << c.text;
    }
}

TEST(Position, EveryOffsetFormatsToAPositionThatParsesBack) {
    // Below 4 MiB as a bus address, past it as the offset: never a bus
    // address of another offset.
    for (uint64_t offset = 0; offset <= UINT32_MAX; offset += offset < 0x500000 ? 0x1FF : 0x1FFFFF) {
        Position back;
        const std::string text = formatBusAddress(static_cast<uint32_t>(offset));
        ASSERT_EQ(parsePosition(text, back), PositionParse::Parsed) << text;
        ASSERT_EQ(back.offset, offset) << text;
        ASSERT_EQ(back.busAddress, offset < 0x400000) << text;
    }
    const std::pair<uint32_t, const char*> table[] = {
        {0, "$80:8000"},        {0xC6000, "$98:E000"}, {0x3FFFFF, "$FF:FFFF"},
        {0x400000, "400000"},   {0x400001, "400001"},  {UINT32_MAX, "ffffffff"},
    };
    for (const auto& [offset, text] : table) EXPECT_EQ(formatBusAddress(offset), text) << offset;
}

struct RangeCase {
    const char* text;
    PositionParse outcome;
    uint32_t start, end;
};

TEST(Position, ARangeSplitsAtTheColonBetweenItsTwoPositions) {
    const RangeCase table[] = {
        {"$98:E000:$98:E100", PositionParse::Parsed, 0xC6000, 0xC6100},
        {"$98:E000:$99:8000", PositionParse::Parsed, 0xC6000, 0xC8000},  // to the bank's end
        {"$98E000:$998000", PositionParse::Parsed, 0xC6000, 0xC8000},
        {"c6000:c6100", PositionParse::Parsed, 0xC6000, 0xC6100},
        {"0x80000:0X9aBc0", PositionParse::Parsed, 0x80000, 0x9ABC0},
        {"$98:E000:c6100", PositionParse::Parsed, 0xC6000, 0xC6100},
        {"c6000:$98:E100", PositionParse::Parsed, 0xC6000, 0xC6100},
        {"c6100:c6000", PositionParse::EmptyRange, 0, 0},
        {"c6000:c6000", PositionParse::EmptyRange, 0, 0},
        {"$98:E000:$98:7000", PositionParse::NotRom, 0, 0},
        {"$98:E000", PositionParse::NotRom, 0, 0},
        {"c6000", PositionParse::Malformed, 0, 0},
        {"1:2:3", PositionParse::Malformed, 0, 0},
        {"c6000-c6100", PositionParse::Malformed, 0, 0},
        {":c6100", PositionParse::Malformed, 0, 0},
        {"c6000:", PositionParse::Malformed, 0, 0},
    };
    for (const RangeCase& c : table) {
        Position start, end;
        EXPECT_EQ(parseRange(c.text, start, end), c.outcome) << c.text;
        if (c.outcome != PositionParse::Parsed) continue;
        EXPECT_EQ(start.offset, c.start) << c.text;
        EXPECT_EQ(end.offset, c.end) << c.text;
    }
}

TEST(Position, APositionAndACountSplitAtTheLastColon) {
    const RangeCase table[] = {
        {"$98:8000:7", PositionParse::Parsed, 0xC0000, 7},
        {"$988000:65535", PositionParse::Parsed, 0xC0000, 65535},
        {"c6000:1", PositionParse::Parsed, 0xC6000, 1},
        {"c6000:0", PositionParse::BadCount, 0, 0},
        {"c6000:65536", PositionParse::BadCount, 0, 0},
        {"c6000:100000", PositionParse::Malformed, 0, 0},
        {"c6000:1a", PositionParse::Malformed, 0, 0},
        {"c6000:", PositionParse::Malformed, 0, 0},
        {"c6000", PositionParse::Malformed, 0, 0},
        {"$98:7000:4", PositionParse::NotRom, 0, 0},
    };
    for (const RangeCase& c : table) {
        Position at;
        uint32_t count = 0;
        EXPECT_EQ(parseAtCount(c.text, at, count), c.outcome) << c.text;
        if (c.outcome != PositionParse::Parsed) continue;
        EXPECT_EQ(at.offset, c.start) << c.text;
        EXPECT_EQ(count, c.end) << c.text;
    }
}

}  // namespace
