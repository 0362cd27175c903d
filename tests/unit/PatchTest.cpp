// IPS and BPS patches: made and applied back to the modified image for
// pairs that call for every action and record kind; patches written here
// byte by byte from the formats' definitions, read back; malformed patches
// refused at the byte at fault; the copier header rule; the format a path
// names.
#include "patch/Patch.h"
#include "rom/HeaderLayout.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

namespace {

using Bytes = std::vector<uint8_t>;
using O = PatchOutcome;

constexpr size_t KIB = 1024;
constexpr size_t MIB = 1024 * KIB;
constexpr size_t EOF_OFFSET = 0x454F46;

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

uint32_t zlibCrc(const Bytes& bytes) {
    return static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size())));
}

Bytes little32(uint32_t v) {
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

// A BPS patch around body (sizes, metadata, actions as bytes): the CRC32s
// of source and target, and the patch's own.
Bytes bpsPatch(const Bytes& body, const Bytes& source, const Bytes& target) {
    Bytes patch = text("BPS1") + body + little32(zlibCrc(source)) + little32(zlibCrc(target));
    return patch + little32(zlibCrc(patch));
}

// The kinds of the actions of a BPS patch, read here from the definition
// (numbers: 7-bit groups, high bit on the last, one added per further
// group).
std::array<int, 4> bpsActionCounts(const Bytes& patch) {
    size_t at = 4;
    const size_t end = patch.size() - 12;
    const auto number = [&] {
        uint64_t value = 0, shift = 1;
        for (;;) {
            const uint8_t byte = patch.at(at++);
            value += (byte & 0x7F) * shift;
            if (byte & 0x80) return value;
            shift <<= 7;
            value += shift;
        }
    };
    number();
    number();
    at += number();
    std::array<int, 4> counts{};
    while (at < end) {
        const uint64_t action = number();
        ++counts[action & 3];
        if ((action & 3) == 1) at += (action >> 2) + 1;
        if ((action & 3) >= 2) number();
    }
    EXPECT_EQ(at, end);
    return counts;
}

struct IpsRecord {
    size_t offset, length;
    bool run;
};

// The records of an IPS patch, read here from the definition.
std::vector<IpsRecord> ipsRecords(const Bytes& patch) {
    std::vector<IpsRecord> records;
    size_t at = 5;
    while (std::memcmp(patch.data() + at, "EOF", 3) != 0) {
        const size_t offset = size_t(patch[at]) << 16 | size_t(patch[at + 1]) << 8 | patch[at + 2];
        size_t length = size_t(patch[at + 3]) << 8 | patch[at + 4];
        const bool run = length == 0;
        if (run) length = size_t(patch[at + 5]) << 8 | patch[at + 6];
        records.push_back({offset, length, run});
        at += run ? 8 : 5 + length;
    }
    return records;
}

Bytes pattern(size_t length, uint8_t step) {
    Bytes bytes(length);
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(i * step + (i >> 8));
    return bytes;
}

void place(Bytes& image, size_t at, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
}

struct Pair {
    const char* name;
    Bytes original, modified;
};

std::vector<Pair> pairs() {
    std::vector<Pair> list;
    const Bytes base = pattern(256 * KIB, 7);
    list.push_back({"identical files", base, base});
    list.push_back({"empty to empty", {}, {}});
    list.push_back({"empty to something", {}, noiseBytes(3000, 1)});
    list.push_back({"something to empty", base, {}});
    {
        Bytes m = base;
        for (size_t at : {10u, 11u, 5000u, 70000u, 262143u}) m[at] ^= 0x5A;
        list.push_back({"bytes changed in place", base, m});
    }
    {
        Bytes o = base, m = base;
        const Bytes block = noiseBytes(20 * KIB, 2);
        place(o, 8 * KIB, block);
        place(m, 100 * KIB, block);
        list.push_back({"a graphic moved", o, m});
    }
    {
        Bytes m = base;
        const Bytes block = noiseBytes(9 * KIB, 3);
        place(m, 40 * KIB, block);
        place(m, 80 * KIB, block);
        place(m, 120 * KIB, block);
        list.push_back({"a new block repeated", base, m});
    }
    {
        Bytes m = base;
        std::fill(m.begin() + 1000, m.begin() + 200000, uint8_t{0xFF});
        list.push_back({"a long run past 65535 bytes", base, m});
    }
    {
        Bytes m = base + noiseBytes(100 * KIB, 4) + Bytes(70000, 0);
        list.push_back({"grown, the new tail ending in zeros", base, m});
    }
    list.push_back({"grown by zeros only", base, base + Bytes(5, 0)});
    {
        Bytes m(base.begin(), base.begin() + 100 * KIB);
        m[5] = 0;
        list.push_back({"cut short with a change", base, m});
    }
    list.push_back({"cut short, a strict prefix", base, Bytes(base.begin(), base.begin() + 1000)});
    {
        Bytes o = pattern(5 * MIB, 3), m = o;
        m[EOF_OFFSET] ^= 1;                        // a record there starts a byte earlier
        std::fill(m.begin() + 0x454000, m.begin() + 0x454F46, uint8_t{0x22});
        std::fill(m.begin() + 0x460000, m.begin() + 0x470000, uint8_t{0x33});
        m[0x470000] ^= 1;
        list.push_back({"changes at 0x454F46, a run ending there", o, m});
    }
    {
        Bytes o = pattern(5 * MIB, 3), m = o;
        std::fill(m.begin() + EOF_OFFSET, m.begin() + EOF_OFFSET + 40, uint8_t{0x44});
        list.push_back({"a run starting at 0x454F46", o, m});
    }
    {
        Bytes o = pattern(5 * MIB, 3), m = o;
        // Literal records split at 65535 bytes, the sixth one at 0x454F46.
        for (size_t i = EOF_OFFSET - 5 * 65535; i < EOF_OFFSET + 2 * 65535; ++i) m[i] ^= 0xFF;
        list.push_back({"a long change across 0x454F46", o, m});
    }
    return list;
}

// The CRC32 of patches against zlib's on random buffers of every length
// up to a few vector widths and some far longer, at every alignment.
TEST(PatchCrc, AgreesWithZlibOnRandomBuffers) {
    uint64_t state = 0x2545F4914F6CDD1Dull;
    const auto next = [&] {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        return state;
    };
    Bytes buffer(300 * KIB);
    for (uint8_t& byte : buffer) byte = static_cast<uint8_t>(next() >> 32);
    std::vector<size_t> lengths;
    for (size_t length = 0; length <= 300; ++length) lengths.push_back(length);
    for (int k = 0; k < 40; ++k) lengths.push_back(next() % (buffer.size() - 64));
    for (const size_t length : lengths) {
        const size_t start = next() % 64;
        const Bytes piece(buffer.begin() + static_cast<std::ptrdiff_t>(start),
                          buffer.begin() + static_cast<std::ptrdiff_t>(start + length));
        ASSERT_EQ(crc32Of(buffer.data() + start, length), zlibCrc(piece)) << length << " bytes from " << start;
    }
}

TEST(PatchRoundTrip, EveryPairComesBackByteForByteInBothFormats) {
    for (const Pair& pair : pairs()) {
        for (PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
            SCOPED_TRACE(std::string(pair.name) + (format == PatchFormat::Ips ? " (IPS)" : " (BPS)"));
            Bytes patch, result;
            ASSERT_EQ(createPatch(format, pair.original.data(), pair.original.size(), pair.modified.data(),
                                  pair.modified.size(), patch),
                      O::Done);
            const PatchResult applied =
                applyPatch(format, patch.data(), patch.size(), pair.original.data(), pair.original.size(), result);
            ASSERT_EQ(applied.outcome, O::Done);
            EXPECT_EQ(applied.copierHeader, CopierHeader::AsGiven);
            EXPECT_TRUE(result == pair.modified);
            if (format == PatchFormat::Ips) {
                for (const IpsRecord& record : ipsRecords(patch)) {
                    EXPECT_NE(record.offset, EOF_OFFSET);
                    EXPECT_GT(record.length, 0u);
                }
            }
        }
    }
}

TEST(PatchRoundTrip, BpsCopiesWhatEitherSideHoldsInsteadOfWritingIt) {
    // The action kinds each pair calls for: SourceRead, TargetRead,
    // SourceCopy, TargetCopy.
    const std::map<std::string, std::array<bool, 4>> expected = {
        {"bytes changed in place", {true, true, false, false}},
        {"a graphic moved", {true, false, true, false}},
        {"a new block repeated", {true, true, false, true}},
        {"a long run past 65535 bytes", {true, true, false, true}},
    };
    for (const Pair& pair : pairs()) {
        const auto want = expected.find(pair.name);
        if (want == expected.end()) continue;
        SCOPED_TRACE(pair.name);
        Bytes patch;
        createBps(pair.original.data(), pair.original.size(), pair.modified.data(), pair.modified.size(), patch);
        const std::array<int, 4> counts = bpsActionCounts(patch);
        for (int kind = 0; kind < 4; ++kind) {
            if (want->second[kind]) {
                EXPECT_GT(counts[kind], 0) << "kind " << kind;
            }
        }
        // Nothing written twice: far less than the bytes that changed.
        EXPECT_LT(patch.size(), 10 * KIB);
    }
}

TEST(PatchRoundTrip, IpsUsesRunsTruncationAndTheByteBeforeEof) {
    for (const Pair& pair : pairs()) {
        Bytes patch;
        createIps(pair.original.data(), pair.original.size(), pair.modified.data(), pair.modified.size(), patch);
        const std::vector<IpsRecord> records = ipsRecords(patch);
        const bool hasRun = std::any_of(records.begin(), records.end(), [](const IpsRecord& r) { return r.run; });
        const bool atEof =
            std::any_of(records.begin(), records.end(), [](const IpsRecord& r) { return r.offset == EOF_OFFSET - 1; });
        const std::string name = pair.name;
        SCOPED_TRACE(name);
        EXPECT_EQ(hasRun, name.find("run") != std::string::npos);
        EXPECT_EQ(atEof, name.find("0x454F46") != std::string::npos);
        const bool cut = pair.modified.size() < pair.original.size();
        EXPECT_EQ(std::memcmp(patch.data() + patch.size() - (cut ? 6 : 3), "EOF", 3), 0);
        if (name == "identical files") {
            EXPECT_TRUE(patch == text("PATCHEOF"));
        }
        if (name == "cut short, a strict prefix") {
            EXPECT_TRUE((patch == text("PATCHEOF") + Bytes{0x00, 0x03, 0xE8}));
        }
    }
}

TEST(PatchRoundTrip, IdenticalBpsIsOneSourceRead) {
    const Bytes image = pattern(1000, 3);
    Bytes patch;
    createBps(image.data(), image.size(), image.data(), image.size(), patch);
    // 1000: 68 86 (0x68 + (6 << 7) + 128); SourceRead of 1000: (999 << 2) = 3996 = 1C 9E.
    EXPECT_TRUE(patch == bpsPatch({0x68, 0x86, 0x68, 0x86, 0x80, 0x1C, 0x9E}, image, image));
}

TEST(PatchRoundTrip, ImagesPast16MiBAreRefusedForIpsOnly) {
    const Bytes big(16 * MIB + 1, 0), small(10, 1);
    Bytes patch;
    EXPECT_EQ(createIps(small.data(), small.size(), big.data(), big.size(), patch), O::TooLargeForIps);
    EXPECT_EQ(createIps(big.data(), big.size(), small.data(), small.size(), patch), O::TooLargeForIps);
    EXPECT_EQ(createBps(big.data(), big.size(), small.data(), small.size(), patch), O::Done);
    const Bytes exactly(16 * MIB, 2);
    EXPECT_EQ(createIps(small.data(), small.size(), exactly.data(), exactly.size(), patch), O::Done);
    Bytes result;
    ASSERT_TRUE(applyIps(patch.data(), patch.size(), small.data(), small.size(), result).ok());
    EXPECT_TRUE(result == exactly);
}

// ---- patches written by hand ----

TEST(HandWrittenPatch, IpsRecordsRunsGrowthAndTruncation) {
    const Bytes original = text("0123456789");
    struct Case {
        const char* name;
        Bytes patch;
        std::string result;
    };
    const Case table[] = {
        {"nothing", text("PATCHEOF"), "0123456789"},
        {"a record", text("PATCH") + Bytes{0, 0, 2, 0, 2} + text("ab") + text("EOF"), "01ab456789"},
        {"a run", text("PATCH") + Bytes{0, 0, 1, 0, 0, 0, 3, 'z'} + text("EOF"), "0zzz456789"},
        {"later records win", text("PATCH") + Bytes{0, 0, 1, 0, 2} + text("ab") + Bytes{0, 0, 2, 0, 1} + text("c") +
                                  text("EOF"),
         "0ac3456789"},
        {"a record past the end zero-fills the gap", text("PATCH") + Bytes{0, 0, 12, 0, 1} + text("x") + text("EOF"),
         std::string("0123456789\0\0x", 13)},
        {"truncated", text("PATCHEOF") + Bytes{0, 0, 4}, "0123"},
        {"a truncation never grows", text("PATCHEOF") + Bytes{0, 0, 40}, "0123456789"},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.name);
        Bytes result;
        const PatchResult r = applyIps(c.patch.data(), c.patch.size(), original.data(), original.size(), result);
        ASSERT_EQ(r.outcome, O::Done);
        EXPECT_EQ(std::string(result.begin(), result.end()), c.result);
    }
}

