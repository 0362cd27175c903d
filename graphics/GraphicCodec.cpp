#include "graphics/GraphicCodec.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr int GROUP_FLAGS = 8;
// A group's control byte and fill byte, then up to one literal per flag.
constexpr size_t GROUP_HEADER = 2;
constexpr size_t LONGEST_GROUP = GROUP_HEADER + GROUP_FLAGS;

// Eight bytes as one word and back, with plain copies: byte i in bits 8i
// to 8i+7 on a little-endian machine, which every target of the project
// is.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the codec's words are little-endian");

uint64_t loadWord(const uint8_t* bytes) {
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

void storeWord(uint8_t* bytes, uint64_t word) { std::memcpy(bytes, &word, sizeof word); }

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
    uint64_t bytes = loadWord(group + GROUP_HEADER);
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
            storeWord(out, expandGroup(stream + at));
            out += GROUP_FLAGS;
            at = next[at];
        }
        stream += at;
    }
    streamAt = stream;
    outAt = out;
}

// Encoding, eight bytes at a time.

constexpr uint64_t EACH_BYTE = 0x0101010101010101u;
constexpr uint64_t HIGH_BITS = 0x8080808080808080u;
constexpr uint64_t LOW_SEVEN_BITS = 0x7F7F7F7F7F7F7F7Fu;

// Bit 7 of byte i set when byte i of x is not zero (exact: no carry
// crosses a byte).
uint64_t nonZeroBytes(uint64_t x) {
    return (((x & LOW_SEVEN_BITS) + LOW_SEVEN_BITS) | x) & HIGH_BITS;
}

uint64_t rotateBytes(uint64_t word, int bytes) {
    return (word >> (8 * bytes)) | (word << (64 - 8 * bytes));
}

// How many bytes have bit 7 set in a word of such bits alone.
unsigned countMarked(uint64_t highBits) {
    return static_cast<unsigned>(((highBits >> 7) * EACH_BYTE) >> 56);
}

// The control byte of a group whose literals are marked by bit 7 of their
// bytes: flag 7 - i for byte i. One multiplication gathers the eight marks
// into the top byte, byte 0 highest, with no two partial products meeting.
uint8_t controlOf(uint64_t literals) {
    return static_cast<uint8_t>(((literals >> 7) * 0x8040201008040201u) >> 56);
}

// The fill byte the encoder chooses for eight bytes: scanning them in
// order and counting each value, the first value whose count rises above
// every count before it, that is the first to reach the highest count.
uint8_t fillOf(const uint8_t* group, size_t count) {
    uint8_t fill = group[0];
    size_t highest = 0;
    for (size_t i = 0; i < count; ++i) {
        size_t seen = 1;
        for (size_t j = 0; j < i; ++j) seen += group[j] == group[i];
        if (seen > highest) {
            highest = seen;
            fill = group[i];
        }
    }
    return fill;
}

// True when some byte of x is zero (exact as a whole; which byte is not
// told).
bool hasZeroByte(uint64_t x) {
    return ((x - EACH_BYTE) & ~x & HIGH_BITS) != 0;
}

// The fill of a whole group and its literals (bit 7 of each byte that is
// not the fill), with the common cases first: a value that fills five or
// more of the eight bytes is the only one with the highest count; eight
// different values leave the first as the fill.
uint8_t fillOfWord(uint64_t word, const uint8_t* group, uint64_t& literals) {
    const uint8_t first = static_cast<uint8_t>(word);
    literals = nonZeroBytes(word ^ (first * EACH_BYTE));
    if (countMarked(literals) <= 3) return first;
    const bool repeats = hasZeroByte(word ^ rotateBytes(word, 1)) || hasZeroByte(word ^ rotateBytes(word, 2)) ||
                         hasZeroByte(word ^ rotateBytes(word, 3)) || hasZeroByte(word ^ rotateBytes(word, 4));
    if (!repeats) return first;
    const uint8_t fill = countMarked(nonZeroBytes(word ^ (uint8_t(word >> 8) * EACH_BYTE))) <= 3
                             ? static_cast<uint8_t>(word >> 8)
                             : fillOf(group, GROUP_FLAGS);
    literals = nonZeroBytes(word ^ (fill * EACH_BYTE));
    return fill;
}

