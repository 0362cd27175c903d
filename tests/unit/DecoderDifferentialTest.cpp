// The group-at-a-time decoder against the per-byte reference: on every stream, size and start
// position, the same decoded bytes, the same packedLength and the same
// cursor, also when the image ends inside the stream. The decoder gets a
// heap copy of exactly the stream's bytes and an output of exactly the
// room it may use, so that AddressSanitizer catches a byte read or written
// outside them; a second run with other bytes behind the stream shows that
// none of them is ever used.
#include "rom/RomImage.h"
#include "graphics/Decompress.h"
#include "graphics/GraphicCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Decoding {
    Bytes bytes;
    uint32_t packedLength;
    uint32_t cursor;  // where the cursor is, or would be, left
};

bool operator==(const Decoding& a, const Decoding& b) {
    return a.bytes == b.bytes && a.packedLength == b.packedLength && a.cursor == b.cursor;
}

std::ostream& operator<<(std::ostream& out, const Decoding& d) {
    return out << "{" << d.bytes.size() << " bytes, packedLength " << d.packedLength << ", cursor " << d.cursor
               << "}";
}

size_t room(uint16_t unpackedSize) { return std::max<size_t>(unpackedSize, 1); }

using BufferDecoder = GraphicDecode (*)(const uint8_t*, size_t, uint16_t, uint8_t*);

// A buffer decoder over the image's bytes from start on, the way the run's
// decompressGraphic hands them over, with `behind` extra bytes of value
// 0xEE after the image's end (0: an allocation of exactly the stream).
Decoding bufferDecode(BufferDecoder decoder, const Bytes& image, uint32_t start, uint16_t unpackedSize,
                      size_t behind) {
    const size_t length = start < image.size() ? image.size() - start : 0;
    std::unique_ptr<uint8_t[]> stream(new uint8_t[length + behind]);
    if (length > 0) std::memcpy(stream.get(), image.data() + start, length);
    std::memset(stream.get() + length, 0xEE, behind);
    std::unique_ptr<uint8_t[]> out(new uint8_t[room(unpackedSize)]);

    const GraphicDecode result = decoder(stream.get(), length, unpackedSize, out.get());
    EXPECT_EQ(result.producedLength, room(unpackedSize));
    const size_t produced = std::min<size_t>(result.producedLength, room(unpackedSize));
    return {Bytes(out.get(), out.get() + produced), result.packedLength, start + result.packedLength};
}

// An image holding exactly these bytes, with the cursor at start.
void hold(RomImage& rom, const Bytes& image, uint32_t start) {
    rom.data = std::make_unique<uint8_t[]>(image.size());
    std::copy(image.begin(), image.end(), rom.data.get());
    rom.size = static_cast<int32_t>(image.size());
    rom.cursor = start;
}

using ImageDecoder = GraphicDecode (*)(RomImage&, uint16_t, uint8_t*);

Decoding decodeOnImage(ImageDecoder decoder, const Bytes& image, uint32_t start, uint16_t unpackedSize) {
    RomImage rom;
    hold(rom, image, start);
    std::unique_ptr<uint8_t[]> out(new uint8_t[room(unpackedSize)]);
    const GraphicDecode result = decoder(rom, unpackedSize, out.get());
    const size_t produced = std::min<size_t>(result.producedLength, room(unpackedSize));
    return {Bytes(out.get(), out.get() + produced), result.packedLength, rom.cursor};
}

// Every way of decoding gives what the per-byte reference gives.
void expectSameAsReference(const Bytes& image, uint32_t start, uint16_t unpackedSize) {
    const Decoding reference = decodeOnImage(decompressGraphicPerByte, image, start, unpackedSize);
    ASSERT_EQ(reference.bytes.size(), room(unpackedSize));
    SCOPED_TRACE(testing::Message() << "image of " << image.size() << " bytes, start " << start << ", size "
                                    << unpackedSize);
    EXPECT_EQ(bufferDecode(decodeGraphic, image, start, unpackedSize, 0), reference);
    EXPECT_EQ(bufferDecode(decodeGraphic, image, start, unpackedSize, 16), reference);
    EXPECT_EQ(decodeOnImage(decompressGraphic, image, start, unpackedSize), reference);
}

Bytes randomBytes(std::mt19937& random, size_t length) {
    Bytes bytes(length);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    return bytes;
}

// Stream bytes enough for unpackedSize decoded bytes whatever the flags:
// ten per group.
size_t longestStream(uint16_t unpackedSize) { return (room(unpackedSize) + 7) / 8 * 10; }

// Groups with control bytes drawn from the given ones, fill and literals
// random, as many as unpackedSize needs.
Bytes streamOfControls(std::mt19937& random, const Bytes& controls, uint16_t unpackedSize) {
    Bytes stream;
    for (size_t produced = 0; produced < room(unpackedSize); produced += 8) {
        const uint8_t control = controls[random() % controls.size()];
        stream.push_back(control);
        stream.push_back(static_cast<uint8_t>(random()));
        for (int bit = 7; bit >= 0; --bit) {
            if ((control >> bit) & 1) stream.push_back(static_cast<uint8_t>(random()));
        }
    }
    return stream;
}

TEST(DecoderAgainstReference, RandomStreamsOfEverySizeUpTo1024) {
    std::mt19937 random(1);
    for (uint32_t size = 0; size <= 1024; ++size) {
        const uint16_t unpackedSize = static_cast<uint16_t>(size);
        // Long enough, then cut at a random length, sometimes inside the first group.
        expectSameAsReference(randomBytes(random, longestStream(unpackedSize)), 0, unpackedSize);
        expectSameAsReference(randomBytes(random, random() % (longestStream(unpackedSize) + 1)), 0, unpackedSize);
    }
}