TEST(HandWrittenPatch, BpsEmptyToEmptyIsNineteenBytes) {
    const Bytes patch = bpsPatch({0x80, 0x80, 0x80}, {}, {});
    ASSERT_EQ(patch.size(), 19u);
    Bytes result{1};
    EXPECT_TRUE(applyBps(patch.data(), patch.size(), nullptr, 0, result).ok());
    EXPECT_TRUE(result.empty());
    Bytes made;
    createBps(nullptr, 0, nullptr, 0, made);
    EXPECT_TRUE(made == patch);
}

TEST(HandWrittenPatch, BpsNumbersHaveOneFormEach) {
    const std::pair<uint64_t, Bytes> table[] = {
        {0, {0x80}},          {1, {0x81}},          {127, {0xFF}},
        {128, {0x00, 0x80}},  {255, {0x7F, 0x80}},  {256, {0x00, 0x81}},
        {16511, {0x7F, 0xFF}}, {16512, {0x00, 0x00, 0x80}}, {4194304, {0x00, 0x7F, 0x7E, 0x80}},
    };
    const Bytes original(3, 0);
    for (const auto& [value, encoded] : table) {
        SCOPED_TRACE(value);
        // A source size the original cannot match: the message carries it.
        const Bytes patch = bpsPatch(encoded + Bytes{0x80, 0x80}, original, {});
        Bytes result;
        const PatchResult r = applyBps(patch.data(), patch.size(), original.data(), original.size(), result);
        ASSERT_EQ(r.outcome, O::SourceSizeMismatch);
        EXPECT_EQ(r.expected, value);
    }
}

