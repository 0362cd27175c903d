#include "tool/GraphicCodec.h"

#include <algorithm>
#include <array>

namespace {

constexpr int GROUP_FLAGS = 8;

}  // namespace

GraphicDecode decodeGraphic(const uint8_t* stream, size_t streamLength,
                            uint16_t unpackedSize, uint8_t* out) {
    size_t consumed = 0;
    auto next = [&]() -> uint8_t {
        const uint8_t value = consumed < streamLength ? stream[consumed] : 0;
        ++consumed;
        return value;
    };

    uint32_t produced = 0;
    for (;;) {
        const uint8_t control = next();
        const uint8_t fill = next();
        for (int bit = GROUP_FLAGS - 1; bit >= 0; --bit) {
            out[produced++] = (control >> bit) & 1 ? next() : fill;
            if (produced >= unpackedSize) {
                return {produced, static_cast<uint32_t>(consumed)};
            }
        }
    }
}

std::vector<uint8_t> compressGraphic(const uint8_t* bytes, size_t length) {
    std::vector<uint8_t> stream;
    stream.reserve(length + 2 * (length / GROUP_FLAGS + 1));
    for (size_t start = 0; start < length; start += GROUP_FLAGS) {
        const size_t count = std::min<size_t>(GROUP_FLAGS, length - start);
        const uint8_t* group = bytes + start;

        std::array<uint8_t, 256> frequency{};
        uint8_t fill = group[0];
        for (size_t i = 0; i < count; ++i) {
            if (++frequency[group[i]] > frequency[fill]) fill = group[i];
        }

        uint8_t control = 0;
        for (size_t i = 0; i < count; ++i) {
            if (group[i] != fill) control |= uint8_t(0x80 >> i);
        }
        stream.push_back(control);
        stream.push_back(fill);
        for (size_t i = 0; i < count; ++i) {
            if (group[i] != fill) stream.push_back(group[i]);
        }
    }
    return stream;
}
