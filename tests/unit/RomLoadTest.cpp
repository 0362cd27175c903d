// Loading an image, the copier-header rule and the internal header probes.
#include "rom/RomImage.h"
#include "tests/sample/SampleRom.h"
#include "tests/unit/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

constexpr size_t MIB = 1 << 20;

// Loads bytes into rom and returns what load printed.
std::string loadInto(RomImage& rom, const std::vector<uint8_t>& bytes) {
    const TempFolder files;
    rom.setRomPath(files.write("image.sfc", bytes).c_str());
    int32_t result = -1;
    const std::string printed = printedBy([&] { result = rom.load(); });
    EXPECT_EQ(result, 0);
    return printed;
}

std::vector<uint8_t> withHeaderAt(size_t size, uint32_t headerStart, uint8_t mapMode) {
    std::vector<uint8_t> image(size, 0);
    const char title[] = "HEADER AT THIS PLACE!";
    std::memcpy(&image[headerStart], title, 21);
    image[headerStart + 0x15] = mapMode;
    image[headerStart + 0x1B] = 3;
    image[headerStart + 0x1C] = 0xCB;
    image[headerStart + 0x1D] = 0xED;
    image[headerStart + 0x1E] = 0x34;
    image[headerStart + 0x1F] = 0x12;
    return image;
}

TEST(Construction, StartsEmptyWithAnEmptyTitle) {
    RomImage rom;
    EXPECT_EQ(rom.data, nullptr);
    EXPECT_EQ(rom.hasCopierHeader, 0);
    EXPECT_EQ(rom.tableCount, 0);
    EXPECT_TRUE(rom.labels.empty());
    EXPECT_STREQ(rom.title, "");
}

TEST(Load, AWholeNumberOfBlocksHasNoCopierHeader) {
    RomImage rom;
    EXPECT_EQ(loadInto(rom, withHeaderAt(MIB, 0x7FC0, 0x20)), "");
    EXPECT_EQ(rom.size, static_cast<int32_t>(MIB));
    EXPECT_EQ(rom.hasCopierHeader, 0);
    EXPECT_EQ(rom.cursor, 0u);
    EXPECT_STREQ(rom.title, "HEADER AT THIS PLACE!");
    EXPECT_EQ(rom.mapMode, 0x20);
    EXPECT_EQ(rom.version, 3);
    EXPECT_EQ(rom.checksum, 0x1234);
    EXPECT_EQ(rom.checksumComplement, 0xEDCB);
}

TEST(Load, AnyRemainderMeansA512ByteCopierHeader) {
    for (size_t extra : {size_t{512}, size_t{256}}) {
        RomImage rom;
        loadInto(rom, withHeaderAt(MIB + extra, 0x7FC0 + 512, 0x30));
        EXPECT_EQ(rom.hasCopierHeader, 1) << extra;
        EXPECT_EQ(rom.cursor, 512u);
        EXPECT_STREQ(rom.title, "HEADER AT THIS PLACE!");
        EXPECT_EQ(rom.mapMode, 0x30);
    }
}

TEST(Load, TheCopierHeaderFlagStaysForLaterImages) {
    RomImage rom;
    loadInto(rom, withHeaderAt(MIB + 512, 0x81C0, 0x20));
    loadInto(rom, withHeaderAt(MIB, 0x81C0, 0x20));
    EXPECT_EQ(rom.hasCopierHeader, 1);
    EXPECT_EQ(rom.cursor, 512u);
    EXPECT_EQ(rom.size, static_cast<int32_t>(MIB));
    EXPECT_STREQ(rom.title, "HEADER AT THIS PLACE!");

    RomImage preset;
    preset.hasCopierHeader = 1;
    loadInto(preset, withHeaderAt(MIB, 0x81C0, 0x20));
    EXPECT_EQ(preset.cursor, 512u);
    EXPECT_EQ(preset.mapMode, 0x20);
}

// Reloads into memory held from an earlier image when the image fits it:
// each load holds exactly its own image's bytes, whatever came before, and
// an array given to data from outside is never taken for the held one.
TEST(Load, EveryReloadHoldsExactlyItsOwnImage) {
    auto patterned = [](size_t size, uint8_t seed) {
        std::vector<uint8_t> image(size);
        for (size_t i = 0; i < size; ++i) image[i] = static_cast<uint8_t>(seed + i * 7);
        return image;
    };
    RomImage rom;
    const std::vector<std::vector<uint8_t>> images = {
        patterned(0x10000, 1), patterned(0x8000, 2), patterned(0x18000, 3), patterned(0x10000, 4)};
    for (const std::vector<uint8_t>& image : images) {
        loadInto(rom, image);
        ASSERT_EQ(rom.size, static_cast<int32_t>(image.size()));
        EXPECT_EQ(std::vector<uint8_t>(rom.data.get(), rom.data.get() + rom.size), image);
    }
    rom.data = std::make_unique<uint8_t[]>(16);
    loadInto(rom, images[2]);
    EXPECT_EQ(std::vector<uint8_t>(rom.data.get(), rom.data.get() + rom.size), images[2]);
}