TEST(HandWrittenPatch, BpsEveryActionWithMetadata) {
    const Bytes source = text("ABCDEFGH");
    // Target "ABxyCDEFxyCDEFEFEF" built as:
    //   SourceRead 2          (1 << 2 | 0)            -> "AB"
    //   TargetRead 2 "xy"     (1 << 2 | 1)            -> "xy"
    //   SourceCopy 4 from 2   (3 << 2 | 2), d = +2: 4 -> "CDEF"
    //   TargetCopy 6 from 2   (5 << 2 | 3), d = +2: 4 -> "xyCDEF"
    //   TargetCopy 4 from 12  (3 << 2 | 3), d = +4: 8 -> "EFEF", reading what it writes
    const std::string target = "ABxyCDEFxyCDEFEFEF";
    const Bytes targetBytes = text(target);
    const Bytes body = Bytes{0x88, 0x92, 0x83} + text("<x>") +  // sizes 8, 18; 3 bytes of metadata
                       Bytes{0x84, 0x85} + text("xy") + Bytes{0x8E, 0x84, 0x97, 0x84, 0x8F, 0x88};
    const Bytes patch = bpsPatch(body, source, targetBytes);
    Bytes result;
    const PatchResult r = applyBps(patch.data(), patch.size(), source.data(), source.size(), result);
    ASSERT_EQ(r.outcome, O::Done);
    EXPECT_EQ(std::string(result.begin(), result.end()), target);

    // SourceCopy backwards and "minus zero": "GH" then "EF" then "GH".
    const Bytes back = bpsPatch(Bytes{0x88, 0x86, 0x80} + Bytes{0x86, 0x8C,  // +6 -> GH, cursor 8
                                                                 0x86, 0x89,  // -4 -> EF, cursor 6
                                                                 0x86, 0x81}, // -0 -> GH
                                source, text("GHEFGH"));
    ASSERT_EQ(applyBps(back.data(), back.size(), source.data(), source.size(), result).outcome, O::Done);
    EXPECT_EQ(std::string(result.begin(), result.end()), "GHEFGH");
}

