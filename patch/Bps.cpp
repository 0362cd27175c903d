// BPS: "BPS1", source size, target size, metadata, actions, then the
// CRC32 of the source, of the target and of the patch before its last 4
// bytes, little-endian.
#include "patch/Patch.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr char MAGIC[] = {'B', 'P', 'S', '1'};
constexpr size_t MAGIC_SIZE = sizeof MAGIC;
constexpr size_t FOOTER_SIZE = 12;  // three CRC32s
constexpr size_t SOURCE_CRC_AT = 12, TARGET_CRC_AT = 8, PATCH_CRC_AT = 4;  // back from the end

enum Action : uint64_t { SOURCE_READ = 0, TARGET_READ = 1, SOURCE_COPY = 2, TARGET_COPY = 3 };

uint32_t readLittle32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

// ---- writing ----

void putNumber(std::vector<uint8_t>& out, uint64_t value) {
    for (;;) {
        const uint8_t group = value & 0x7F;
        value >>= 7;
        if (value == 0) {
            out.push_back(0x80 | group);
            return;
        }
        out.push_back(group);
        --value;
    }
}

size_t numberSize(uint64_t value) {
    size_t size = 1;
    while ((value >>= 7) != 0) {
        --value;
        ++size;
    }
    return size;
}

void putLittle32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A relative move of a copy cursor: magnitude shifted left, sign in bit 0.
uint64_t relative(uint64_t from, uint64_t to) {
    return to >= from ? (to - from) << 1 : ((from - to) << 1) | 1;
}

// Matches are found through tables of one position for each hash of
// BLOCK bytes: a fixed number of probes per position looked at, so the
// search is linear in the sizes of the two images. The source is indexed
// at every SOURCE_STEP-th position (a match long enough meets one of
// them); the target at the positions written literally, as they are
// passed.
constexpr size_t BLOCK = 8;
constexpr size_t SOURCE_STEP = 8;
// Where nothing matches, positions looked at grow apart by one more byte
// after every MISS_STRETCH of them; matches then reach back over the bytes
// passed, so what is found late costs nothing.
constexpr size_t MISS_STRETCH = 32;
constexpr size_t LONG_MATCH = 64;

// Tables of about two slots per position indexed, from 4 Ki to 1 Mi
// slots (4 MiB each).
int hashBitsFor(size_t positions) {
    int bits = 12;
    while (bits < 20 && (size_t(1) << bits) < positions * 2) ++bits;
    return bits;
}

uint32_t hashBlock(const uint8_t* at, int bits) {
    uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return static_cast<uint32_t>((word * 0x9E3779B97F4A7C15ull) >> (64 - bits));
}
constexpr uint32_t NO_POSITION = UINT32_MAX;

class DeltaWriter {
public:
    DeltaWriter(const uint8_t* source, size_t sourceSize, const uint8_t* target, size_t targetSize,
                std::vector<uint8_t>& patch)
        : source(source), sourceSize(sourceSize), target(target), targetSize(targetSize), patch(patch),
          bits(hashBitsFor(std::max(sourceSize, targetSize) / SOURCE_STEP)), sourceTable(new uint32_t[size_t(1) << bits]),
          targetTable(new uint32_t[size_t(1) << bits]) {
        std::fill_n(sourceTable.get(), size_t(1) << bits, NO_POSITION);
        std::fill_n(targetTable.get(), size_t(1) << bits, NO_POSITION);
        // Earliest position wins: a block repeated keeps its first place,
        // which is the one that usually moved.
        const size_t positions = sourceSize >= BLOCK ? (sourceSize - BLOCK) / SOURCE_STEP + 1 : 0;
        for (size_t k = positions; k-- > 0;) {
            sourceTable[hashBlock(source + k * SOURCE_STEP, bits)] = static_cast<uint32_t>(k * SOURCE_STEP);
        }
    }

