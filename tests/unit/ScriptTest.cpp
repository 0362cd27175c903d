// A script's pointer tables, written by the dump and read back by the
// insertion: every table comes back at the place it was read from, also
// one past 4 MiB that no LoROM bus address names.
#include "text/Script.h"

#include <gtest/gtest.h>

namespace {

TEST(Script, PointerTablesReadBackWhereTheyWereWrittenFrom) {
    const std::vector<PointerTable> tables = {
        {0x000000, 1, false},     {0x0C0000, 7, false},  {0x3FFFFE, 1, false},
        {0x400000, 65535, true},  {0x4A8000, 3, false},  {0xFFFFFFFD, 1, true},
    };
    const std::string script = writeScript({tables, {}}, {}, {});
    const ScriptReading reading = readScript(script);
    ASSERT_EQ(reading.outcome, ScriptReading::Done) << script;
    ASSERT_EQ(reading.tables.size(), tables.size()) << script;
    for (size_t i = 0; i < tables.size(); ++i) {
        EXPECT_EQ(reading.tables[i].offset, tables[i].offset) << script;
        EXPECT_EQ(reading.tables[i].count, tables[i].count) << script;
        EXPECT_EQ(reading.tables[i].isLong, tables[i].isLong) << script;
    }
}

}  // namespace