TEST(Load, AMissingFileChangesNothing) {
    RomImage rom;
    loadInto(rom, withHeaderAt(MIB, 0x7FC0, 0x20));
    rom.cursor = 77;
    const TempFolder files;
    const std::string missing = files.path("no-such-file.sfc");
    rom.setRomPath(missing.c_str());
    int32_t result = -1;
    EXPECT_EQ(printedBy([&] { result = rom.load(); }), "Erro ao abrir arquivo [" + missing + "]\n");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(rom.size, static_cast<int32_t>(MIB));
    EXPECT_EQ(rom.cursor, 77u);
    EXPECT_STREQ(rom.title, "HEADER AT THIS PLACE!");
}

TEST(Load, AnOverlongPathIsRefusedNotTruncated) {
    // The first 255 characters name a file that exists; the whole path does not.
    const TempFolder files;
    const std::string prefix = files.pathOfLength(255);
    writeBytes(prefix, withHeaderAt(MIB, 0x7FC0, 0x20));
    const std::string path = prefix + "-and-more";

    RomImage rom;
    rom.setRomPath(path.c_str());
    int32_t result = -1;
    EXPECT_EQ(printedBy([&] { result = rom.load(); }), "Erro ao abrir arquivo [" + path + "]\n");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(rom.data, nullptr);
    EXPECT_EQ(std::strlen(rom.romPath), 255u);
}

TEST(ParseHeader, LoRomProbeWinsOverHiRom) {
    auto image = withHeaderAt(MIB, 0x7FC0, 0x30);
    image[0xFFD5] = 0x31;
    RomImage rom;
    loadInto(rom, image);
    EXPECT_EQ(rom.mapMode, 0x30);
    EXPECT_STREQ(rom.title, "HEADER AT THIS PLACE!");
}

TEST(ParseHeader, HiRomHeaderWhenTheLoRomProbeFails) {
    auto image = withHeaderAt(MIB, 0xFFC0, 0x21);
    image[0x7FD5] = 0x21;  // a HiROM value at the LoROM position matches nothing
    RomImage rom;
    loadInto(rom, image);
    EXPECT_EQ(rom.mapMode, 0x21);
    EXPECT_EQ(rom.version, 3);
    EXPECT_STREQ(rom.title, "HEADER AT THIS PLACE!");
}

TEST(ParseHeader, NoMatchLeavesTheFieldsAsTheyWere) {
    RomImage rom;
    loadInto(rom, withHeaderAt(MIB, 0x7FC0, 0x20));
    auto image = withHeaderAt(MIB, 0x7FC0, 0x21);
    image[0xFFD5] = 0x20;
    std::memcpy(&image[0x7FC0], "ANOTHER TITLE HERE!!!", 21);
    EXPECT_EQ(loadInto(rom, image), "Rom inv\xE1lida!\n");
    EXPECT_STREQ(rom.title, "HEADER AT THIS PLACE!");
    EXPECT_EQ(rom.mapMode, 0x20);
}

TEST(ParseHeader, AZeroByteEndsTheTitleEarly) {
    auto image = withHeaderAt(MIB, 0x7FC0, 0x20);
    image[0x7FC5] = 0;
    RomImage rom;
    loadInto(rom, image);
    EXPECT_STREQ(rom.title, "HEADE");
    EXPECT_EQ(rom.title[7], 'A');  // the bytes after the zero are still copied
}

TEST(ParseHeader, AProbeMatchesOnlyAHeaderWhollyInsideTheImage) {
    // The map-mode byte is the last byte of the file: the header's last ten
    // bytes would lie outside.
    std::vector<uint8_t> image(0x7FD6, 0);
    image[0x7FD5] = 0x20;
    for (const auto& bytes : {image, std::vector<uint8_t>{}, std::vector<uint8_t>(0x7FDF, 0x20)}) {
        RomImage rom;
        EXPECT_EQ(loadInto(rom, bytes), "Rom inv\xE1lida!\n") << bytes.size();
        EXPECT_STREQ(rom.title, "");
    }
    // Exactly 0x7FE0 bytes hold the whole header.
    RomImage rom;
    EXPECT_EQ(loadInto(rom, withHeaderAt(0x8000, 0x7FC0, 0x20)), "");
    EXPECT_EQ(rom.version, 3);
}

}  // namespace
