// IPS: "PATCH", records (24-bit offset, 16-bit size, data; or size 0, a
// 16-bit count and one byte), "EOF", and optionally the 24-bit length the
// result is cut to. Numbers big-endian.
#include "patch/Patch.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char MAGIC[] = {'P', 'A', 'T', 'C', 'H'};
constexpr size_t MAGIC_SIZE = sizeof MAGIC;
constexpr char END_MARK[] = {'E', 'O', 'F'};
constexpr size_t END_MARK_SIZE = sizeof END_MARK;
// The offset whose three bytes read as "EOF": no record starts there.
constexpr size_t END_MARK_OFFSET = 0x454F46;
constexpr size_t RECORD_HEADER = 5;   // offset, size
constexpr size_t RUN_BODY = 3;        // count, value
constexpr size_t TRUNCATION_SIZE = 3;
constexpr size_t LONGEST_RECORD = 0xFFFF;
// A run shorter than this costs more as a record of its own than as
// bytes of the record around it.
constexpr size_t SHORTEST_RUN = RECORD_HEADER + RUN_BODY + RECORD_HEADER;
// Unchanged bytes between two changes that are cheaper written again than
// a new record's header.
constexpr size_t JOIN_GAP = RECORD_HEADER;

void putBig(std::vector<uint8_t>& out, size_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

size_t readBig(const uint8_t* at, int bytes) {
    size_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | at[i];
    return value;
}

class RecordWriter {
public:
    RecordWriter(const uint8_t* target, std::vector<uint8_t>& patch) : target(target), patch(patch) {}

    // The target's bytes [start, end) in records of literal bytes.
    void literal(size_t start, size_t end) {
        while (start < end) {
            size_t from = start;
            // A record at "EOF" starts one byte earlier, rewriting it.
            if (from == END_MARK_OFFSET) --from;
            const size_t to = std::min(end, from + LONGEST_RECORD);
            putBig(patch, from, 3);
            putBig(patch, to - from, 2);
            patch.insert(patch.end(), target + from, target + to);
            start = to;
        }
    }

    // count copies of the target's byte at start.
    void run(size_t start, size_t count) {
        while (count > 0) {
            if (start == END_MARK_OFFSET) {
                literal(start, start + 1);  // starts at END_MARK_OFFSET - 1
                ++start;
                --count;
                continue;
            }
            const size_t length = std::min(count, LONGEST_RECORD);
            putBig(patch, start, 3);
            putBig(patch, 0, 2);
            putBig(patch, length, 2);
            patch.push_back(target[start]);
            start += length;
            count -= length;
        }
    }

private:
    const uint8_t* target;
    std::vector<uint8_t>& patch;
};

}  // namespace

