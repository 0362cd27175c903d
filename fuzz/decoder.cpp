// The graphics decoder alone, over arbitrary streams and sizes.
//
// Input: the decoded size (1 byte for 0 to 254; 0xFF and 2 more bytes for
// any size: small sizes keep most runs fast, every size stays reachable),
// a start position in the stream (2 bytes), then the stream. Every decoding writes into a buffer of
// exactly the size the contract asks for, so that a byte too many is
// caught by AddressSanitizer. Up to 4096 bytes, the buffer decoder must
// also agree with the per-byte reference, and the encoder's stream must
// decode back.
#include "fuzz/FuzzSupport.h"
#include "rom/RomImage.h"
#include "graphics/Decompress.h"
#include "graphics/GraphicCodec.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr uint32_t GROUP_FLAGS = 8;
constexpr uint32_t CROSS_CHECKED_SIZE = 4096;

std::unique_ptr<uint8_t[]> bufferFor(uint32_t length) {
    return std::unique_ptr<uint8_t[]>(new uint8_t[length]);
}

// What any stream must give: the size asked for (at least one byte), from
// two bytes per group begun plus at most one literal per byte produced.
void checkLengths(const GraphicDecode& decoded, uint16_t unpackedSize) {
    const uint32_t produced = std::max<uint32_t>(unpackedSize, 1);
    const uint32_t groups = (produced + GROUP_FLAGS - 1) / GROUP_FLAGS;
    FUZZ_CHECK(decoded.producedLength == produced);
    FUZZ_CHECK(decoded.packedLength >= 2 * groups);
    FUZZ_CHECK(decoded.packedLength <= 2 * groups + produced);
}

// The per-byte reference over an image holding the stream, from start.
GraphicDecode reference(RomImage& image, uint32_t start, uint16_t unpackedSize, uint8_t* out) {
    image.cursor = start;
    const GraphicDecode decoded = decompressGraphicPerByte(image, unpackedSize, out);
    FUZZ_CHECK(image.cursor == start + decoded.packedLength);
    return decoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    constexpr uint8_t WIDE_SIZE = 0xFF;
    uint16_t unpackedSize = input.byte();
    if (unpackedSize == WIDE_SIZE) unpackedSize = input.word();
    const uint16_t startChoice = input.word();
    const std::vector<uint8_t> stream = input.rest();
    const uint32_t produced = std::max<uint32_t>(unpackedSize, 1);

    // The pure decoder, over a heap copy of exactly the stream's length.
    std::unique_ptr<uint8_t[]> streamCopy = bufferFor(static_cast<uint32_t>(stream.size()));
    if (!stream.empty()) std::memcpy(streamCopy.get(), stream.data(), stream.size());
    std::unique_ptr<uint8_t[]> out = bufferFor(produced);
    const GraphicDecode decoded = decodeGraphic(streamCopy.get(), stream.size(), unpackedSize, out.get());
    checkLengths(decoded, unpackedSize);

    // Above a few kilobytes the cross-checks cost far more than they find
    // (every rule of the codec shows within a few groups): the decoder
    // alone still writes into a buffer of exactly the size.
    if (produced > CROSS_CHECKED_SIZE) return 0;

    // The same stream as a ROM image: the per-byte reference from its
    // first byte, and the image decoder from a chosen start (inside the
    // image, at its end, or past it).
    RomImage image;
    image.size = static_cast<int32_t>(stream.size());
    image.data = bufferFor(static_cast<uint32_t>(stream.size()));
    if (!stream.empty()) std::memcpy(image.data.get(), stream.data(), stream.size());

    std::unique_ptr<uint8_t[]> expected = bufferFor(produced);
    const GraphicDecode byReference = reference(image, 0, unpackedSize, expected.get());
    FUZZ_CHECK(byReference.producedLength == decoded.producedLength);
    FUZZ_CHECK(byReference.packedLength == decoded.packedLength);
    FUZZ_CHECK(std::memcmp(out.get(), expected.get(), produced) == 0);

    const uint32_t start = startChoice % (static_cast<uint32_t>(stream.size()) + 2);
    std::unique_ptr<uint8_t[]> fromImage = bufferFor(produced);
    image.cursor = start;
    const GraphicDecode imageDecoded = decompressGraphic(image, unpackedSize, fromImage.get());
    FUZZ_CHECK(image.cursor == start + imageDecoded.packedLength);
    checkLengths(imageDecoded, unpackedSize);
    const GraphicDecode imageReference = reference(image, start, unpackedSize, expected.get());
    FUZZ_CHECK(imageReference.packedLength == imageDecoded.packedLength);
    FUZZ_CHECK(std::memcmp(fromImage.get(), expected.get(), produced) == 0);

    // The encoder's stream for the decoded bytes decodes back to them, is
    // read to its last byte, and is never longer than the stream given.
    const std::vector<uint8_t> packed = compressGraphic(out.get(), produced);
    std::unique_ptr<uint8_t[]> packedCopy = bufferFor(static_cast<uint32_t>(packed.size()));
    std::memcpy(packedCopy.get(), packed.data(), packed.size());
    std::unique_ptr<uint8_t[]> roundTrip = bufferFor(produced);
    const GraphicDecode again =
        decodeGraphic(packedCopy.get(), packed.size(), static_cast<uint16_t>(produced), roundTrip.get());
    FUZZ_CHECK(again.packedLength == packed.size());
    FUZZ_CHECK(packed.size() <= decoded.packedLength);
    FUZZ_CHECK(std::memcmp(roundTrip.get(), out.get(), produced) == 0);
    return 0;
}
