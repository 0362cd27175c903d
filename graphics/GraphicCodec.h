// The fill-byte/bitmask graphics codec, over byte buffers.
//
// A stream is a run of groups: a control byte (eight flags, bit 7 first;
// 1 = literal, 0 = fill), a fill byte, then one literal byte per 1 flag
// used. Decoding stops as soon as the decoded size is reached, even inside
// a group, and always produces at least one byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct GraphicDecode {
    uint32_t producedLength;  // bytes stored: unpackedSize, or 1 when it is 0
    uint32_t packedLength;    // stream bytes consumed
};

// Decodes unpackedSize bytes (at least one) into out, which holds at least
// max(unpackedSize, 1) bytes. Stream bytes at or past streamLength read as
// 0 and still count in packedLength, exactly as the image reader treats
// bytes past the end of the image, so a caller sees a stream cut short as
// packedLength > streamLength.
GraphicDecode decodeGraphic(const uint8_t* stream, size_t streamLength,
                            uint16_t unpackedSize, uint8_t* out);

// The shortest stream that decodeGraphic turns back into bytes[0, length):
// per group of eight, the most frequent byte is the fill (of several, the
// first to reach that count) and every other byte a literal. An empty
// input gives an empty stream.
std::vector<uint8_t> compressGraphic(const uint8_t* bytes, size_t length);

// The same stream into out, which holds at least compressedBound(length)
// bytes (a few more than the longest stream: the encoder writes whole
// words); returns the stream's length.
size_t compressGraphicInto(const uint8_t* bytes, size_t length, uint8_t* out);
size_t compressedBound(size_t length);

// The same stream, one byte at a time with a table of counts per group:
// the reference for compressGraphic.
std::vector<uint8_t> compressGraphicReference(const uint8_t* bytes, size_t length);
