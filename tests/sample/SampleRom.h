// Synthetic images of the expected game, for tests, the demo and the
// benchmarks: a LoROM image with the expected internal header, the
// graphics directory and compressed graphics made by compressGraphic.
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

struct SampleRom {
    std::vector<uint8_t> image;
    std::vector<SampleGraphic> graphics;  // one per directory record
};

enum class SampleKind {
    Standard,  // 1 MiB, graphics of 1 byte to 64 KiB, the worked example as graphic 7
    Large,     // 4 MiB, every graphic 8 to 64 KiB
};

SampleRom buildSampleRom(SampleKind kind = SampleKind::Standard);

// The log line that a run writes for a sample graphic.
std::string expectedLogLine(int graphic, const SampleGraphic& sample);

// The same image behind a 512-byte copier header.
std::vector<uint8_t> withCopierHeader(const std::vector<uint8_t>& image);

// length bytes of noise that does not compress, the same for the same
// seed (which must not be 0).
std::vector<uint8_t> noiseBytes(size_t length, uint32_t seed);

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::string& path);
