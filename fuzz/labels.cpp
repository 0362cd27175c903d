// The label reader and key expansion, over arbitrary label files and keys.
//
// Input: a count of keys (1 byte, up to 7 used), the keys (4 bytes each), a
// byte whose lowest bit reads the file a second time, then the label file.
// Every key, and the key of each of the first labels read, is expanded into
// a heap buffer of exactly the room the contract promises: 31 characters
// when a label has the key, 8 for the placeholder. A character written
// past it is caught by AddressSanitizer.
#include "fuzz/FuzzSupport.h"
#include "rom/RomImage.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int32_t TEXT_ROOM = 31;
constexpr int32_t PLACEHOLDER_ROOM = 8;
constexpr size_t LABELS_EXPANDED = 8;

const LabelEntry* firstLabel(const RomImage& rom, uint32_t key) {
    for (const LabelEntry& label : rom.labels) {
        if (label.key == key) return &label;
    }
    return nullptr;
}

void expand(const RomImage& rom, uint32_t key) {
    const LabelEntry* label = firstLabel(rom, key);
    const int32_t room = label ? TEXT_ROOM : PLACEHOLDER_ROOM;
    std::unique_ptr<char[]> out(new char[static_cast<size_t>(room)]);
    int32_t pos = 0;
    rom.expandKey(key, out.get(), pos);
    FUZZ_CHECK(pos >= 0 && pos <= room);

    if (label) {
        FUZZ_CHECK(pos == static_cast<int32_t>(std::strlen(label->text)));
        FUZZ_CHECK(std::memcmp(out.get(), label->text, static_cast<size_t>(pos)) == 0);
        return;
    }
    // "{", the first (up to six) digits of "%04x", "}".
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04x", static_cast<unsigned>(key));
    const int32_t shown = std::min<int32_t>(static_cast<int32_t>(std::strlen(digits)), 6);
    FUZZ_CHECK(pos == shown + 2);
    FUZZ_CHECK(out[0] == '{' && out[pos - 1] == '}');
    FUZZ_CHECK(std::memcmp(out.get() + 1, digits, static_cast<size_t>(shown)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceConsole();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    std::vector<uint32_t> keys(input.byte() % 8);
    for (uint32_t& key : keys) key = input.dword();
    const bool twice = input.byte() & 1;
    const std::vector<uint8_t> file = input.rest();

    const std::string& path = scratchPath("labels.txt");
    writeScratch(path, file.data(), file.size());
    RomImage rom;
    FUZZ_CHECK(rom.loadLabels(path.c_str()) == 0);
    const size_t once = rom.labels.size();
    if (twice) {
        FUZZ_CHECK(rom.readLabels() == 0);
        FUZZ_CHECK(rom.labels.size() == 2 * once);
    }
    // Every label's text is terminated within its field, and not empty.
    for (const LabelEntry& label : rom.labels) {
        const size_t length = strnlen(label.text, sizeof label.text);
        FUZZ_CHECK(length >= 1 && length < sizeof label.text);
    }

    for (uint32_t key : keys) expand(rom, key);
    for (size_t i = 0; i < rom.labels.size() && i < LABELS_EXPANDED; ++i) expand(rom, rom.labels[i].key);
    return 0;
}