    void write() {
        size_t out = 0, literal = 0, misses = 0;
        while (out < targetSize) {
            Match best = sameOffsetRun(out, literal);
            uint32_t hash = 0;
            if (out + BLOCK <= targetSize) {
                hash = hashBlock(target + out, bits);
                consider(best, copyFrom(SOURCE_COPY, sourceTable[hash], source, sourceSize, out, literal));
                consider(best, copyFrom(TARGET_COPY, targetTable[hash], target, out, out, literal));
                // Data moved as a whole and changed in a few places: the
                // last copy's displacement usually still holds after the
                // change.
                consider(best, copyFrom(SOURCE_COPY, displaced(out, sourceShift), source, sourceSize, out, literal));
                consider(best, copyFrom(TARGET_COPY, displaced(out, targetShift), target, out, out, literal));
            }
            if (best.gain <= 0) {
                if (out + BLOCK <= targetSize) targetTable[hash] = static_cast<uint32_t>(out);
                const size_t step = 1 + misses++ / MISS_STRETCH;
                out += step;
                // The positions looked at next are known: the table slots a
                // few steps ahead, and the bytes that the slots a little
                // nearer name, are fetched before they are needed. (Written
                // here: a function of these alone would count as having no
                // effect and be left out.)
                if (const size_t at = out + SLOTS_AHEAD * step; at + BLOCK <= targetSize) {
                    const uint32_t ahead = hashBlock(target + at, bits);
                    __builtin_prefetch(&sourceTable[ahead]);
                    __builtin_prefetch(&targetTable[ahead]);
                }
                if (const size_t at = out + BYTES_AHEAD * step; at + BLOCK <= targetSize) {
                    const uint32_t ahead = hashBlock(target + at, bits);
                    if (sourceTable[ahead] != NO_POSITION) __builtin_prefetch(source + sourceTable[ahead]);
                    if (targetTable[ahead] != NO_POSITION) __builtin_prefetch(target + targetTable[ahead]);
                }
                continue;
            }
            // A short match inside new data does not mean the data that
            // follows is old: the spreading only eases off.
            misses = best.length >= LONG_MATCH ? 0 : misses / 2;
            const size_t start = out - best.back;
            flushLiteral(literal, start);
            emit(best, start);
            out = start + best.length;
            literal = out;
        }
        flushLiteral(literal, targetSize);
    }

private:
    // How far ahead, in steps over new data, table slots and the bytes
    // they name are fetched.
    static constexpr size_t SLOTS_AHEAD = 4, BYTES_AHEAD = 2;

    struct Match {
        uint64_t kind = SOURCE_READ;
        size_t from = 0;     // where the copy reads, at the match's start
        size_t length = 0;   // from the match's start
        size_t back = 0;     // how far the match reaches before out
        int64_t gain = 0;    // bytes saved against writing them literally
    };

    // The bytes of the target that agree with the source at the same
    // offset, from out on, and back over the literal bytes not yet written.
    Match sameOffsetRun(size_t out, size_t literal) const {
        Match m;
        if (out >= sourceSize) return m;
        const size_t limit = std::min(sourceSize, targetSize);
        size_t end = out;
        // A word at a time over long agreeing stretches.
        for (uint64_t a, b; end + sizeof a <= limit; end += sizeof a) {
            std::memcpy(&a, source + end, sizeof a);
            std::memcpy(&b, target + end, sizeof b);
            if (a != b) break;
        }
        while (end < limit && source[end] == target[end]) ++end;
        size_t back = 0;
        while (out - back > literal && source[out - back - 1] == target[out - back - 1]) ++back;
        m.kind = SOURCE_READ;
        m.back = back;
        m.from = out - back;
        m.length = end - out + back;
        m.gain = static_cast<int64_t>(m.length) - static_cast<int64_t>(numberSize((m.length - 1) << 2)) - 1;
        if (m.length == 0) m.gain = 0;
        return m;
    }

