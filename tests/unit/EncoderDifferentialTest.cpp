// The word-at-a-time encoder against the reference that counts each group
// in a table: the same stream, byte for byte, on every group of eight
// over small alphabets (every way ties between fill candidates can fall),
// on tails of one to seven bytes, and on long graphics of the kinds games
// hold; and every stream decodes back.
#include "graphics/GraphicCodec.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

void expectSameStream(const Bytes& bytes) {
    const Bytes fast = compressGraphic(bytes.data(), bytes.size());
    const Bytes reference = compressGraphicReference(bytes.data(), bytes.size());
    ASSERT_EQ(fast, reference) << bytes.size() << " bytes";
    if (bytes.empty()) return;  // nothing to decode: a graphic is at least one byte
    Bytes out(bytes.size());
    const GraphicDecode decoded = decodeGraphic(fast.data(), fast.size(), static_cast<uint16_t>(bytes.size()), out.data());
    EXPECT_EQ(decoded.packedLength, fast.size());
    EXPECT_EQ(out, bytes);
}

// Every group of eight over an alphabet of `letters` values, back to back;
// the letters are spread so that they differ in every bit position.
void everyGroupOver(int letters) {
    const uint8_t alphabet[] = {0x00, 0xFF, 0x80, 0x01, 0x7F};
    Bytes bytes;
    int groups = 1;
    for (int i = 0; i < 8; ++i) groups *= letters;
    for (int group = 0; group < groups; ++group) {
        int code = group;
        for (int i = 0; i < 8; ++i, code /= letters) bytes.push_back(alphabet[code % letters]);
        if (bytes.size() >= 60000) {
            expectSameStream(bytes);
            bytes.clear();
        }
    }
    expectSameStream(bytes);
}

TEST(EncoderDifferential, EveryGroupOverTwoThreeAndFourValuesAndEveryLengthUpToTwoGroups) {
    for (int letters : {2, 3, 4}) everyGroupOver(letters);
    std::mt19937 random(11);
    for (size_t length = 0; length <= 17; ++length) {
        for (int round = 0; round < 200; ++round) {
            Bytes bytes(length);
            for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random() % 3);
            expectSameStream(bytes);
        }
    }
}

TEST(EncoderDifferential, LongGraphicsOfEveryKind) {
    std::mt19937 random(5);
    for (int kind = 0; kind < 5; ++kind) {
        Bytes bytes(65535);
        for (size_t i = 0; i < bytes.size(); ++i) {
            const uint8_t noise = static_cast<uint8_t>(random());
            switch (kind) {
                case 0: bytes[i] = random() % 16 == 0 ? noise : 0x3C; break;
                case 1: bytes[i] = noise; break;
                case 2: bytes[i] = i < bytes.size() / 2 ? 0x3C : noise; break;
                case 3: bytes[i] = static_cast<uint8_t>(noise % 4); break;
                default: bytes[i] = (i % 8 < 5) ? 0x3C : noise; break;
            }
        }
        expectSameStream(bytes);
    }
}

}  // namespace
