// The character table reader and its users, over arbitrary table files and
// images.
//
// Input: the HiROM address of a string pointer (4 bytes), the length of the
// table file (2 bytes), the table file, then the image file. The table is
// read, every code looked up, and the string behind the pointer printed;
// the table must hold at most 256 entries, lookups must give the first
// entry's character, and the string reader must stop after at most 32
// bytes of the string.
#include "fuzz/FuzzSupport.h"
#include "rom/RomImage.h"

#include <cstring>

namespace {

constexpr int TABLE_CAPACITY = 256;
constexpr uint32_t MAX_STRING_BYTES = 32;
constexpr uint32_t BANK_SIZE = 0x8000;

// Image index of a HiROM bus address, as the string reader seeks it.
uint32_t hiRomIndex(uint32_t address, uint32_t h) {
    const uint32_t base = address > 0xBFFFFF ? 0xC00000 : 0x800000;
    return ((address & 0xFF0000) - base) + (address & 0xFFFF) + h;
}

uint8_t at(const std::vector<uint8_t>& image, uint32_t index) {
    return index < image.size() ? image[index] : 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceConsole();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint32_t address = input.dword();
    const std::vector<uint8_t> table = input.bytes(input.word());
    const std::vector<uint8_t> image = input.rest();

    const std::string& tablePath = scratchPath("table.tbl");
    writeScratch(tablePath, table.data(), table.size());
    RomImage rom;
    FUZZ_CHECK(rom.loadTable(tablePath.c_str()) == 0);
    FUZZ_CHECK(rom.tableCount >= 0 && rom.tableCount <= TABLE_CAPACITY);

    for (int code = 0; code < 256; ++code) {
        uint8_t expected = 0;
        for (int i = rom.tableCount - 1; i >= 0; --i) {
            if (rom.tableCodes[i] == code) expected = static_cast<uint8_t>(rom.tableChars[i]);
        }
        FUZZ_CHECK(rom.lookupChar(static_cast<uint8_t>(code)) == expected);
    }

    // A table file that cannot be read leaves the table as it was.
    uint8_t codes[TABLE_CAPACITY];
    char chars[TABLE_CAPACITY];
    const int32_t count = rom.tableCount;
    std::memcpy(codes, rom.tableCodes, sizeof codes);
    std::memcpy(chars, rom.tableChars, sizeof chars);
    FUZZ_CHECK(rom.loadTable((tablePath + ".missing").c_str()) == 1);
    FUZZ_CHECK(rom.tableCount == count);
    FUZZ_CHECK(std::memcmp(codes, rom.tableCodes, static_cast<size_t>(count)) == 0);
    FUZZ_CHECK(std::memcmp(chars, rom.tableChars, static_cast<size_t>(count)) == 0);

    // The string reader reloads the image from its file, follows the
    // pointer and reads at most 32 bytes of the string.
    const std::string& imagePath = scratchPath("image.sfc");
    writeScratch(imagePath, image.data(), image.size());
    rom.setRomPath(imagePath.c_str());
    rom.printString(address);
    const uint32_t h = image.size() % BANK_SIZE != 0 ? 512 : 0;
    const uint32_t pointerAt = hiRomIndex(address, h);
    const uint32_t pointer = at(image, pointerAt) | at(image, pointerAt + 1) << 8;
    const uint32_t stringAt = hiRomIndex((address & 0xFF0000) | pointer, h);
    const uint32_t read = rom.cursor - stringAt;
    FUZZ_CHECK(read >= 1 && read <= MAX_STRING_BYTES);
    return 0;
}