    // A copy from the candidate position in from (size limit bytes),
    // extended forward and back over the literal bytes not yet written.
    Match copyFrom(uint64_t kind, uint32_t candidate, const uint8_t* from, size_t limit, size_t out,
                   size_t literal) const {
        Match m;
        if (candidate == NO_POSITION) return m;
        size_t at = candidate;
        if (kind == TARGET_COPY && at >= out) return m;
        // A target copy may run into what it writes itself: byte by byte.
        const size_t fromEnd = kind == TARGET_COPY ? targetSize : limit;
        size_t length = 0;
        while (at + length < fromEnd && out + length < targetSize && from[at + length] == target[out + length]) {
            ++length;
        }
        if (length < BLOCK) return m;
        size_t back = 0;
        while (back < at && out - back > literal && from[at - back - 1] == target[out - back - 1]) ++back;
        const uint64_t cursor = kind == SOURCE_COPY ? sourceCursor : targetCursor;
        m.kind = kind;
        m.from = at - back;
        m.length = length + back;
        m.back = back;
        const size_t cost = numberSize((m.length - 1) << 2 | kind) + numberSize(relative(cursor, m.from));
        m.gain = static_cast<int64_t>(m.length) - static_cast<int64_t>(cost) - 1;
        return m;
    }

    static void consider(Match& best, const Match& candidate) {
        if (candidate.gain > best.gain) best = candidate;
    }

    // out moved by shift, or no position when that leaves the images.
    uint32_t displaced(size_t out, int64_t shift) const {
        const int64_t at = static_cast<int64_t>(out) + shift;
        if (at < 0 || at >= static_cast<int64_t>(std::max(sourceSize, targetSize))) return NO_POSITION;
        return static_cast<uint32_t>(at);
    }

    void flushLiteral(size_t from, size_t to) {
        if (to <= from) return;
        putNumber(patch, (uint64_t(to - from) - 1) << 2 | TARGET_READ);
        patch.insert(patch.end(), target + from, target + to);
    }

    void emit(const Match& m, size_t start) {
        putNumber(patch, (uint64_t(m.length) - 1) << 2 | m.kind);
        const int64_t shift = static_cast<int64_t>(m.from) - static_cast<int64_t>(start);
        if (m.kind == SOURCE_COPY) {
            putNumber(patch, relative(sourceCursor, m.from));
            sourceCursor = m.from + m.length;
            sourceShift = shift;
        } else if (m.kind == TARGET_COPY) {
            putNumber(patch, relative(targetCursor, m.from));
            targetCursor = m.from + m.length;
            targetShift = shift;
        }
    }

    const uint8_t* source;
    size_t sourceSize;
    const uint8_t* target;
    size_t targetSize;
    std::vector<uint8_t>& patch;
    int bits;
    std::unique_ptr<uint32_t[]> sourceTable, targetTable;
    uint64_t sourceCursor = 0, targetCursor = 0;
    // Where the last copy of each kind read, relative to where it wrote.
    int64_t sourceShift = 0, targetShift = INT64_MIN / 2;
};

// ---- reading ----

// Reads the patch's bytes in [at, end), end being where its footer starts.
class PatchReader {
public:
    PatchReader(const uint8_t* patch, size_t end, size_t at) : patch(patch), end(end), at(at) {}

    // A number; on failure, outcome and the offset where it started.
    bool number(uint64_t& value, PatchResult& result) {
        const size_t start = at;
        value = 0;
        uint64_t shift = 1;  // 1 << 7i
        for (int group = 0;; ++group) {
            if (at >= end) return fail(result, PatchOutcome::Truncated, start);
            const uint8_t byte = patch[at++];
            // Ten groups reach bit 63; any further group, or a tenth one
            // that overflows, does not fit.
            if (group == 9 && (byte & 0x7F) > 1) return fail(result, PatchOutcome::BadNumber, start);
            const uint64_t part = uint64_t(byte & 0x7F) * shift;
            if (value > UINT64_MAX - part) return fail(result, PatchOutcome::BadNumber, start);
            value += part;
            if (byte & 0x80) return true;
            if (group == 9) return fail(result, PatchOutcome::BadNumber, start);
            shift <<= 7;
            if (value > UINT64_MAX - shift) return fail(result, PatchOutcome::BadNumber, start);
            value += shift;
        }
    }

    size_t position() const { return at; }
    size_t left() const { return end - at; }
    const uint8_t* take(size_t length) {
        const uint8_t* bytes = patch + at;
        at += length;
        return bytes;
    }

    static bool fail(PatchResult& result, PatchOutcome outcome, uint64_t offset) {
        result.outcome = outcome;
        result.offset = offset;
        return false;
    }

private:
    const uint8_t* patch;
    size_t end;
    size_t at;
};

