// The two formats behind one pair of calls, and the copier header rule.
#include "patch/Patch.h"

#include "rom/HeaderLayout.h"

#include <libdeflate.h>

#include <algorithm>
#include <cctype>

namespace {

// Bytes of a BPS patch: "BPS1", then the source size as a number; the
// source CRC32 sits 12 bytes from the end, the target's 8.
constexpr size_t BPS_MAGIC_SIZE = 4;
constexpr size_t BPS_SMALLEST = 19;
constexpr size_t BPS_SOURCE_CRC_AT = 12;
constexpr size_t BPS_TARGET_CRC_AT = 8;

bool endsWith(const std::string& text, const char* ending) {
    const size_t length = std::char_traits<char>::length(ending);
    if (text.size() < length) return false;
    for (size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(text[text.size() - length + i])) != ending[i]) return false;
    }
    return true;
}

// The sizes and CRC32s a BPS patch declares at its two ends; false when
// they cannot be read (applyBps then says why).
struct BpsEnds {
    uint64_t sourceSize = 0, targetSize = 0;
    uint32_t sourceCrc = 0, targetCrc = 0;
};

uint32_t little32At(const uint8_t* c) {
    return uint32_t(c[0]) | uint32_t(c[1]) << 8 | uint32_t(c[2]) << 16 | uint32_t(c[3]) << 24;
}

// A BPS number at at, which moves past it; false past end or 9 bytes.
bool bpsNumber(const uint8_t* patch, size_t end, size_t& at, uint64_t& value) {
    value = 0;
    uint64_t shift = 1;
    for (const size_t first = at; at < end && at < first + 9; ++at) {
        value += (patch[at] & 0x7F) * shift;
        if (patch[at] & 0x80) {
            ++at;
            return true;
        }
        shift <<= 7;
        value += shift;
    }
    return false;
}

bool bpsEnds(const uint8_t* patch, size_t patchSize, BpsEnds& ends) {
    if (patchSize < BPS_SMALLEST) return false;
    const size_t end = patchSize - BPS_SOURCE_CRC_AT;
    size_t at = BPS_MAGIC_SIZE;
    if (!bpsNumber(patch, end, at, ends.sourceSize) || !bpsNumber(patch, end, at, ends.targetSize)) return false;
    ends.sourceCrc = little32At(patch + patchSize - BPS_SOURCE_CRC_AT);
    ends.targetCrc = little32At(patch + patchSize - BPS_TARGET_CRC_AT);
    return true;
}

// The copier headers an original without one may have lost: all zeros,
// and the common form with the image's size in 8 KiB units at bytes 0-1
// and the bytes AA BB 04 at 8-10.
std::vector<std::vector<uint8_t>> likelyCopierHeaders(size_t imageSize) {
    std::vector<uint8_t> blank(COPIER_HEADER_SIZE, 0);
    std::vector<uint8_t> sized = blank;
    const size_t units = imageSize / COPIER_SIZE_UNIT;
    sized[0] = static_cast<uint8_t>(units);
    sized[1] = static_cast<uint8_t>(units >> 8);
    sized[8] = 0xAA;
    sized[9] = 0xBB;
    sized[10] = 0x04;
    return {blank, sized};
}

PatchResult applyBpsToEitherForm(const uint8_t* patch, size_t patchSize, const uint8_t* original,
                                 size_t originalSize, const BpsEnds& ends, std::vector<uint8_t>& result) {
    const uint64_t sourceSize = ends.sourceSize;
    const uint32_t sourceCrc = ends.sourceCrc;
    if (sourceSize == originalSize) return applyBps(patch, patchSize, original, originalSize, result);
    // The patch is for the image without the original's copier header.
    if (originalSize == sourceSize + COPIER_HEADER_SIZE &&
        crc32Of(original + COPIER_HEADER_SIZE, originalSize - COPIER_HEADER_SIZE) == sourceCrc) {
        PatchResult r = applyBps(patch, patchSize, original + COPIER_HEADER_SIZE, originalSize - COPIER_HEADER_SIZE,
                                 result);
        if (r.ok()) {
            result.insert(result.begin(), original, original + COPIER_HEADER_SIZE);
            r.copierHeader = CopierHeader::SetAside;
        }
        return r;
    }
    // The patch is for the image with a copier header the original lacks.
    if (sourceSize == uint64_t(originalSize) + COPIER_HEADER_SIZE) {
        for (const std::vector<uint8_t>& header : likelyCopierHeaders(originalSize)) {
            const uint32_t headerCrc = crc32Of(header.data(), header.size());
            if (libdeflate_crc32(headerCrc, original, originalSize) != sourceCrc) continue;
            std::vector<uint8_t> withHeader(header);
            withHeader.insert(withHeader.end(), original, original + originalSize);
            PatchResult r = applyBps(patch, patchSize, withHeader.data(), withHeader.size(), result);
            if (!r.ok()) return r;
            if (result.size() < COPIER_HEADER_SIZE) break;  // no header to take away: refused below
            result.erase(result.begin(), result.begin() + COPIER_HEADER_SIZE);
            r.copierHeader = CopierHeader::Restored;
            return r;
        }
    }
    return applyBps(patch, patchSize, original, originalSize, result);
}

