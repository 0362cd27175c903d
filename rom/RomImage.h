// The ROM context object: one cartridge image held whole in memory, its
// internal header, a read cursor addressed by LoROM/HiROM bus address or
// file offset, and the text facilities (character table, labels) that work
// on the same image.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Which kind of position seek() is given and tell() reports. When several
// flags are set, ADDR_FILE wins over ADDR_HIROM, and ADDR_HIROM over
// ADDR_LOROM; other bits are ignored.
using AddrMode = uint32_t;
constexpr AddrMode ADDR_FILE = 1, ADDR_HIROM = 2, ADDR_LOROM = 4;

// One label of the label list: a 32-bit key and a text of at most 31
// characters, always terminated.
struct LabelEntry {
    uint32_t key;
    char text[32];
};

// "Erro ao abrir arquivo [path]" on standard output: the message of every
// reader of the object whose file cannot be opened or read.
void reportOpenFailure(const char* path);

// LoROM bus address <-> file offset (copier header never counted).
uint32_t loRomToFile(uint32_t address);
uint32_t fileToLoRom(uint32_t offset);
// True when LoROM shows ROM data at a bus address: its low 16 bits are
// $8000 or above, and its bank is not $7E or $7F (work RAM).
bool loRomShowsRom(uint32_t address);

class RomImage {
public:
    FILE* romFile;
    char romPath[256], tablePath[256], labelPath[256];
    std::unique_ptr<uint8_t[]> data;   // the whole file, copier header included
    uint8_t hasCopierHeader;           // 1: ROM data starts at index 512
    char title[22];                    // 21 title characters and a NUL
    uint8_t mapMode, version;
    int32_t checksumComplement, checksum;
    uint8_t tableCodes[256];
    char tableChars[256];
    int32_t tableCount;
    uint32_t cursor;                   // index into data, copier header counted
    int32_t size;                      // bytes held in data
    std::vector<LabelEntry> labels;

    RomImage();
    ~RomImage();
    RomImage(const RomImage&) = delete;
    RomImage& operator=(const RomImage&) = delete;

    // Image loading and the internal header.
    void setRomPath(const char* path);
    int32_t load();
    // Takes an image held in memory as load takes one from a file (the
    // same copier-header rule, the header parsed); 1 when it is 2 GiB or
    // more, else 0.
    int32_t assign(const uint8_t* bytes, size_t length);
    // The same for an image in an array of its own, taken as it is: the
    // first length bytes of bytes, which must hold at least that many.
    int32_t assign(std::unique_ptr<uint8_t[]> bytes, size_t length);
    void parseHeader();

    // Cursor positioning and reads. Reads never touch memory outside data:
    // a byte at an index at or past size reads as 0. Cursor arithmetic is
    // 32-bit and wraps.
    void seek(uint32_t address, AddrMode mode);
    uint32_t tell(AddrMode mode) const;
    uint8_t readByte();
    uint32_t readWord();
    uint32_t readLong();
    uint32_t fileToHiRom(uint32_t offset) const;

    // The byte at an image index, 0 outside the image.
    uint8_t byteAt(uint32_t index) const;
    // Bytes of the copier header in front of the ROM data: 512 or 0.
    uint32_t headerBytes() const;

    // Changing the image in memory (no file is written here). Offsets are
    // file offsets of the ROM data, the copier header not counted; the
    // copier header itself is never changed.
    uint32_t romDataSize() const;
    // The ROM data: romDataSize() bytes from here, at the image index
    // headerBytes(). With no ROM data held, no byte may be read from it.
    const uint8_t* romData() const;
    // Image index of the internal header that parseHeader takes (LoROM
    // place first, then HiROM); false when the image has none.
    bool findInternalHeader(uint32_t& index) const;
    // Copies length bytes to the ROM data from offset on; false, with
    // nothing changed, when they do not all lie inside the ROM data.
    bool writeBytes(uint32_t offset, const uint8_t* bytes, size_t length);
    // Makes the ROM data newSize bytes long, every new byte fill; false,
    // with nothing changed, when newSize is smaller than the ROM data now.
    bool growRomData(uint32_t newSize, uint8_t fill);
    // Stores n in the internal header's ROM-size byte (2^n KiB); false
    // when the image has no internal header.
    bool setRomSizeExponent(uint8_t n);
    // Recomputes the internal header's checksum and complement over the
    // ROM data (romChecksum, with the header holding a valid pair) and
    // stores both in the header and in the fields checksum and
    // checksumComplement; false when the image has no internal header.
    bool updateChecksum();

    // Character table and ROM string reader.
    int32_t readTable();
    int32_t loadTable(const char* path);
    uint8_t lookupChar(uint8_t code) const;
    void printString(uint32_t address);

    // Label list and key expansion.
    int32_t readLabels();
    int32_t loadLabels(const char* path);
    void expandKey(uint32_t key, char* out, int32_t& pos) const;

private:
    // A path handed to setRomPath that does not fit romPath: kept whole so
    // that load refuses it by its real name instead of opening a truncated
    // one.
    std::string overlongRomPath;
    // The array that load, assign or growRomData last made and how many
    // bytes it holds: a reload or a growth that fits reuses it, unless
    // data was given another one.
    const uint8_t* loadedArray = nullptr;
    size_t capacity = 0;
    // Makes data hold bytes bytes (and size say so), the first kept of
    // them as they were.
    void holdBytes(size_t bytes, size_t kept);
    // The copier-header rule, the cursor and the header, for the image
    // just held.
    void takeHeldImage();
};
