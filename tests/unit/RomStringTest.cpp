// Printing table-encoded strings found through 16-bit pointers at HiROM
// addresses of an image written by the test.
#include "rom/RomImage.h"
#include "tests/unit/TestFiles.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t IMAGE_SIZE = 0x20000;  // banks $C0 and $C1
constexpr uint8_t END_CODE = 0xFF;        // the at sign
constexpr uint8_t ZERO_CHARACTER_CODE = 0x7F;
constexpr char SECTION = '\xA7';

class RomStrings : public testing::Test {
protected:
    void SetUp() override {
        // Letters, digits and the space at codes 0x80 and up; the at sign
        // ends a string; one code stands for character 0; 0x00 is unmapped.
        const std::string characters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";
        std::string table;
        char line[16];
        for (size_t i = 0; i < characters.size(); ++i) {
            codes[characters[i]] = static_cast<uint8_t>(0x80 + i);
            std::snprintf(line, sizeof line, "%x=%c\r\n", 0x80 + static_cast<unsigned>(i), characters[i]);
            table += line;
        }
        table += "ff=@\r\n7f=";
        table += '\0';
        table += "\r\n80=Z\r\n";  // a second entry for "A": never used
        tablePath = (dir / "game.tbl").string();
        writeBytes(tablePath, std::vector<uint8_t>(table.begin(), table.end()));
        romPath = (dir / "game.sfc").string();
        image.assign(IMAGE_SIZE, 0);
        image[0xFFD5] = 0x21;  // a HiROM internal header
    }

    std::vector<uint8_t> encode(const std::string& text) {
        std::vector<uint8_t> bytes;
        for (char c : text) bytes.push_back(codes.at(c));
        return bytes;
    }
    // A pointer at a $C0-$FF address to a string in the same bank.
    void place(uint32_t pointerAddress, uint16_t pointer, const std::vector<uint8_t>& string) {
        const uint32_t offset = pointerAddress & 0x3FFFFF;
        image[offset] = static_cast<uint8_t>(pointer);
        image[offset + 1] = static_cast<uint8_t>(pointer >> 8);
        std::copy(string.begin(), string.end(), image.begin() + ((offset & 0xFF0000) | pointer));
    }
    void setUp(RomImage& rom, bool withTable = true) {
        ASSERT_TRUE(writeBytes(romPath, image));
        rom.setRomPath(romPath.c_str());
        if (withTable) {
            ASSERT_EQ(rom.loadTable(tablePath.c_str()), 0);
        }
    }
    static std::string print(RomImage& rom, uint32_t address) {
        return printedBy([&] { rom.printString(address); });
    }

    TempFolder files;
    const fs::path& dir = files.dir();
    std::string tablePath, romPath;
    std::map<char, uint8_t> codes;
    std::vector<uint8_t> image;
};

TEST_F(RomStrings, PointerAndStringInTheBankOfTheAddress) {
    const std::string first = "HELLO WORLD", second = "BANK C1 TEXT";
    auto terminated = [&](const std::string& text) {
        std::vector<uint8_t> bytes = encode(text);
        bytes.push_back(END_CODE);
        return bytes;
    };
    place(0xC01234, 0x5678, terminated(first));
    place(0xC18000, 0x0010, terminated(second));
    for (bool copierHeader : {false, true}) {
        if (copierHeader) image = withCopierHeader(image);
        RomImage rom;
        setUp(rom);
        const uint32_t h = copierHeader ? 512 : 0;
        EXPECT_EQ(print(rom, 0xC01234), first + "\n");
        EXPECT_EQ(rom.cursor, h + 0x5678 + first.size() + 1);  // just after the at sign
        // Banks $80-$BF reach the same data, and bits above the bank are dropped.
        for (uint32_t address : {0xC18000u, 0x818000u, 0x5AC18000u}) {
            EXPECT_EQ(print(rom, address), second + "\n") << std::hex << address;
            EXPECT_EQ(rom.cursor, h + 0x10010 + second.size() + 1);
        }
    }
}

TEST_F(RomStrings, LengthLimitEndMarkAndUnknownBytes) {
    const std::string long40 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCD";
    place(0xC00000, 0x1000, encode(long40));  // no at sign at all
    std::vector<uint8_t> exact = encode(long40.substr(0, 32));
    exact.push_back(END_CODE);
    place(0xC00002, 0x2000, exact);
    place(0xC00004, 0x3000, {END_CODE, codes['A']});
    place(0xC00006, 0x4000, {codes['A'], 0x00, ZERO_CHARACTER_CODE, codes['B'], END_CODE});
    RomImage rom;
    setUp(rom);
    EXPECT_EQ(print(rom, 0xC00000), long40.substr(0, 32) + "\n");
    EXPECT_EQ(rom.cursor, 0x1000u + 32);
    EXPECT_EQ(print(rom, 0xC00002), long40.substr(0, 32) + "\n");
    EXPECT_EQ(rom.cursor, 0x2000u + 32);  // the at sign after 32 characters is not read
    EXPECT_EQ(print(rom, 0xC00004), "\n");
    EXPECT_EQ(rom.cursor, 0x3000u + 1);
    // An unmapped byte and a character 0 both print as the section sign;
    // code 0x80 is in the table twice and the first entry wins.
    EXPECT_EQ(print(rom, 0xC00006), std::string("A") + SECTION + SECTION + "B\n");
}

TEST_F(RomStrings, EmptyTablePrints32SectionSigns) {
    place(0xC00000, 0x1000, encode("HELLO"));
    RomImage rom;
    setUp(rom, false);
    EXPECT_EQ(print(rom, 0xC00000), std::string(32, SECTION) + "\n");
    EXPECT_EQ(rom.cursor, 0x1000u + 32);
}

TEST_F(RomStrings, EveryCallReadsTheFileAsItIsNow) {
    place(0xC00000, 0x1000, {codes['O'], codes['L'], codes['D'], END_CODE});
    RomImage rom;
    setUp(rom);
    EXPECT_EQ(print(rom, 0xC00000), "OLD\n");
    place(0xC00000, 0x1000, {codes['N'], codes['E'], codes['W'], END_CODE});
    ASSERT_TRUE(writeBytes(romPath, image));
    EXPECT_EQ(print(rom, 0xC00000), "NEW\n");

    // When the file is gone the image already held is read.
    fs::remove(romPath);
    EXPECT_EQ(print(rom, 0xC00000), "Erro ao abrir arquivo [" + romPath + "]\nNEW\n");
}

TEST_F(RomStrings, PointersAndStringsOutsideTheImageReadZeros) {
    // The string starts at the last byte of the image and runs past its end.
    place(0xC10000, 0xFFFF, {codes['A']});
    RomImage rom;
    setUp(rom);
    EXPECT_EQ(print(rom, 0xC10000), "A" + std::string(31, SECTION) + "\n");
    // A pointer past the end, a pointer in the last byte, and a bank below $80.
    for (uint32_t address : {0xC70000u, 0xC1FFFFu, 0x001000u}) {
        EXPECT_EQ(print(rom, address), std::string(32, SECTION) + "\n") << std::hex << address;
    }

    // No image ever loaded.
    RomImage never;
    const std::string missing = (dir / "missing.sfc").string();
    never.setRomPath(missing.c_str());
    ASSERT_EQ(never.loadTable(tablePath.c_str()), 0);
    EXPECT_EQ(print(never, 0xC00000), "Erro ao abrir arquivo [" + missing + "]\n" + std::string(32, SECTION) + "\n");
}

}  // namespace