// Moves a copy cursor by a relative offset; false when it would leave
// [0, limit].
bool moveCursor(uint64_t& cursor, uint64_t offset, uint64_t limit) {
    const uint64_t distance = offset >> 1;
    if (offset & 1) {
        if (distance > cursor) return false;
        cursor -= distance;
    } else {
        if (distance > limit - cursor) return false;
        cursor += distance;
    }
    return true;
}

bool mismatch(PatchResult& r, PatchOutcome outcome, uint64_t expected, uint64_t found) {
    r.outcome = outcome;
    r.expected = expected;
    r.found = found;
    return false;
}

// The magic, room for the three sizes and the footer, and the patch's own
// CRC32.
bool checkEnvelope(const uint8_t* patch, size_t patchSize, PatchResult& r) {
    if (patchSize < MAGIC_SIZE || std::memcmp(patch, MAGIC, MAGIC_SIZE) != 0) {
        r.outcome = PatchOutcome::BadHeader;
        return false;
    }
    if (patchSize < MAGIC_SIZE + 3 + FOOTER_SIZE) return PatchReader::fail(r, PatchOutcome::Truncated, patchSize);
    const uint32_t patchCrc = readLittle32(patch + patchSize - PATCH_CRC_AT);
    const uint32_t foundPatchCrc = crc32Of(patch, patchSize - PATCH_CRC_AT);
    if (patchCrc != foundPatchCrc) return mismatch(r, PatchOutcome::PatchCrcMismatch, patchCrc, foundPatchCrc);
    return true;
}

// The sizes and the metadata (read and passed over), checked against the
// original: its size and CRC32 must be the patch's source's, and the
// target must not be larger than any image handled here.
bool readSizes(PatchReader& reader, const uint8_t* patch, size_t patchSize, const uint8_t* original,
               size_t originalSize, uint64_t& targetSize, PatchResult& r) {
    uint64_t sourceSize = 0, metadataSize = 0;
    if (!reader.number(sourceSize, r) || !reader.number(targetSize, r)) return false;
    const size_t metadataAt = reader.position();
    if (!reader.number(metadataSize, r)) return false;
    if (metadataSize > reader.left()) return PatchReader::fail(r, PatchOutcome::MetadataPastEnd, metadataAt);
    reader.take(static_cast<size_t>(metadataSize));

    if (sourceSize != originalSize) return mismatch(r, PatchOutcome::SourceSizeMismatch, sourceSize, originalSize);
    const uint32_t sourceCrc = readLittle32(patch + patchSize - SOURCE_CRC_AT);
    const uint32_t foundSourceCrc = crc32Of(original, originalSize);
    if (sourceCrc != foundSourceCrc) return mismatch(r, PatchOutcome::SourceCrcMismatch, sourceCrc, foundSourceCrc);
    if (targetSize > MAX_PATCH_IMAGE_BYTES) {
        r.outcome = PatchOutcome::ImageTooLarge;
        r.expected = targetSize;
        return false;
    }
    return true;
}

// The actions, each checked against what is left of the target, the
// original and the patch before it writes; the result grows as they write.
class ActionRunner {
public:
    ActionRunner(PatchReader& reader, const uint8_t* original, size_t originalSize, uint64_t targetSize,
                 std::vector<uint8_t>& result, PatchResult& r)
        : reader(reader), original(original), originalSize(originalSize), targetSize(targetSize), result(result),
          r(r) {}

    // Every action up to the footer; false at the first one refused.
    bool run() {
        result.clear();
        result.reserve(static_cast<size_t>(targetSize));
        while (reader.left() > 0) {
            actionAt = reader.position();
            uint64_t value = 0;
            if (!reader.number(value, r)) return false;
            const uint64_t length = (value >> 2) + 1;
            if (length > targetSize - result.size()) return fail(PatchOutcome::ActionPastTarget);
            bool done = false;
            switch (value & 3) {
                case SOURCE_READ: done = sourceRead(length); break;
                case TARGET_READ: done = targetRead(length); break;
                case SOURCE_COPY: done = sourceCopy(length); break;
                case TARGET_COPY: done = targetCopy(length); break;
            }
            if (!done) return false;
        }
        return true;
    }

private:
    bool fail(PatchOutcome outcome) { return PatchReader::fail(r, outcome, actionAt); }

