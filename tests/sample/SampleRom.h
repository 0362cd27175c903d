// Synthetic images of the expected game, for tests, the demo and the
// benchmarks: a LoROM image with the expected internal header (a true
// ROM-size byte and checksum), the graphics directory, compressed
// graphics made by compressGraphic, text with its table, and a boot
// program that shows a graphic and a string on the console's screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A blank LoROM image with the expected internal header, and setters for
// what a test wants different. Offsets are file offsets (no copier header).
class ImageBuilder {
public:
    explicit ImageBuilder(size_t size = 1 << 20);

    ImageBuilder& title(const char* text);  // up to 21 characters, space-padded
    ImageBuilder& version(uint8_t value);
    ImageBuilder& checksum(uint16_t value);
    ImageBuilder& byte(uint32_t offset, uint8_t value);
    ImageBuilder& bytes(uint32_t offset, const std::vector<uint8_t>& values);
    // Directory record of a graphic.
    ImageBuilder& record(int graphic, uint16_t unpackedSize, uint32_t dataAddress);
    // Points every record at one small graphic, so the image is complete.
    ImageBuilder& fillDirectory(uint32_t fileOffset);

    std::vector<uint8_t> image;
};

struct SampleGraphic {
    std::vector<uint8_t> decoded;  // what the file must hold
    uint16_t unpackedSize;
    uint32_t dataAddress;          // LoROM bus address of the stream
    uint32_t fileOffset;           // where the stream starts (no copier header)
    std::vector<uint8_t> stream;   // the compressed bytes placed there
    uint32_t packedLength;         // how many of them decoding reads
};

// A table of pointers to strings, as the sample's text has two.
struct SamplePointerTable {
    uint32_t fileOffset;      // of the first pointer (no copier header)
    std::string busAddress;   // the same place as a LoROM bus address, "$98:8000"
    uint32_t count;           // pointers in the table
    int pointerBytes;         // 2: low 16 bits, the string in the table's bank; 3: 24-bit LoROM address
    // The string each pointer reaches, in pointer order: its file offset
    // and its bytes, the end token included. Two pointers may reach the
    // same string.
    std::vector<uint32_t> stringOffsets;
    std::vector<std::vector<uint8_t>> strings;
};

// The sample's text: a 16-bit pointer table at $98:8000 with its strings
// in bank $98, a 24-bit one at $99:8000 with its strings in bank $9A, and
// the table file that turns their bytes into text.
struct SampleText {
    std::string table;                       // the .tbl file: UTF-8, LF
    std::vector<SamplePointerTable> tables;  // [0] 16-bit, [1] 24-bit
    uint32_t unusedStart = 0;                // unused room in bank $98, 0xFF-filled:
    uint32_t unusedEnd = 0;                  // file offsets [unusedStart, unusedEnd)
};

// Where the text descriptor lies (file offset of $9B:8000): the codes the
// boot program's text engine reads the strings by, taken from the table's
// entries. The end token, the line break, the control code and its
// parameter count, the number of words, then each word that one code
// stands for (an entry of more than one character or of more than one
// byte): its record's size, its code's length and bytes, its text's length
// in characters and the code of each through the table's one-byte entries.
// The longest codes come first.
constexpr uint32_t SAMPLE_TEXT_DESCRIPTOR = 0x0D8000;

// The table's end token and line break, as the strings use them.
constexpr uint8_t SAMPLE_END_TOKEN = 0x00;
constexpr uint8_t SAMPLE_LINE_BREAK = 0x01;

struct SampleRom {
    std::vector<uint8_t> image;
    std::vector<SampleGraphic> graphics;  // one per directory record
    SampleText text;                      // the standard kind's only: empty in the large one
    // The boot program's code, file offsets [0, bootEnd); its vectors
    // follow the internal header.
    uint32_t bootEnd = 0;
};

enum class SampleKind {
    Standard,  // 1 MiB, graphics of 1 byte to 64 KiB, the worked example as graphic 7
    Large,     // 4 MiB, every graphic 8 to 64 KiB
};

SampleRom buildSampleRom(SampleKind kind = SampleKind::Standard);

// The table file written beside an image: the same path with the
// extension .tbl ("sample.sfc" -> "sample.tbl", "sample" -> "sample.tbl").
std::string tablePathFor(const std::string& imagePath);

// The checksum that an image's internal header holds (ROM data, no
// copier header), and the first lines a run of the extraction prints for
// the image: the banner and that checksum.
uint16_t headerChecksum(const std::vector<uint8_t>& romData);
std::string extractionBanner(const std::vector<uint8_t>& romData);

// The log line that a run writes for a sample graphic.
std::string expectedLogLine(int graphic, const SampleGraphic& sample);

// The same image behind a 512-byte copier header.
std::vector<uint8_t> withCopierHeader(const std::vector<uint8_t>& image);

// length bytes of noise that does not compress, the same for the same
// seed (which must not be 0).
std::vector<uint8_t> noiseBytes(size_t length, uint32_t seed);

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::string& path);