// ---- malformed patches ----

TEST(MalformedPatch, IpsIsRefusedAtTheByteAtFault) {
    const Bytes original = text("0123456789");
    struct Case {
        const char* name;
        Bytes patch;
        PatchOutcome outcome;
        uint64_t offset;
    };
    const Case table[] = {
        {"empty", {}, O::BadHeader, 0},
        {"a wrong magic", text("PATCX") + text("EOF"), O::BadHeader, 0},
        {"no EOF", text("PATCH"), O::Truncated, 5},
        {"EOF cut short", text("PATCHEO"), O::Truncated, 5},
        {"a record header cut short", text("PATCH") + Bytes{0, 0, 1, 0}, O::Truncated, 5},
        {"record data past the end", text("PATCH") + Bytes{0, 0, 1, 0, 4} + text("ab"), O::Truncated, 5},
        {"no EOF after a record", text("PATCH") + Bytes{0, 0, 1, 0, 1} + text("a"), O::Truncated, 11},
        {"a run cut short", text("PATCH") + Bytes{0, 0, 1, 0, 0, 0}, O::Truncated, 5},
        {"a run of count 0", text("PATCH") + Bytes{0, 0, 1, 0, 0, 0, 0, 7} + text("EOF"), O::EmptyRun, 5},
        {"a record past 16 MiB", text("PATCH") + Bytes{0, 0, 1, 0, 1} + text("a") + Bytes{0xFF, 0xFF, 0xFF, 0, 2} +
                                     text("ab") + text("EOF"),
         O::RecordPastLimit, 11},
        {"a run past 16 MiB", text("PATCH") + Bytes{0xFF, 0xFF, 0xF0, 0, 0, 0, 0x11, 1} + text("EOF"),
         O::RecordPastLimit, 5},
        {"one byte after EOF", text("PATCHEOF") + Bytes{1}, O::BytesAfterEnd, 8},
        {"four bytes after EOF", text("PATCHEOF") + Bytes{0, 0, 1, 2}, O::BytesAfterEnd, 8},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.name);
        Bytes result;
        const PatchResult r = applyIps(c.patch.data(), c.patch.size(), original.data(), original.size(), result);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.offset, c.offset);
    }
}