    // The original's bytes where the target now is.
    bool sourceRead(uint64_t length) {
        const uint64_t out = result.size();
        if (out > originalSize || length > originalSize - out) return fail(PatchOutcome::ReadPastSource);
        result.insert(result.end(), original + out, original + out + length);
        return true;
    }

    // Bytes the patch holds.
    bool targetRead(uint64_t length) {
        if (length > reader.left()) return fail(PatchOutcome::Truncated);
        const uint8_t* bytes = reader.take(static_cast<size_t>(length));
        result.insert(result.end(), bytes, bytes + length);
        return true;
    }

    // The original's bytes at its cursor, moved first.
    bool sourceCopy(uint64_t length) {
        uint64_t offset = 0;
        if (!reader.number(offset, r)) return false;
        if (!moveCursor(sourceCursor, offset, originalSize) || length > originalSize - sourceCursor) {
            return fail(PatchOutcome::CopyOutsideSource);
        }
        result.insert(result.end(), original + sourceCursor, original + sourceCursor + length);
        sourceCursor += length;
        return true;
    }

    // The target's own bytes at its cursor, moved first: byte by byte, as
    // the copy may read what it has just written.
    bool targetCopy(uint64_t length) {
        uint64_t offset = 0;
        if (!reader.number(offset, r)) return false;
        const uint64_t out = result.size();
        if (!moveCursor(targetCursor, offset, out) || targetCursor >= out) return fail(PatchOutcome::CopyOutsideTarget);
        for (uint64_t i = 0; i < length; ++i) {
            const uint8_t byte = result[static_cast<size_t>(targetCursor + i)];
            result.push_back(byte);
        }
        targetCursor += length;
        return true;
    }

    PatchReader& reader;
    const uint8_t* original;
    size_t originalSize;
    uint64_t targetSize;
    std::vector<uint8_t>& result;
    PatchResult& r;
    size_t actionAt = 0;
    uint64_t sourceCursor = 0, targetCursor = 0;
};

}  // namespace

PatchOutcome createBps(const uint8_t* original, size_t originalSize, const uint8_t* modified, size_t modifiedSize,
                       std::vector<uint8_t>& patch) {
    if (originalSize > MAX_PATCH_IMAGE_BYTES || modifiedSize > MAX_PATCH_IMAGE_BYTES) {
        return PatchOutcome::ImageTooLarge;
    }
    patch.assign(MAGIC, MAGIC + MAGIC_SIZE);
    putNumber(patch, originalSize);
    putNumber(patch, modifiedSize);
    putNumber(patch, 0);  // no metadata
    DeltaWriter(original, originalSize, modified, modifiedSize, patch).write();
    putLittle32(patch, crc32Of(original, originalSize));
    putLittle32(patch, crc32Of(modified, modifiedSize));
    putLittle32(patch, crc32Of(patch.data(), patch.size()));
    return PatchOutcome::Done;
}

PatchResult applyBps(const uint8_t* patch, size_t patchSize, const uint8_t* original, size_t originalSize,
                     std::vector<uint8_t>& result) {
    PatchResult r;
    if (!checkEnvelope(patch, patchSize, r)) return r;
    const size_t actionsEnd = patchSize - FOOTER_SIZE;
    PatchReader reader(patch, actionsEnd, MAGIC_SIZE);
    uint64_t targetSize = 0;
    if (!readSizes(reader, patch, patchSize, original, originalSize, targetSize, r)) return r;
    if (!ActionRunner(reader, original, originalSize, targetSize, result, r).run()) return r;
    if (result.size() != targetSize) {
        PatchReader::fail(r, PatchOutcome::TargetIncomplete, actionsEnd);
        return r;
    }
    const uint32_t targetCrc = readLittle32(patch + patchSize - TARGET_CRC_AT);
    const uint32_t foundTargetCrc = crc32Of(result.data(), result.size());
    if (targetCrc != foundTargetCrc) mismatch(r, PatchOutcome::TargetCrcMismatch, targetCrc, foundTargetCrc);
    return r;
}
