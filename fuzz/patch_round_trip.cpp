// Making a patch from an arbitrary pair and applying it: the result is the
// modified file, byte for byte, in both formats.
//
// Input: a flags byte, the original's length (2 bytes) and bytes, then
// operations that build the modified file until the end:
//   0 literal  count, bytes
//   1 source   offset (2), length (2): bytes of the original (moved data)
//   2 run      length (2, taken modulo 4096), value
//   3 target   distance (2), length (2): bytes of the modified file so far,
//              copied byte by byte (repeats)
// The modified file stops growing past 64 KiB (large enough for tables of
// matches of several sizes; every byte more only makes a run slower, and
// the formats read no further for it). Flag 1: the original loses
// its second half after the operations (bytes copied from it then come from
// nowhere in the new original). Offset 0x454F46 is left to the unit tests:
// images that large make each run a hundred times slower.
#include "fuzz/FuzzSupport.h"
#include "patch/Patch.h"

#include <algorithm>

namespace {

constexpr size_t MOST_MODIFIED = size_t(64) << 10;

void roundTrip(PatchFormat format, const std::vector<uint8_t>& original, const std::vector<uint8_t>& modified) {
    static std::vector<uint8_t> patch, result;
    const PatchOutcome made =
        createPatch(format, original.data(), original.size(), modified.data(), modified.size(), patch);
    FUZZ_CHECK(made == PatchOutcome::Done);
    const PatchResult r = applyPatch(format, patch.data(), patch.size(), original.data(), original.size(), result);
    FUZZ_CHECK(r.ok());
    FUZZ_CHECK(result == modified);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceConsole();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t flags = input.byte();
    // Memory kept from one input to the next.
    static std::vector<uint8_t> original, modified;
    original = input.bytes(input.word());
    modified.clear();
    while (!input.empty() && modified.size() <= MOST_MODIFIED) {
        switch (input.byte() % 4) {
            case 0:
                for (size_t count = input.byte(); count > 0 && !input.empty(); --count) {
                    modified.push_back(input.byte());
                }
                break;
            case 1: {
                const size_t offset = input.word(), length = input.word() % 2048;
                for (size_t i = 0; i < length && offset + i < original.size(); ++i) {
                    modified.push_back(original[offset + i]);
                }
                break;
            }
            case 2: {
                const size_t length = input.word() % 4096;
                modified.insert(modified.end(), length, input.byte());
                break;
            }
            case 3: {
                const size_t distance = input.word() + 1u, length = input.word() % 2048;
                if (distance > modified.size()) break;
                const size_t from = modified.size() - distance;
                for (size_t i = 0; i < length; ++i) modified.push_back(modified[from + i]);
                break;
            }
        }
    }
    if (flags & 1) original.resize(original.size() / 2);
    roundTrip(PatchFormat::Ips, original, modified);
    roundTrip(PatchFormat::Bps, original, modified);
    return 0;
}
