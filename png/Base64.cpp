#include "png/Base64.h"

namespace {

constexpr char ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string base64(const uint8_t* bytes, size_t length) {
    std::string text;
    text.reserve((length + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= length; i += 3) {
        const uint32_t group = uint32_t(bytes[i]) << 16 | uint32_t(bytes[i + 1]) << 8 | bytes[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6) text += ALPHABET[(group >> shift) & 0x3F];
    }
    const size_t left = length - i;
    if (left > 0) {
        const uint32_t group = uint32_t(bytes[i]) << 16 | (left == 2 ? uint32_t(bytes[i + 1]) << 8 : 0);
        text += ALPHABET[(group >> 18) & 0x3F];
        text += ALPHABET[(group >> 12) & 0x3F];
        text += left == 2 ? ALPHABET[(group >> 6) & 0x3F] : '=';
        text += '=';
    }
    return text;
}
