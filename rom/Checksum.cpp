#include "rom/Checksum.h"

#include <cstring>

namespace {

// Sum of the bytes, in 64-bit words: each word adds its bytes into four
// 16-bit lanes, which hold 128 words before they can overflow.
uint64_t sumBytes(const uint8_t* bytes, size_t length) {
    constexpr uint64_t EVEN_BYTES = 0x00FF00FF00FF00FFu;
    constexpr size_t WORDS_PER_FLUSH = 128;
    uint64_t total = 0;
    size_t at = 0;
    while (length - at >= 8) {
        uint64_t lanes = 0;
        for (size_t word = 0; word < WORDS_PER_FLUSH && length - at >= 8; ++word, at += 8) {
            uint64_t w;
            std::memcpy(&w, bytes + at, sizeof w);
            lanes += (w & EVEN_BYTES) + ((w >> 8) & EVEN_BYTES);
        }
        for (int lane = 0; lane < 4; ++lane) total += (lanes >> (16 * lane)) & 0xFFFF;
    }
    for (; at < length; ++at) total += bytes[at];
    return total;
}

}  // namespace

uint16_t romChecksum(const uint8_t* romData, size_t size) {
    if (size == 0) return 0;
    size_t powerPart = 1;
    while (powerPart <= size / 2) powerPart *= 2;
    uint64_t sum = sumBytes(romData, powerPart);
    const size_t rest = size - powerPart;
    if (rest > 0) {
        const uint8_t* restBytes = romData + powerPart;
        sum += (powerPart / rest) * sumBytes(restBytes, rest) + sumBytes(restBytes, powerPart % rest);
    }
    return static_cast<uint16_t>(sum);
}