TEST(MalformedPatch, BpsIsRefusedAtTheByteAtFault) {
    const Bytes source = text("ABCDEFGH");
    const Bytes target = text("ABCD");
    struct Case {
        const char* name;
        Bytes patch;
        PatchOutcome outcome;
        uint64_t offset;
    };
    // Bodies start at patch offset 4; with sizes 8 and 4 and no metadata,
    // the first action is at 7.
    const Bytes sizes{0x88, 0x84, 0x80};
    Bytes damaged = bpsPatch(sizes + Bytes{0x8C}, source, target);
    damaged[7] ^= 0x01;
    const Case table[] = {
        {"a wrong magic", text("BPS2") + Bytes(15, 0x80), O::BadHeader, 0},
        {"too short for the footer", text("BPS1") + Bytes{0x80, 0x80, 0x80}, O::Truncated, 7},
        {"a number of eleven groups", bpsPatch(Bytes{0x88} + Bytes(10, 0x00) + Bytes{0x80, 0x80}, source, target),
         O::BadNumber, 5},
        {"a number past 64 bits in ten groups", bpsPatch(Bytes{0x88} + Bytes(9, 0x7F) + Bytes{0x81, 0x80}, source, target),
         O::BadNumber, 5},
        {"sizes cut short", bpsPatch(Bytes{0x88, 0x04, 0x04}, source, target), O::Truncated, 5},
        {"metadata past the footer", bpsPatch(Bytes{0x88, 0x84, 0x85, 'a'}, source, target),
         O::MetadataPastEnd, 6},
        {"an action past the target", bpsPatch(sizes + Bytes{0x90}, source, target), O::ActionPastTarget, 7},
        {"a SourceRead past the original", bpsPatch(Bytes{0x88, 0x8A, 0x80, 0xA4}, source, text("ABCDEFGHIJ")),
         O::ReadPastSource, 7},
        {"a SourceRead after the original's end",
         bpsPatch(Bytes{0x88, 0x8A, 0x80, 0x9D} + text("ABCDEFGH") + Bytes{0x84}, source, text("ABCDEFGHAB")),
         O::ReadPastSource, 16},
        {"a SourceCopy before the original", bpsPatch(sizes + Bytes{0x8E, 0x83}, source, target),
         O::CopyOutsideSource, 7},
        {"a SourceCopy past the original", bpsPatch(sizes + Bytes{0x8E, 0x8A}, source, target),
         O::CopyOutsideSource, 7},
        {"a TargetCopy with nothing written", bpsPatch(sizes + Bytes{0x8F, 0x80}, source, target),
         O::CopyOutsideTarget, 7},
        {"a TargetCopy from the output's own place", bpsPatch(sizes + Bytes{0x80, 0x87, 0x82}, source, target),
         O::CopyOutsideTarget, 8},
        {"literal bytes past the actions", bpsPatch(sizes + Bytes{0x8D, 'A', 'B'}, source, target), O::Truncated, 7},
        {"an action number cut short", bpsPatch(sizes + Bytes{0x8C, 0x00}, source, target), O::Truncated, 8},
        {"actions ending short of the target", bpsPatch(sizes + Bytes{0x88}, source, target), O::TargetIncomplete, 8},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.name);
        Bytes result;
        const PatchResult r = applyBps(c.patch.data(), c.patch.size(), source.data(), source.size(), result);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.offset, c.offset);
    }
    Bytes result;
    const PatchResult r = applyBps(damaged.data(), damaged.size(), source.data(), source.size(), result);
    EXPECT_EQ(r.outcome, O::PatchCrcMismatch);
    EXPECT_TRUE(little32(static_cast<uint32_t>(r.expected)) == Bytes(damaged.end() - 4, damaged.end()));
    EXPECT_EQ(r.found, zlibCrc(Bytes(damaged.begin(), damaged.end() - 4)));
}

