// Address mapping and cursor reads, with and without a copier header.
#include "rom/RomImage.h"

#include <gtest/gtest.h>

namespace {

// An object holding an image of the given size, as load would leave it.
void holdImage(RomImage& rom, size_t size, bool copierHeader) {
    rom.data = std::make_unique<uint8_t[]>(size);
    rom.size = static_cast<int32_t>(size);
    rom.hasCopierHeader = copierHeader ? 1 : 0;
    rom.cursor = copierHeader ? 512 : 0;
}

TEST(AddressConversions, WorkedValues) {
    EXPECT_EQ(loRomToFile(0x86F6F7), 0x0376F7u);
    EXPECT_EQ(loRomToFile(0x06F6F7), 0x0376F7u);
    EXPECT_EQ(loRomToFile(0x8676F7), 0x0376F7u);
    EXPECT_EQ(loRomToFile(0x808000), 0x000000u);
    EXPECT_EQ(loRomToFile(0xFFFFFF), 0x3FFFFFu);
    EXPECT_EQ(fileToLoRom(0x0376F7), 0x86F6F7u);
    EXPECT_EQ(fileToLoRom(0x007FFF), 0x80FFFFu);
    EXPECT_EQ(fileToLoRom(0x008000), 0x818000u);
    EXPECT_EQ(fileToLoRom(0x400000), 0x808000u);
    RomImage rom;
    EXPECT_EQ(rom.fileToHiRom(0x0376F7), 0xC376F7u);
    EXPECT_EQ(rom.fileToHiRom(0x400000), 0xC00000u);
}

TEST(AddressConversions, LoRomRoundTripBelowFourMiB) {
    for (uint32_t offset = 0; offset < 0x400000; offset += 0x1F3) {
        ASSERT_EQ(loRomToFile(fileToLoRom(offset)), offset) << std::hex << offset;
    }
}

struct SeekCase {
    uint32_t address;
    AddrMode mode;
    uint32_t plain;       // cursor without copier header
    uint32_t withHeader;  // cursor with one
};

TEST(Seek, WorkedValuesWithAndWithoutCopierHeader) {
    const SeekCase cases[] = {
        {0x86F6F7, ADDR_LOROM, 0x0376F7, 0x0378F7},
        {0x8676F7, ADDR_LOROM, 0x02F6F7, 0x02F8F7},
        {0x06F6F7, ADDR_LOROM, 0x7FC376F7, 0x7FC378F7},
        {0x808000, ADDR_LOROM, 0, 512},
        {0xC376F7, ADDR_HIROM, 0x0376F7, 0x0378F7},
        {0x801234, ADDR_HIROM, 0x001234, 0x001434},
        {0x400000, ADDR_HIROM, 0xFFC00000, 0xFFC00200},
        {0x0376F7, ADDR_FILE, 0x0376F7, 0x0378F7},
        {0x86F6F7, 0, 0, 512},
        {0x86F6F7, 5, 0x86F6F7, 0x86F8F7},
        {0x86F6F7, 6, 0x06F6F7, 0x06F8F7},
        {0x86F6F7, 7, 0x86F6F7, 0x86F8F7},
        {0x801000, ADDR_LOROM, 0xFFFF9000, 0xFFFF9200},
    };
    for (bool header : {false, true}) {
        RomImage rom;
        holdImage(rom, 0x100000, header);
        for (const SeekCase& c : cases) {
            rom.seek(c.address, c.mode);
            EXPECT_EQ(rom.cursor, header ? c.withHeader : c.plain)
                << std::hex << "seek(" << c.address << ", " << c.mode << ") header " << header;
        }
    }
}

TEST(Tell, WorkedValuesWithAndWithoutCopierHeader) {
    for (bool header : {false, true}) {
        RomImage rom;
        holdImage(rom, 0x100000, header);
        const uint32_t h = header ? 512 : 0;
        rom.cursor = 0x0376F7 + h;
        EXPECT_EQ(rom.tell(ADDR_LOROM), 0x86F6F7u);
        EXPECT_EQ(rom.tell(ADDR_HIROM), 0x8376F7u);
        EXPECT_EQ(rom.tell(ADDR_FILE), 0x0376F7u);
        rom.cursor = 0x8100;
        EXPECT_EQ(rom.tell(ADDR_LOROM), header ? 0x817F00u : 0x818100u);
        EXPECT_EQ(rom.tell(0), header ? 0xFFFFFE00u : 0u);
    }
}

TEST(Tell, SeekRestoresEveryCursorBelowFourMiB) {
    for (bool header : {false, true}) {
        RomImage rom;
        holdImage(rom, 0x100000, header);
        for (uint32_t c = header ? 512 : 0; c < 0x400000; c += 0x101) {
            for (AddrMode mode : {ADDR_FILE, ADDR_HIROM, ADDR_LOROM}) {
                rom.cursor = c;
                rom.seek(rom.tell(mode), mode);
                ASSERT_EQ(rom.cursor, c) << std::hex << "cursor " << c << " mode " << mode;
            }
        }
    }
}

TEST(Tell, LoRomAddressesComeBackExceptTheCopierHeaderSpill) {
    RomImage rom;
    holdImage(rom, 0x100000, true);
    rom.seek(0x80FF00, ADDR_LOROM);
    EXPECT_EQ(rom.tell(ADDR_LOROM), 0x817F00u);
    rom.seek(0xBFFF00, ADDR_HIROM);
    EXPECT_EQ(rom.tell(ADDR_HIROM), 0x7FFF00u);
    rom.seek(0xC376F7, ADDR_HIROM);
    EXPECT_EQ(rom.tell(ADDR_HIROM), 0x8376F7u);
    rom.seek(0x9F8123, ADDR_LOROM);
    EXPECT_EQ(rom.tell(ADDR_LOROM), 0x9F8123u);
}

TEST(Reads, LittleEndianValuesAdvanceTheCursor) {
    RomImage rom;
    holdImage(rom, 0x8000, false);
    rom.data[0x10] = 0xF7;
    rom.data[0x11] = 0xF6;
    rom.data[0x12] = 0x86;
    rom.data[0x13] = 0x42;
    rom.cursor = 0x10;
    EXPECT_EQ(rom.readLong(), 0x86F6F7u);
    EXPECT_EQ(rom.cursor, 0x13u);
    EXPECT_EQ(rom.readByte(), 0x42);
    rom.cursor = 0x10;
    EXPECT_EQ(rom.readWord(), 0xF6F7u);
    EXPECT_EQ(rom.cursor, 0x12u);
}

TEST(Reads, LastWordOfTheImageThenZerosPastTheEnd) {
    RomImage rom;
    holdImage(rom, 0x8000, false);
    rom.data[0x7FFE] = 0x34;
    rom.data[0x7FFF] = 0x12;
    rom.cursor = 0x7FFE;
    EXPECT_EQ(rom.readWord(), 0x1234u);
    EXPECT_EQ(rom.cursor, 0x8000u);
    EXPECT_EQ(rom.readLong(), 0u);
    EXPECT_EQ(rom.cursor, 0x8003u);
}

TEST(Reads, CursorWrapsAt32BitsBackIntoTheImage) {
    RomImage rom;
    holdImage(rom, 0x8000, false);
    rom.data[0] = 0xAB;
    rom.cursor = 0xFFFFFFFF;
    EXPECT_EQ(rom.readWord(), 0xAB00u);
    EXPECT_EQ(rom.cursor, 1u);
}

TEST(Reads, NoImageReadsZeros) {
    RomImage rom;
    EXPECT_EQ(rom.readLong(), 0u);
    EXPECT_EQ(rom.cursor, 3u);
}

}  // namespace
