// Applying arbitrary patches to arbitrary originals: no crash and no read
// or write out of bounds, and whatever is accepted keeps its promises: a
// BPS result has the size and the CRC32 its patch declares, from an
// original of the declared size and CRC32.
//
// Input: a mode byte, the original's length (2 bytes) and bytes, then the
// patch. Mode bit 0: BPS (else IPS). Mode bit 1 (BPS): the patch is built
// around the rest of the input, so that its actions run: "BPS1", the
// original's size, the input, then the original's CRC32, a target CRC32
// and the patch's own; when only the target's CRC32 is refused, the patch
// is made again with the CRC32 found and must then be accepted.
#include "fuzz/FuzzSupport.h"
#include "patch/Patch.h"
#include "rom/HeaderLayout.h"

#include <algorithm>
#include <cstring>

namespace {

void putLittle32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t readLittle32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

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

std::vector<uint8_t> builtBps(const std::vector<uint8_t>& original, const std::vector<uint8_t>& body,
                              uint32_t targetCrc) {
    std::vector<uint8_t> patch{'B', 'P', 'S', '1'};
    putNumber(patch, original.size());
    patch.insert(patch.end(), body.begin(), body.end());
    putLittle32(patch, crc32Of(original.data(), original.size()));
    putLittle32(patch, targetCrc);
    putLittle32(patch, crc32Of(patch.data(), patch.size()));
    return patch;
}

// What an accepted BPS result must be.
void checkBps(const std::vector<uint8_t>& patch, const std::vector<uint8_t>& original, const PatchResult& r,
              const std::vector<uint8_t>& result) {
    const bool alreadyApplied = r.outcome == PatchOutcome::AlreadyApplied;
    if (!r.ok() && !alreadyApplied) return;
    const uint8_t* footer = patch.data() + patch.size() - 12;
    const size_t h = COPIER_HEADER_SIZE;
    if (alreadyApplied) {
        // The original, or it without its header, is the patch's result.
        const size_t skipped = r.copierHeader == CopierHeader::SetAside ? h : 0;
        FUZZ_CHECK(original.size() >= skipped);
        FUZZ_CHECK(crc32Of(original.data() + skipped, original.size() - skipped) == readLittle32(footer + 4));
        FUZZ_CHECK(r.expected == readLittle32(footer + 4));
        return;
    }
    switch (r.copierHeader) {
        case CopierHeader::AsGiven:
            FUZZ_CHECK(crc32Of(original.data(), original.size()) == readLittle32(footer));
            FUZZ_CHECK(crc32Of(result.data(), result.size()) == readLittle32(footer + 4));
            break;
        case CopierHeader::SetAside:
            FUZZ_CHECK(original.size() >= h && result.size() >= h);
            FUZZ_CHECK(std::memcmp(result.data(), original.data(), h) == 0);
            FUZZ_CHECK(crc32Of(original.data() + h, original.size() - h) == readLittle32(footer));
            FUZZ_CHECK(crc32Of(result.data() + h, result.size() - h) == readLittle32(footer + 4));
            break;
        case CopierHeader::Restored:
            break;  // the header restored is not in either file
        case CopierHeader::Suspected:
            FUZZ_CHECK(false);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceConsole();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t mode = input.byte();
    const std::vector<uint8_t> original = input.bytes(input.word());
    const std::vector<uint8_t> rest = input.rest();
    static std::vector<uint8_t> result;
    if ((mode & 1) == 0) {
        const PatchResult r = applyPatch(PatchFormat::Ips, rest.data(), rest.size(), original.data(), original.size(), result);
        if (r.ok()) FUZZ_CHECK(result.size() <= std::max<uint64_t>(original.size(), IPS_LIMIT));
        return 0;
    }
    if ((mode & 2) == 0) {
        const PatchResult r = applyPatch(PatchFormat::Bps, rest.data(), rest.size(), original.data(), original.size(), result);
        checkBps(rest, original, r, result);
        return 0;
    }
    std::vector<uint8_t> patch = builtBps(original, rest, 0);
    PatchResult r = applyBps(patch.data(), patch.size(), original.data(), original.size(), result);
    FUZZ_CHECK(r.outcome != PatchOutcome::PatchCrcMismatch && r.outcome != PatchOutcome::SourceCrcMismatch &&
               r.outcome != PatchOutcome::SourceSizeMismatch);
    if (r.outcome == PatchOutcome::TargetCrcMismatch) {
        FUZZ_CHECK(r.found == crc32Of(result.data(), result.size()));
        patch = builtBps(original, rest, static_cast<uint32_t>(r.found));
        r = applyBps(patch.data(), patch.size(), original.data(), original.size(), result);
        FUZZ_CHECK(r.ok());
    }
    checkBps(patch, original, r, result);
    return 0;
}