TEST(MalformedPatch, BpsForAnotherOriginalOrResultIsRefusedWithBothCrcs) {
    const Bytes source = text("ABCDEFGH"), other = text("ABCDEFGX"), target = text("ABCD");
    const Bytes body{0x88, 0x84, 0x80, 0x8C};
    Bytes result;

    const Bytes forOther = bpsPatch(body, other, target);
    PatchResult r = applyBps(forOther.data(), forOther.size(), source.data(), source.size(), result);
    EXPECT_EQ(r.outcome, O::SourceCrcMismatch);
    EXPECT_EQ(r.expected, zlibCrc(other));
    EXPECT_EQ(r.found, zlibCrc(source));

    const Bytes wrongResult = bpsPatch(body, source, text("ABCE"));
    r = applyBps(wrongResult.data(), wrongResult.size(), source.data(), source.size(), result);
    EXPECT_EQ(r.outcome, O::TargetCrcMismatch);
    EXPECT_EQ(r.expected, zlibCrc(text("ABCE")));
    EXPECT_EQ(r.found, zlibCrc(target));

    const Bytes shorter = text("ABCDEFG");
    const Bytes good = bpsPatch(body, source, target);
    r = applyBps(good.data(), good.size(), shorter.data(), shorter.size(), result);
    EXPECT_EQ(r.outcome, O::SourceSizeMismatch);
    EXPECT_EQ(r.expected, 8u);
    EXPECT_EQ(r.found, 7u);
}

// ---- copier headers ----

struct Images {
    Bytes plain = pattern(64 * KIB, 5);
    Bytes edited = [this] {
        Bytes m = plain;
        for (size_t i = 1000; i < 1300; ++i) m[i] ^= 0xA5;
        return m;
    }();
};

Bytes header(uint8_t fill) { return Bytes(COPIER_HEADER_SIZE, fill); }

TEST(CopierHeader, BpsForTheBareImageAppliesToAnImageWithAHeader) {
    const Images images;
    Bytes patch, result;
    createBps(images.plain.data(), images.plain.size(), images.edited.data(), images.edited.size(), patch);
    const Bytes withHeader = header(0x3C) + images.plain;
    const PatchResult r = applyPatch(PatchFormat::Bps, patch.data(), patch.size(), withHeader.data(),
                                     withHeader.size(), result);
    ASSERT_EQ(r.outcome, O::Done);
    EXPECT_EQ(r.copierHeader, CopierHeader::SetAside);
    EXPECT_TRUE(result == header(0x3C) + images.edited);
}