// How a control byte gathers the group's literals to its first bytes, as
// masks over words whose byte i is the group's byte i: the j-th literal,
// byte t(j) >= j, moves down by t(j) - j in steps of 1, 2 and 4 (the
// decoder's steps undone in reverse order); no two literals ever meet, and
// what is not a literal is dropped by the first step.
struct alignas(64) GroupGathering {
    uint64_t stayBy1, moveBy1;
    uint64_t stayBy2, moveBy2;
    uint64_t stayBy4, moveBy4;
};

constexpr std::array<GroupGathering, 256> makeGroupGatherings() {
    std::array<GroupGathering, 256> gatherings{};
    for (unsigned control = 0; control < gatherings.size(); ++control) {
        GroupGathering& g = gatherings[control];
        int literal = 0;
        for (int i = 0; i < GROUP_FLAGS; ++i) {
            if (((control >> (GROUP_FLAGS - 1 - i)) & 1) == 0) continue;
            const int move = i - literal;
            ((move & 1) ? g.moveBy1 : g.stayBy1) |= byteMask(i);
            const int afterFirst = i - (move & 1);
            ((move & 2) ? g.moveBy2 : g.stayBy2) |= byteMask(afterFirst);
            const int afterSecond = afterFirst - (move & 2);
            ((move & 4) ? g.moveBy4 : g.stayBy4) |= byteMask(afterSecond);
            ++literal;
        }
    }
    return gatherings;
}

constexpr std::array<GroupGathering, 256> GROUP_GATHERINGS = makeGroupGatherings();

// The group's literals, in order, in the first bytes of the word.
uint64_t gatherLiterals(uint64_t word, uint8_t control) {
    const GroupGathering& g = GROUP_GATHERINGS[control];
    word = (word & g.stayBy1) | ((word & g.moveBy1) >> 8);
    word = (word & g.stayBy2) | ((word & g.moveBy2) >> 16);
    return (word & g.stayBy4) | ((word & g.moveBy4) >> 32);
}

// One group of count bytes (1 to 8) the plain way; returns the bytes
// written.
size_t encodeGroup(const uint8_t* group, size_t count, uint8_t* out) {
    const uint8_t fill = fillOf(group, count);
    uint8_t control = 0;
    size_t written = 2;
    for (size_t i = 0; i < count; ++i) {
        if (group[i] != fill) {
            control |= uint8_t(0x80 >> i);
            out[written++] = group[i];
        }
    }
    out[0] = control;
    out[1] = fill;
    return written;
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

size_t compressedBound(size_t length) {
    return length + GROUP_HEADER * ((length + GROUP_FLAGS - 1) / GROUP_FLAGS) + GROUP_FLAGS;
}

size_t compressGraphicInto(const uint8_t* bytes, size_t length, uint8_t* out) {
    uint8_t* const start = out;
    size_t at = 0;
    // Whole groups write eight literal bytes whatever their count: the
    // bound leaves room for the last one's.
    for (; length - at >= GROUP_FLAGS; at += GROUP_FLAGS) {
        const uint64_t word = loadWord(bytes + at);
        uint64_t literals;
        const uint8_t fill = fillOfWord(word, bytes + at, literals);
        const uint8_t control = controlOf(literals);
        out[0] = control;
        out[1] = fill;
        storeWord(out + GROUP_HEADER, gatherLiterals(word, control));
        out += GROUP_HEADER + countMarked(literals);
    }
    if (at < length) out += encodeGroup(bytes + at, length - at, out);
    return static_cast<size_t>(out - start);
}

std::vector<uint8_t> compressGraphic(const uint8_t* bytes, size_t length) {
    std::vector<uint8_t> stream(compressedBound(length));
    stream.resize(compressGraphicInto(bytes, length, stream.data()));
    return stream;
}

std::vector<uint8_t> compressGraphicReference(const uint8_t* bytes, size_t length) {
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