PatchOutcome createIps(const uint8_t* original, size_t originalSize, const uint8_t* modified, size_t modifiedSize,
                       std::vector<uint8_t>& patch) {
    if (originalSize > IPS_LIMIT || modifiedSize > IPS_LIMIT) return PatchOutcome::TooLargeForIps;
    patch.assign(MAGIC, MAGIC + MAGIC_SIZE);
    RecordWriter writer(modified, patch);
    // A byte needs writing where it differs from the original; past the
    // original's end, where it is not 0 (the gap a record leaves is
    // zero-filled), and always the last one, so that the result grows.
    const auto differs = [&](size_t i) {
        if (i < originalSize) return original[i] != modified[i];
        return modified[i] != 0 || i + 1 == modifiedSize;
    };
    // Where both hold bytes, whole words that agree are passed over at once.
    const size_t common = std::min(originalSize, modifiedSize);
    const auto sameWord = [&](size_t at) {
        uint64_t a, b;
        std::memcpy(&a, original + at, sizeof a);
        std::memcpy(&b, modified + at, sizeof b);
        return a == b;
    };
    size_t i = 0;
    while (i < modifiedSize) {
        while (i + sizeof(uint64_t) <= common && sameWord(i)) i += sizeof(uint64_t);
        if (i >= modifiedSize) break;
        if (!differs(i)) {
            ++i;
            continue;
        }
        // A stretch of changes, joined over short unchanged gaps.
        const size_t start = i;
        size_t end = i + 1, same = 0;
        for (size_t j = end; j < modifiedSize && same <= JOIN_GAP; ++j) {
            if (differs(j)) {
                end = j + 1;
                same = 0;
            } else {
                ++same;
            }
        }
        // Runs that pay become run records; the rest literal records.
        size_t literalStart = start, at = start;
        while (at < end) {
            size_t runEnd = at + 1;
            while (runEnd < end && modified[runEnd] == modified[at]) ++runEnd;
            if (runEnd - at >= SHORTEST_RUN) {
                writer.literal(literalStart, at);
                writer.run(at, runEnd - at);
                literalStart = runEnd;
            }
            at = runEnd;
        }
        writer.literal(literalStart, end);
        i = end;
    }
    patch.insert(patch.end(), END_MARK, END_MARK + END_MARK_SIZE);
    if (modifiedSize < originalSize) putBig(patch, modifiedSize, 3);
    return PatchOutcome::Done;
}

PatchResult applyIps(const uint8_t* patch, size_t patchSize, const uint8_t* original, size_t originalSize,
                     std::vector<uint8_t>& result) {
    PatchResult r;
    if (patchSize < MAGIC_SIZE || std::memcmp(patch, MAGIC, MAGIC_SIZE) != 0) {
        r.outcome = PatchOutcome::BadHeader;
        return r;
    }
    if (originalSize > MAX_PATCH_IMAGE_BYTES) {
        r.outcome = PatchOutcome::ImageTooLarge;
        return r;
    }
    result.assign(original, original + originalSize);
    size_t at = MAGIC_SIZE;
    const auto fail = [&](PatchOutcome outcome, size_t offset) {
        r.outcome = outcome;
        r.offset = offset;
        return r;
    };
    for (;;) {
        if (patchSize - at < END_MARK_SIZE) return fail(PatchOutcome::Truncated, at);
        if (std::memcmp(patch + at, END_MARK, END_MARK_SIZE) == 0) break;
        if (patchSize - at < RECORD_HEADER) return fail(PatchOutcome::Truncated, at);
        const size_t offset = readBig(patch + at, 3);
        size_t length = readBig(patch + at + 3, 2);
        const size_t recordAt = at;
        at += RECORD_HEADER;
        const uint8_t* bytes = nullptr;
        bool isRun = false;
        uint8_t value = 0;
        if (length == 0) {
            if (patchSize - at < RUN_BODY) return fail(PatchOutcome::Truncated, recordAt);
            length = readBig(patch + at, 2);
            value = patch[at + 2];
            if (length == 0) return fail(PatchOutcome::EmptyRun, recordAt);
            isRun = true;
            at += RUN_BODY;
        } else {
            if (patchSize - at < length) return fail(PatchOutcome::Truncated, recordAt);
            bytes = patch + at;
            at += length;
        }
        if (offset + length > IPS_LIMIT) return fail(PatchOutcome::RecordPastLimit, recordAt);
        if (result.size() < offset + length) result.resize(offset + length, 0);
        if (isRun) {
            std::fill_n(result.begin() + static_cast<std::ptrdiff_t>(offset), length, value);
        } else {
            std::copy(bytes, bytes + length, result.begin() + static_cast<std::ptrdiff_t>(offset));
        }
    }
    at += END_MARK_SIZE;
    const size_t after = patchSize - at;
    if (after == TRUNCATION_SIZE) {
        const size_t length = readBig(patch + at, 3);
        if (length < result.size()) result.resize(length);
    } else if (after != 0) {
        return fail(PatchOutcome::BytesAfterEnd, at);
    }
    return r;
}
