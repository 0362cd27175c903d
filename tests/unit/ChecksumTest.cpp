// The internal checksum with the mirroring rule, and the image changing
// itself: bytes, growth, ROM size, checksum pair.
#include "rom/Checksum.h"
#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>


namespace {

using Bytes = std::vector<uint8_t>;

// The rule spelled out: the largest power-of-two part, then the rest
// repeated byte by byte until it is as long again, all summed.
uint16_t mirroredSum(const Bytes& data) {
    size_t part = 1;
    while (part * 2 <= data.size()) part *= 2;
    Bytes counted(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(part));
    const size_t rest = data.size() - part;
    for (size_t i = 0; rest > 0 && i < part; ++i) counted.push_back(data[part + i % rest]);
    uint32_t sum = 0;
    for (uint8_t byte : counted) sum += byte;
    return static_cast<uint16_t>(sum);
}

TEST(RomChecksum, FollowsTheMirroringRuleOnEverySize) {
    const size_t sizes[] = {1, 2, 3, 7, 8, 1000, 0x8000, 0x18000, 0x28000, 0x100000, 0x180000, 0x140000, 0x108000};
    for (size_t size : sizes) {
        const Bytes data = noiseBytes(size, static_cast<uint32_t>(size));
        EXPECT_EQ(romChecksum(data.data(), data.size()), mirroredSum(data)) << std::hex << size;
    }
    // Three mebibytes count the last one twice.
    Bytes data(0x300000, 0);
    data[0] = 1;          // first 2 MiB: once
    data[0x200000] = 10;  // last 1 MiB: twice
    EXPECT_EQ(romChecksum(data.data(), data.size()), 21);
}

// A sample image whose checksum pair the image brings up to date.
void hold(RomImage& rom, const Bytes& bytes, bool copierHeader) {
    const Bytes file = copierHeader ? withCopierHeader(bytes) : bytes;
    rom.hasCopierHeader = 0;
    ASSERT_EQ(rom.assign(file.data(), file.size()), 0);
    ASSERT_EQ(rom.hasCopierHeader, copierHeader);
}

Bytes romData(const RomImage& rom) {
    return Bytes(rom.romData(), rom.romData() + rom.romDataSize());
}

uint16_t word(const Bytes& data, uint32_t at) { return static_cast<uint16_t>(data[at] | data[at + 1] << 8); }

TEST(UpdateChecksum, StoresAValidPairThatTheWholeDataSumsTo) {
    for (bool copierHeader : {false, true}) {
        for (size_t size : {size_t{0x100000}, size_t{0x180000}}) {
            Bytes bytes = ImageBuilder(size).image;
            const Bytes noise = noiseBytes(size - 0x10000, 7);
            std::copy(noise.begin(), noise.end(), bytes.begin() + 0x10000);
            RomImage rom;
            hold(rom, bytes, copierHeader);
            ASSERT_TRUE(rom.updateChecksum());
            const Bytes data = romData(rom);
            const uint16_t checksum = word(data, LOROM_HEADER_OFFSET + HEADER_CHECKSUM);
            EXPECT_EQ(word(data, LOROM_HEADER_OFFSET + HEADER_CHECKSUM_COMPLEMENT), checksum ^ 0xFFFF);
            // A valid pair adds the same as any other: the data with the
            // stored pair sums to the stored checksum.
            EXPECT_EQ(mirroredSum(data), checksum) << size;
            EXPECT_EQ(rom.checksum, checksum);
            EXPECT_EQ(rom.checksumComplement, checksum ^ 0xFFFF);
            EXPECT_EQ(Bytes(rom.data.get(), rom.data.get() + rom.headerBytes()), Bytes(rom.headerBytes(), 0));
        }
    }
}

TEST(RomWrite, BytesLandAtTheirOffsetOnlyWhenTheyFitAndGrowingKeepsEveryByte) {
    RomImage rom;
    hold(rom, ImageBuilder(0x40000).image, true);
    const Bytes bytes = {1, 2, 3};
    EXPECT_TRUE(rom.writeBytes(0x3FFFD, bytes.data(), bytes.size()));
    EXPECT_EQ(Bytes(rom.data.get() + 512 + 0x3FFFD, rom.data.get() + rom.size), bytes);
    const Bytes before = romData(rom);
    EXPECT_FALSE(rom.writeBytes(0x3FFFE, bytes.data(), bytes.size()));
    EXPECT_FALSE(rom.writeBytes(0xFFFFFFFF, bytes.data(), bytes.size()));
    EXPECT_EQ(romData(rom), before);

    rom.data[3] = 0x77;  // in the copier header
    const Bytes file(rom.data.get(), rom.data.get() + rom.size);
    ASSERT_TRUE(rom.growRomData(0x80000, 0xFF));
    EXPECT_EQ(rom.romDataSize(), 0x80000u);
    Bytes grown = file;
    grown.resize(512 + 0x80000, 0xFF);
    EXPECT_EQ(Bytes(rom.data.get(), rom.data.get() + rom.size), grown);
    EXPECT_FALSE(rom.growRomData(0x40000, 0));
    EXPECT_EQ(rom.romDataSize(), 0x80000u);
    ASSERT_TRUE(rom.setRomSizeExponent(9));
    EXPECT_EQ(rom.data[512 + LOROM_HEADER_OFFSET + HEADER_ROM_SIZE], 9);
}

TEST(RomWrite, GrowingIntoMemoryHeldFromALargerImageShowsNoneOfItsBytes) {
    RomImage rom;
    hold(rom, Bytes(0x100000, 0xAB), false);
    const Bytes small = ImageBuilder(0x40000).image;
    hold(rom, small, false);
    ASSERT_TRUE(rom.growRomData(0x80000, 0xFF));
    Bytes grown = small;
    grown.resize(0x80000, 0xFF);
    EXPECT_EQ(Bytes(rom.data.get(), rom.data.get() + rom.size), grown);
}

}  // namespace
