#include "graphics/GraphicCodec.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr int GROUP_FLAGS = 8;
// A group's control byte and fill byte, then up to one literal per flag.
constexpr size_t GROUP_HEADER = 2;
constexpr size_t LONGEST_GROUP = GROUP_HEADER + GROUP_FLAGS;

// Eight bytes as one word and back, byte i in bits 8i to 8i+7 on any byte
// order (compilers make each a single load or store where they can).
uint64_t loadBytes(const uint8_t* bytes) {
    uint64_t word = 0;
    for (int i = 0; i < 8; ++i) word |= uint64_t{bytes[i]} << (8 * i);
    return word;
}

void storeBytes(uint8_t* bytes, uint64_t word) {
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(word >> (8 * i));
}

constexpr uint64_t byteMask(int i) { return uint64_t{0xFF} << (8 * i); }

// How a control byte turns the eight stream bytes after the fill byte into
// the group's decoded bytes, as masks over words whose byte i is decoded
// byte i (flag 7 - i). The j-th literal is decoded byte t(j) >= j and
// moves up by t(j) - j, which never falls as j grows; it moves by 4, then
// 2, then 1 positions in three steps, and no literal ever lands on one
// that stays, so each step is a shift and two masks. Stream bytes past the
// group's literals are dropped by the first step.
struct alignas(64) GroupExpansion {
    uint64_t stayBy4, moveBy4;  // literals only: what stays, what moves up 4
    uint64_t stayBy2, moveBy2;
    uint64_t stayBy1, moveBy1;
    uint64_t fill;              // decoded bytes that take the fill byte
};

constexpr std::array<GroupExpansion, 256> makeGroupExpansions() {
    std::array<GroupExpansion, 256> expansions{};
    for (unsigned control = 0; control < expansions.size(); ++control) {
        GroupExpansion& e = expansions[control];
        int literal = 0;
        for (int i = 0; i < GROUP_FLAGS; ++i) {
            if (((control >> (GROUP_FLAGS - 1 - i)) & 1) == 0) {
                e.fill |= byteMask(i);
                continue;
            }
            const int move = i - literal;
            ((move & 4) ? e.moveBy4 : e.stayBy4) |= byteMask(literal);
            if (move & 2) e.moveBy2 |= byteMask(literal + (move & 4));
            if (move & 1) e.moveBy1 |= byteMask(literal + (move & 6));
            ++literal;
        }
        e.stayBy2 = ~e.moveBy2;
        e.stayBy1 = ~e.moveBy1;
    }
    return expansions;
}

constexpr std::array<GroupExpansion, 256> GROUP_EXPANSIONS = makeGroupExpansions();

// The eight decoded bytes of a whole group.
uint64_t expandGroup(const uint8_t* group) {
    const GroupExpansion& e = GROUP_EXPANSIONS[group[0]];
    const uint64_t fill = group[1] * uint64_t{0x0101010101010101u};
    uint64_t bytes = loadBytes(group + GROUP_HEADER);
    bytes = (bytes & e.stayBy4) | ((bytes & e.moveBy4) << 32);
    bytes = (bytes & e.stayBy2) | ((bytes & e.moveBy2) << 16);
    bytes = (bytes & e.stayBy1) | ((bytes & e.moveBy1) << 8);
    return bytes | (fill & e.fill);
}

// Stream positions, from the start of a chunk, whose next group start is
// worked out in one go: few enough that every next start fits in a byte.
constexpr size_t CHUNK = 240;
static_assert(CHUNK % 8 == 0 && CHUNK - 1 + LONGEST_GROUP <= 0xFF, "next group starts are bytes");

// For the eight stream positions at..at+7 of a chunk, where the next group
// would begin if a group began there: the position plus 2 plus the number
// of 1 bits of the byte there. Each byte is worked on its own and stays
// below 256, so the word's byte order does not matter. Working out where
// groups begin ahead of decoding them leaves a single load between one
// group and the next.
uint64_t nextGroupStarts(uint64_t controls, size_t at) {
    controls -= (controls >> 1) & 0x5555555555555555u;
    controls = (controls & 0x3333333333333333u) + ((controls >> 2) & 0x3333333333333333u);
    controls = (controls + (controls >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    uint64_t positions;
    const uint8_t offsets[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    std::memcpy(&positions, offsets, sizeof positions);
    return controls + positions + 0x0101010101010101u * (GROUP_HEADER + at);
}

// Decodes whole groups while the longest group still lies inside the
// stream and eight more bytes are still wanted, so that nothing is read
// past the stream nor written past the size and every flag is used.
// Advances stream and out past what it decoded.
void decodeWholeGroups(const uint8_t*& streamAt, const uint8_t* streamEnd, uint8_t*& outAt, uint8_t* outEnd) {
    // Locals, which stores through out cannot be taken to change.
    const uint8_t* stream = streamAt;
    uint8_t* out = outAt;
    if (streamEnd - stream < static_cast<std::ptrdiff_t>(LONGEST_GROUP)) return;
    if (outEnd - out < GROUP_FLAGS) return;
    const uint8_t* const lastGroupStart = streamEnd - LONGEST_GROUP;
    uint8_t* const lastGroupOut = outEnd - GROUP_FLAGS;
    uint8_t next[CHUNK];
    while (stream <= lastGroupStart && out <= lastGroupOut) {
        // Group starts of this chunk: at most CHUNK positions, all at or
        // before lastGroupStart, so every word read ends inside the stream.
        const size_t starts = std::min<size_t>(CHUNK, static_cast<size_t>(lastGroupStart - stream) + 1);
        for (size_t at = 0; at < starts; at += 8) {
            uint64_t word;
            std::memcpy(&word, stream + at, sizeof word);
            word = nextGroupStarts(word, at);
            std::memcpy(next + at, &word, sizeof word);
        }

        size_t at = 0;
        while (at < starts && out <= lastGroupOut) {
            storeBytes(out, expandGroup(stream + at));
            out += GROUP_FLAGS;
            at = next[at];
        }
        stream += at;
    }
    streamAt = stream;
    outAt = out;
}

}  // namespace

GraphicDecode decodeGraphic(const uint8_t* stream, size_t streamLength, uint16_t unpackedSize, uint8_t* out) {
    const uint32_t target = std::max<uint32_t>(unpackedSize, 1);

    const uint8_t* groups = stream;
    uint8_t* decoded = out;
    decodeWholeGroups(groups, stream + streamLength, decoded, out + target);
    uint32_t produced = static_cast<uint32_t>(decoded - out);
    size_t consumed = static_cast<size_t>(groups - stream);

    // The rest one flag at a time: the last groups before the end of the
    // stream, where bytes past it read as 0, and a last group cut short by
    // the size. Whole groups stop on a group boundary, so produced < target
    // means a group is still to begin.
    auto nextByte = [&]() -> uint8_t {
        const uint8_t value = consumed < streamLength ? stream[consumed] : 0;
        ++consumed;
        return value;
    };
    while (produced < target) {
        const uint8_t control = nextByte();
        const uint8_t fill = nextByte();
        for (int bit = GROUP_FLAGS - 1; bit >= 0 && produced < target; --bit) {
            out[produced++] = (control >> bit) & 1 ? nextByte() : fill;
        }
    }
    return {produced, static_cast<uint32_t>(consumed)};
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