TEST(DecoderAgainstReference, RandomStreamsOfLargeSizes) {
    std::mt19937 random(2);
    std::vector<uint16_t> sizes = {1025, 4095, 4096, 4097, 65527, 65528, 65529, 65535};
    while (sizes.size() < 80) sizes.push_back(static_cast<uint16_t>(1025 + random() % (65535 - 1025 + 1)));
    for (uint16_t unpackedSize : sizes) {
        expectSameAsReference(randomBytes(random, longestStream(unpackedSize)), 0, unpackedSize);
        expectSameAsReference(randomBytes(random, longestStream(unpackedSize) / 2), 0, unpackedSize);
    }
}

TEST(DecoderAgainstReference, EveryControlByteInEveryPlaceOfAGroup) {
    std::mt19937 random(3);
    for (unsigned control = 0; control < 256; ++control) {
        for (uint16_t unpackedSize = 1; unpackedSize <= 24; ++unpackedSize) {
            // The control byte opens the first, the second or the third group.
            for (uint16_t group = 0; group < 3; ++group) {
                Bytes image = group > 0 ? streamOfControls(random, {0x00, 0xFF, 0x5A}, 8 * group) : Bytes{};
                const Bytes opened = streamOfControls(random, {static_cast<uint8_t>(control)}, 8);
                const Bytes after = randomBytes(random, 32);
                image.insert(image.end(), opened.begin(), opened.end());
                image.insert(image.end(), after.begin(), after.end());
                expectSameAsReference(image, 0, unpackedSize);
            }
        }
    }
}

TEST(DecoderAgainstReference, StructuredStreams) {
    std::mt19937 random(4);
    const std::vector<Bytes> controlSets = {
        {0x00},                    // fill only
        {0xFF},                    // literals only
        {0x00, 0xFF},              // whole groups of either
        {0x80, 0x01, 0x7F, 0xFE},  // one odd flag
        {0x00, 0x00, 0x00, 0x10},  // mostly fill
    };
    for (const Bytes& controls : controlSets) {
        for (uint16_t unpackedSize : {0, 1, 7, 8, 9, 63, 64, 65, 1000, 8192, 65535}) {
            const Bytes stream = streamOfControls(random, controls, unpackedSize);
            expectSameAsReference(stream, 0, unpackedSize);
            // Asked for fewer bytes than the stream holds, and for more.
            expectSameAsReference(stream, 0, static_cast<uint16_t>(unpackedSize / 3));
            expectSameAsReference(stream, 0, static_cast<uint16_t>(std::min(65535, unpackedSize * 2 + 5)));
        }
    }
}

TEST(DecoderAgainstReference, StreamsMadeByTheEncoder) {
    std::mt19937 random(5);
    for (uint16_t unpackedSize : {1, 8, 100, 4096, 30000, 65535}) {
        Bytes mostlyFill(unpackedSize, 0x11), tiles(unpackedSize);
        const Bytes randomContent = randomBytes(random, unpackedSize);
        for (size_t i = 0; i < unpackedSize; ++i) {
            if (random() % 16 == 0) mostlyFill[i] = static_cast<uint8_t>(random());
            tiles[i] = (i / 16) % 3 == 0 ? static_cast<uint8_t>(random()) : static_cast<uint8_t>(i % 8);
        }
        for (const Bytes* content : std::vector<const Bytes*>{&mostlyFill, &randomContent, &tiles}) {
            const Bytes stream = compressGraphic(content->data(), content->size());
            expectSameAsReference(stream, 0, unpackedSize);
            EXPECT_EQ(bufferDecode(decodeGraphic, stream, 0, unpackedSize, 0).bytes, *content);
        }
    }
}

// The image ends inside the stream: the cursor starts a few bytes before
// its end, on it, or past it, and what lies beyond reads as 0.
TEST(DecoderAgainstReference, StreamsCutShortByTheEndOfTheImage) {
    std::mt19937 random(6);
    const std::vector<Bytes> controlSets = {{0x00}, {0xFF}, {0x00, 0xFF, 0x3C, 0xC3}};
    for (const Bytes& controls : controlSets) {
        for (uint16_t unpackedSize : {0, 1, 8, 9, 17, 100, 1000, 65535}) {
            Bytes image = randomBytes(random, 4096);
            const Bytes stream = streamOfControls(random, controls, 4096);
            for (uint32_t left = 0; left <= 80; ++left) {
                const uint32_t start = static_cast<uint32_t>(image.size()) - left;
                std::copy(stream.begin(), stream.begin() + left, image.begin() + start);
                expectSameAsReference(image, start, unpackedSize);
            }
            expectSameAsReference(image, static_cast<uint32_t>(image.size()) + 7, unpackedSize);
        }
    }
}

TEST(DecoderAgainstReference, AStreamInTheMiddleOfAnImageLeavesTheCursorAfterIt) {
    std::mt19937 random(7);
    for (uint16_t unpackedSize : {16, 4000, 65528}) {  // whole groups: every stream byte is read
        Bytes image = randomBytes(random, 200000);
        const Bytes stream = streamOfControls(random, {0x00, 0x81, 0xFF}, unpackedSize);
        const uint32_t start = 12345;
        std::copy(stream.begin(), stream.end(), image.begin() + start);
        expectSameAsReference(image, start, unpackedSize);
        EXPECT_EQ(bufferDecode(decodeGraphic, image, start, unpackedSize, 0).cursor, start + stream.size());
    }
}

}  // namespace
