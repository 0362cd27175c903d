// The fill-byte/bitmask codec: the decoder's rules and the encoder as its
// shortest inverse.
#include "rom/RomImage.h"
#include "graphics/Decompress.h"
#include "graphics/GraphicCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

struct Decoded {
    Bytes bytes;
    uint32_t packedLength;
};

// Decodes into a buffer with guard bytes behind the room the decoder may
// use, and checks that none of them was touched.
Decoded decode(const Bytes& stream, uint16_t unpackedSize) {
    const size_t room = std::max<size_t>(unpackedSize, 1);
    Bytes buffer(room + 16, 0xCD);
    const GraphicDecode result = decodeGraphic(stream.data(), stream.size(), unpackedSize, buffer.data());
    EXPECT_EQ(result.producedLength, room);
    EXPECT_TRUE(std::all_of(buffer.begin() + room, buffer.end(), [](uint8_t b) { return b == 0xCD; }))
        << "wrote past the graphic";
    buffer.resize(result.producedLength);
    return {buffer, result.packedLength};
}

TEST(Decoder, WorkedExampleStopsBeforeTheUnusedLiteral) {
    const Decoded d = decode({0xA0, 0x00, 0x11, 0x22, 0x60, 0xFF, 0x33, 0x44}, 10);
    EXPECT_EQ(d.bytes, (Bytes{0x11, 0x00, 0x22, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x33}));
    EXPECT_EQ(d.packedLength, 7u);
}

TEST(Decoder, AWholeGroupOfFillReadsNothingAfterIt) {
    // Only the two bytes of the group are given: the next group is never begun.
    const Decoded d = decode({0x00, 0xAB}, 8);
    EXPECT_EQ(d.bytes, Bytes(8, 0xAB));
    EXPECT_EQ(d.packedLength, 2u);
}

TEST(Decoder, ASizeOfZeroStillProducesOneByte) {
    EXPECT_EQ(decode({0x7F, 0x5C, 0x99}, 0).bytes, Bytes{0x5C});
    EXPECT_EQ(decode({0x7F, 0x5C, 0x99}, 0).packedLength, 2u);
    EXPECT_EQ(decode({0x80, 0x5C, 0x99}, 0).bytes, Bytes{0x99});
    EXPECT_EQ(decode({0x80, 0x5C, 0x99}, 0).packedLength, 3u);
}

TEST(Decoder, ReachingTheSizeMidGroupReadsNoLiteralForTheRest) {
    const Decoded d = decode({0xFF, 0x00, 1, 2, 3, 4, 5, 6, 7, 8}, 3);
    EXPECT_EQ(d.bytes, (Bytes{1, 2, 3}));
    EXPECT_EQ(d.packedLength, 5u);
}

TEST(Decoder, AllLiteralGroupsStillReadAndCountTheFillByte) {
    const Decoded d = decode({0xFF, 0xEE, 1, 2, 3, 4, 5, 6, 7, 8, 0x01, 0xEE, 9}, 16);
    EXPECT_EQ(d.bytes, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 9}));
    EXPECT_EQ(d.packedLength, 13u);
}

TEST(Decoder, BytesPastTheStreamReadAsZeroAndAreCounted) {
    const Decoded d = decode({0xFF, 0x00, 7}, 9);
    EXPECT_EQ(d.bytes, (Bytes{7, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(d.packedLength, 12u);  // a group of ten, then control and fill of the next
}

TEST(DecoderOnImage, LeavesTheCursorOnTheFirstByteNotConsumed) {
    RomImage rom;
    rom.data = std::make_unique<uint8_t[]>(0x8000);
    rom.size = 0x8000;
    const Bytes stream = {0xA0, 0x00, 0x11, 0x22, 0x60, 0xFF, 0x33, 0x44};
    std::copy(stream.begin(), stream.end(), &rom.data[0x100]);
    for (auto decoder : {decompressGraphic, decompressGraphicPerByte}) {
        rom.cursor = 0x100;
        Bytes out(10);
        const GraphicDecode result = decoder(rom, 10, out.data());
        EXPECT_EQ(out, (Bytes{0x11, 0x00, 0x22, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x33}));
        EXPECT_EQ(result.packedLength, 7u);
        EXPECT_EQ(rom.cursor, 0x107u);
    }
}

TEST(DecoderOnImage, ACursorJustBelow2To32WrapsIntoTheImageLikeTheReads) {
    RomImage rom;
    rom.data = std::make_unique<uint8_t[]>(0x8000);
    rom.size = 0x8000;
    rom.data[0] = 0x80;  // the second group's control and fill, then its literal
    rom.data[1] = 0x42;
    rom.data[2] = 0x77;
    rom.cursor = 0xFFFFFFFE;  // the first group's control and fill lie outside: 0, 0
    Bytes out(9);
    const GraphicDecode result = decompressGraphic(rom, 9, out.data());
    EXPECT_EQ(out, (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0x77}));
    EXPECT_EQ(result.packedLength, 5u);
    EXPECT_EQ(rom.cursor, 3u);
}

// The shortest stream for bytes: per group, control, fill, and one literal
// for every byte that is not the group's most frequent one.
size_t shortestLength(const Bytes& bytes) {
    size_t length = 0;
    for (size_t start = 0; start < bytes.size(); start += 8) {
        std::map<uint8_t, size_t> counts;
        const size_t end = std::min(bytes.size(), start + 8);
        for (size_t i = start; i < end; ++i) ++counts[bytes[i]];
        size_t most = 0;
        for (const auto& entry : counts) most = std::max(most, entry.second);
        length += 2 + (end - start) - most;
    }
    return length;
}

Bytes content(std::mt19937& random, size_t length, int kind) {
    Bytes bytes(length);
    const uint8_t fill = static_cast<uint8_t>(random());
    for (size_t i = 0; i < length; ++i) {
        const uint8_t noise = static_cast<uint8_t>(random());
        switch (kind) {
            case 0: bytes[i] = noise; break;
            case 1: bytes[i] = fill; break;
            case 2: bytes[i] = random() % 10 == 0 ? noise : fill; break;
            case 3: bytes[i] = static_cast<uint8_t>(noise % 3); break;  // ties between candidates
            default: bytes[i] = static_cast<uint8_t>(i / 8); break;
        }
    }
    return bytes;
}

TEST(Encoder, DecodingTheShortestStreamGivesTheBytesBack) {
    std::mt19937 random(20261207);
    std::vector<size_t> sizes;
    for (size_t n = 1; n <= 40; ++n) sizes.push_back(n);
    for (int i = 0; i < 40; ++i) sizes.push_back(1 + random() % 65535);
    sizes.push_back(65535);
    sizes.push_back(65528);
    for (size_t size : sizes) {
        for (int kind = 0; kind < 5; ++kind) {
            const Bytes bytes = content(random, size, kind);
            const Bytes stream = compressGraphic(bytes.data(), bytes.size());
            const Decoded d = decode(stream, static_cast<uint16_t>(size));
            ASSERT_EQ(d.bytes, bytes) << "size " << size << " kind " << kind;
            ASSERT_EQ(d.packedLength, stream.size()) << "size " << size << " kind " << kind;
            ASSERT_EQ(stream.size(), shortestLength(bytes)) << "size " << size << " kind " << kind;
        }
    }
}

TEST(Encoder, UnusedFlagsOfTheLastGroupCarryNoLiterals) {
    const Bytes stream = compressGraphic(Bytes{5, 9, 5}.data(), 3);
    EXPECT_EQ(stream, (Bytes{0x40, 5, 9}));
}

}  // namespace