// Whether bytes are the patch's result: its size and its CRC32.
bool isTarget(const BpsEnds& ends, const uint8_t* bytes, size_t size) {
    return size == ends.targetSize && crc32Of(bytes, size) == ends.targetCrc;
}

PatchResult applyBpsWithCopierRule(const uint8_t* patch, size_t patchSize, const uint8_t* original,
                                   size_t originalSize, std::vector<uint8_t>& result) {
    BpsEnds ends;
    if (!bpsEnds(patch, patchSize, ends)) return applyBps(patch, patchSize, original, originalSize, result);
    PatchResult r = applyBpsToEitherForm(patch, patchSize, original, originalSize, ends, result);
    if (r.outcome != PatchOutcome::SourceSizeMismatch && r.outcome != PatchOutcome::SourceCrcMismatch) return r;
    const bool withHeader = originalSize >= COPIER_HEADER_SIZE &&
                            isTarget(ends, original + COPIER_HEADER_SIZE, originalSize - COPIER_HEADER_SIZE);
    if (withHeader || isTarget(ends, original, originalSize)) {
        r.outcome = PatchOutcome::AlreadyApplied;
        r.expected = ends.targetCrc;
        r.copierHeader = withHeader ? CopierHeader::SetAside : CopierHeader::AsGiven;
    }
    return r;
}

}  // namespace

size_t copierHeaderOf(uint64_t imageSize) {
    return (imageSize & ROM_BLOCK_MASK) == COPIER_HEADER_SIZE ? COPIER_HEADER_SIZE : 0;
}

PatchFormat patchFormatOf(const std::string& path) {
    if (endsWith(path, ".ips")) return PatchFormat::Ips;
    if (endsWith(path, ".bps")) return PatchFormat::Bps;
    return PatchFormat::Unknown;
}

uint32_t crc32Of(const uint8_t* bytes, size_t length) { return libdeflate_crc32(0, bytes, length); }

PatchOutcome createPatch(PatchFormat format, const uint8_t* original, size_t originalSize, const uint8_t* modified,
                         size_t modifiedSize, std::vector<uint8_t>& patch) {
    switch (format) {
        case PatchFormat::Ips: return createIps(original, originalSize, modified, modifiedSize, patch);
        case PatchFormat::Bps: return createBps(original, originalSize, modified, modifiedSize, patch);
        case PatchFormat::Unknown: break;
    }
    return PatchOutcome::UnknownFormat;
}

PatchResult applyPatch(PatchFormat format, const uint8_t* patch, size_t patchSize, const uint8_t* original,
                       size_t originalSize, std::vector<uint8_t>& result) {
    PatchResult r;
    switch (format) {
        case PatchFormat::Ips:
            r = applyIps(patch, patchSize, original, originalSize, result);
            if (r.ok() && copierHeaderOf(originalSize) > 0) r.copierHeader = CopierHeader::Suspected;
            if (r.ok()) {
                r.changesNothing =
                    result.size() == originalSize && std::equal(result.begin(), result.end(), original);
            }
            return r;
        case PatchFormat::Bps:
            return applyBpsWithCopierRule(patch, patchSize, original, originalSize, result);
        case PatchFormat::Unknown:
            break;
    }
    r.outcome = PatchOutcome::UnknownFormat;
    return r;
}