TEST(CopierHeader, BpsForAnImageWithAHeaderAppliesToTheBareImage) {
    const Images images;
    Bytes swc = header(0);
    swc[0] = 8;  // 64 KiB in 8 KiB units
    swc[8] = 0xAA;
    swc[9] = 0xBB;
    swc[10] = 0x04;
    for (const Bytes& h : {header(0), swc}) {
        const Bytes from = h + images.plain, to = h + images.edited;
        Bytes patch, result;
        createBps(from.data(), from.size(), to.data(), to.size(), patch);
        const PatchResult r =
            applyPatch(PatchFormat::Bps, patch.data(), patch.size(), images.plain.data(), images.plain.size(), result);
        ASSERT_EQ(r.outcome, O::Done);
        EXPECT_EQ(r.copierHeader, CopierHeader::Restored);
        EXPECT_TRUE(result == images.edited);
    }
    // A header that cannot be restored: the original is refused as it is.
    const Bytes from = header(0x77) + images.plain, to = header(0x77) + images.edited;
    Bytes patch, result;
    createBps(from.data(), from.size(), to.data(), to.size(), patch);
    const PatchResult r =
        applyPatch(PatchFormat::Bps, patch.data(), patch.size(), images.plain.data(), images.plain.size(), result);
    EXPECT_EQ(r.outcome, O::SourceSizeMismatch);
}

TEST(CopierHeader, AnotherImageWithAHeaderIsStillRefused) {
    const Images images;
    Bytes patch, result;
    createBps(images.plain.data(), images.plain.size(), images.edited.data(), images.edited.size(), patch);
    Bytes other = images.edited;
    other[5] ^= 1;
    const Bytes wrong = header(0) + other;
    PatchResult r = applyPatch(PatchFormat::Bps, patch.data(), patch.size(), wrong.data(), wrong.size(), result);
    EXPECT_EQ(r.outcome, O::SourceSizeMismatch);
    EXPECT_EQ(r.expected, images.plain.size());
    // The patch's own result, with or without a header, is said to be so.
    for (const Bytes& done : {images.edited, header(0) + images.edited}) {
        r = applyPatch(PatchFormat::Bps, patch.data(), patch.size(), done.data(), done.size(), result);
        EXPECT_EQ(r.outcome, O::AlreadyApplied);
        EXPECT_EQ(r.expected, crc32Of(images.edited.data(), images.edited.size()));
        EXPECT_EQ(r.copierHeader, done.size() == images.edited.size() ? CopierHeader::AsGiven : CopierHeader::SetAside);
    }
}

TEST(CopierHeader, IpsOnlyWarnsWhenTheSizeSuggestsOne) {
    const Images images;
    Bytes patch, result;
    createIps(images.plain.data(), images.plain.size(), images.edited.data(), images.edited.size(), patch);
    PatchResult r = applyPatch(PatchFormat::Ips, patch.data(), patch.size(), images.plain.data(),
                               images.plain.size(), result);
    EXPECT_EQ(r.copierHeader, CopierHeader::AsGiven);
    const Bytes withHeader = header(0) + images.plain;
    r = applyPatch(PatchFormat::Ips, patch.data(), patch.size(), withHeader.data(), withHeader.size(), result);
    ASSERT_EQ(r.outcome, O::Done);
    EXPECT_EQ(r.copierHeader, CopierHeader::Suspected);
    // Applied as given: the edit lands 512 bytes before its place.
    Bytes expected = withHeader;
    std::copy(images.edited.begin() + 1000, images.edited.begin() + 1300, expected.begin() + 1000);
    EXPECT_TRUE(result == expected);
}

// ---- the format of a path ----

TEST(PatchFile, FormatFollowsTheExtensionInAnyCase) {
    EXPECT_EQ(patchFormatOf("a.bps"), PatchFormat::Bps);
    EXPECT_EQ(patchFormatOf("DIR.X/A.BPS"), PatchFormat::Bps);
    EXPECT_EQ(patchFormatOf("a.IpS"), PatchFormat::Ips);
    EXPECT_EQ(patchFormatOf("a.bps.txt"), PatchFormat::Unknown);
    EXPECT_EQ(patchFormatOf("bps"), PatchFormat::Unknown);
    EXPECT_EQ(patchFormatOf(""), PatchFormat::Unknown);
    // No format: nothing is made or applied.
    const Bytes image = pattern(16, 1);
    Bytes patch, result;
    EXPECT_EQ(createPatch(PatchFormat::Unknown, image.data(), image.size(), image.data(), image.size(), patch),
              O::UnknownFormat);
    EXPECT_EQ(applyPatch(PatchFormat::Unknown, image.data(), image.size(), image.data(), image.size(), result).outcome,
              O::UnknownFormat);
}

}  // namespace
