// The insertion's round trip over arbitrary edits: a small image of the
// game, whose directory the input may bend (records moved, streams
// shared), gets arbitrary edited graphics and free ranges; insertGraphics
// runs in memory. When it succeeds, every graphic of the new image decodes
// to its edit or to what it decoded to before, every byte the changes do
// not need is as it was, new streams cross no bank and meet nothing they
// must not, and the checksum pair is valid. When it refuses, the reason
// is checked against what the input holds.
//
// Input: a flags byte (1 copier header, 2 --allow-resize, 4 no free range
// for the image's unused banks 2 to 5, so that streams go to the end and
// the image grows: rarer, as growing costs a fresh image), then
// operations until the end:
//   0 edit     graphic, position (2), count, bytes: written over its edit
//   1 resize   graphic, length (2): the edit cut or grown with a pattern
//   2 free     start (3), end (3): one more free range, right or wrong
//   3 record   graphic, address (3): the record points elsewhere
//   4 share    graphic, graphic: the first record takes the second's address
//   5 noise    graphic, length (2), seed: the edit becomes noise that does
//              not compress (long streams, the bank limit)
#include "fuzz/FuzzSupport.h"
#include "rom/Checksum.h"
#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"
#include "tests/sample/SampleRom.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicCodec.h"
#include "insertion/Insertion.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr uint32_t SKELETON_SIZE = 0x40000;
constexpr uint32_t DATA_OFFSET = 0x38000;
constexpr Span UNUSED_BANKS{0x10000, 0x30000};

// Every graphic with a stream of its own, sizes 0 to 300, except that
// each odd graphic from 161 on reads the stream of the graphic before it
// (with its own size, so the two spans differ).
const std::vector<uint8_t>& skeleton() {
    static const std::vector<uint8_t> image = [] {
        ImageBuilder builder(SKELETON_SIZE);
        uint32_t offset = DATA_OFFSET, previous = DATA_OFFSET;
        for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
            const uint16_t size = static_cast<uint16_t>((graphic * 37) % 301);
            if (graphic > 160 && graphic % 2 == 1) {
                builder.record(graphic, size, fileToLoRom(previous));
                continue;
            }
            std::vector<uint8_t> bytes(std::max<uint16_t>(size, 1));
            for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i % 5 == 0 ? i * graphic : 0x11);
            const std::vector<uint8_t> stream = compressGraphic(bytes.data(), bytes.size());
            builder.bytes(offset, stream).record(graphic, size, fileToLoRom(offset));
            previous = offset;
            offset += static_cast<uint32_t>(stream.size());
        }
        return builder.image;
    }();
    return image;
}

// Edits held in memory; missing unless set.
class MemoryEdits : public EditSource {
public:
    std::vector<std::vector<uint8_t>> edits = std::vector<std::vector<uint8_t>>(GRAPHICS_COUNT);
    std::vector<bool> present = std::vector<bool>(GRAPHICS_COUNT);

    Outcome read(int graphic, uint8_t* buffer, uint32_t& length) override {
        if (!present[graphic]) return Missing;
        const std::vector<uint8_t>& edit = edits[graphic];
        if (edit.size() > LARGEST_GRAPHIC) return TooLarge;
        std::copy(edit.begin(), edit.end(), buffer);
        length = static_cast<uint32_t>(edit.size());
        return Read;
    }
};

// A graphic as the image before insertion holds it.
struct Original {
    bool readable = false;
    Span stream{0, 0};
    std::vector<uint8_t> bytes;
};

uint32_t recordOffset(int graphic) { return GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * graphic; }

uint32_t readLittle(const uint8_t* at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | at[i];
    return value;
}

// The ROM data offset that the game's reader (and the walk) takes for a
// record's address, lower half of a bank included; negative below the
// ROM data.
int64_t romOffset(uint32_t address) {
    return (int64_t((address >> 16) & 0xFF) - 0x80) * LOROM_BANK_SIZE + (address & 0xFFFF) - int64_t{LOROM_BANK_SIZE};
}

// Decodes graphic j of ROM data romData (romSize bytes) on its own terms
// into g, whose memory is reused: the stream must begin and end inside the
// ROM data.
void decodeOriginal(const uint8_t* romData, uint32_t romSize, int graphic, Original& g) {
    g.readable = false;
    g.stream = {0, 0};
    g.bytes.clear();
    const uint8_t* record = romData + recordOffset(graphic);
    const uint16_t unpackedSize = static_cast<uint16_t>(readLittle(record + RECORD_UNPACKED_SIZE, 2));
    const uint32_t address = readLittle(record + RECORD_DATA_ADDRESS, 3);
    const int64_t start = romOffset(address);
    if (start < 0 || start >= romSize) return;
    g.bytes.resize(std::max<uint16_t>(unpackedSize, 1));
    const GraphicDecode decoded = decodeGraphic(romData + start, romSize - start, unpackedSize, g.bytes.data());
    if (start + decoded.packedLength > romSize) return;
    g.readable = true;
    g.stream = {static_cast<uint32_t>(start), static_cast<uint32_t>(start + decoded.packedLength)};
}

struct Case {
    // A copier header's room, then the ROM data.
    std::vector<uint8_t> image = std::vector<uint8_t>(COPIER_HEADER_SIZE + SKELETON_SIZE, 0x5C);
    uint8_t* romData() { return image.data() + COPIER_HEADER_SIZE; }
    bool copierHeader = false;
    InsertSettings settings;
    MemoryEdits edits;
};

// Noise that does not compress: a window, chosen by the seed, of one
// block made once.
void fillNoise(std::vector<uint8_t>& edit, uint8_t seed) {
    static const std::vector<uint8_t> block = noiseBytes(LARGEST_GRAPHIC + 1 + 256, 0x9E3779B9u);
    std::copy(block.begin() + seed, block.begin() + seed + static_cast<std::ptrdiff_t>(edit.size()), edit.begin());
}

void readCase(FuzzInput& input, Case& c, std::vector<Original>& originals) {
    std::copy(skeleton().begin(), skeleton().end(), c.romData());
    const uint8_t flags = input.byte();
    c.copierHeader = flags & 1;
    c.settings.allowResize = flags & 2;
    c.settings.freeRanges.clear();
    if ((flags & 4) == 0) c.settings.freeRanges.push_back(UNUSED_BANKS);
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) c.edits.present[graphic] = false;

    // The directory first, then the edits over what it then decodes to.
    struct Op { uint8_t kind; int graphic; uint32_t a, b; std::vector<uint8_t> bytes; };
    std::vector<Op> ops;
    while (!input.empty()) {
        Op op{static_cast<uint8_t>(input.byte() % 6), input.byte() % GRAPHICS_COUNT, 0, 0, {}};
        switch (op.kind) {
            case 0: op.a = input.word(); op.bytes = input.bytes(input.byte()); break;
            case 1: op.a = input.word(); break;
            case 2: op.a = static_cast<uint32_t>(op.graphic) << 16 | input.word(); op.b = input.long24(); break;
            case 3: op.a = input.long24(); break;
            case 4: op.a = input.byte() % GRAPHICS_COUNT; break;
            case 5: op.a = input.word(); op.b = input.byte(); break;
        }
        ops.push_back(std::move(op));
    }
    for (const Op& op : ops) {
        uint8_t* record = c.romData() + recordOffset(op.graphic);
        if (op.kind == 3) {
            for (int i = 0; i < 3; ++i) record[RECORD_DATA_ADDRESS + i] = static_cast<uint8_t>(op.a >> (8 * i));
        } else if (op.kind == 4) {
            std::memcpy(record + RECORD_DATA_ADDRESS, c.romData() + recordOffset(static_cast<int>(op.a)) + RECORD_DATA_ADDRESS, 3);
        } else if (op.kind == 2) {
            c.settings.freeRanges.push_back({op.a, op.b});
        }
    }
    // Only records change above, and no stream of the skeleton lies in the
    // directory: a graphic whose record is the skeleton's decodes as there.
    static const std::vector<Original> skeletonGraphics = [] {
        std::vector<Original> graphics(GRAPHICS_COUNT);
        for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
            decodeOriginal(skeleton().data(), SKELETON_SIZE, graphic, graphics[graphic]);
        }
        return graphics;
    }();
    originals.resize(GRAPHICS_COUNT);
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        const uint32_t record = recordOffset(graphic);
        if (std::memcmp(c.romData() + record, skeleton().data() + record, GRAPHIC_RECORD_SIZE) == 0) {
            originals[graphic] = skeletonGraphics[graphic];
        } else {
            decodeOriginal(c.romData(), SKELETON_SIZE, graphic, originals[graphic]);
        }
    }
    for (const Op& op : ops) {
        std::vector<uint8_t>& edit = c.edits.edits[op.graphic];
        if (op.kind == 0 || op.kind == 1 || op.kind == 5) {
            if (!c.edits.present[op.graphic]) edit = originals[op.graphic].bytes;
            c.edits.present[op.graphic] = true;
        }
        if (op.kind == 0 && !edit.empty()) {
            for (size_t i = 0; i < op.bytes.size(); ++i) edit[(op.a + i) % edit.size()] = op.bytes[i];
        } else if (op.kind == 1) {
            const size_t kept = edit.size();
            edit.resize(op.a % 3000);  // new bytes 0, every seventh one its position
            for (size_t i = (kept + 6) / 7 * 7; i < edit.size(); i += 7) edit[i] = static_cast<uint8_t>(i);
        } else if (op.kind == 5) {
            edit.resize(op.a + 1u);
            fillNoise(edit, static_cast<uint8_t>(op.b));
        }
    }
}

bool crossesBank(uint32_t start, uint32_t length) {
    return start / LOROM_BANK_SIZE != (start + length - 1) / LOROM_BANK_SIZE;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceConsole();
    skeleton();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    static Case c;
    // Every edit has room for the largest from the start: a run that has
    // to allocate more than it frees makes libFuzzer run it again to look
    // for a leak.
    static const bool roomy = [] {
        for (std::vector<uint8_t>& edit : c.edits.edits) edit.reserve(LARGEST_GRAPHIC + 1);
        return true;
    }();
    (void)roomy;
    static std::vector<Original> originals;
    static RomImage rom;
    readCase(input, c, originals);

    // One object for every input, which keeps its memory (a grown image's
    // too); the copier header is decided by the image's length alone.
    const uint32_t h = c.copierHeader ? COPIER_HEADER_SIZE : 0;
    rom.hasCopierHeader = 0;
    FUZZ_CHECK(rom.assign(c.romData() - h, h + SKELETON_SIZE) == 0);
    FUZZ_CHECK(rom.hasCopierHeader == c.copierHeader);

    const InsertResult result = insertGraphics(rom, c.edits, c.settings);
    FUZZ_CHECK(result.outcome != InsertResult::Mismatch);

    // What each graphic must become; the first graphic the survey refuses.
    int firstRefused = GRAPHICS_COUNT;
    InsertResult::Outcome refusal = InsertResult::Done;
    std::vector<bool> changed(GRAPHICS_COUNT, false);
    for (int graphic = 0; graphic < GRAPHICS_COUNT && firstRefused == GRAPHICS_COUNT; ++graphic) {
        const Original& o = originals[graphic];
        const std::vector<uint8_t>& edit = c.edits.edits[graphic];
        if (!o.readable) {
            refusal = InsertResult::ReadError;
        } else if (!c.edits.present[graphic]) {
            continue;
        } else if (edit.size() > LARGEST_GRAPHIC) {
            refusal = InsertResult::EditTooLarge;
        } else if (edit.empty()) {
            refusal = InsertResult::EditEmpty;
        } else if (edit.size() != o.bytes.size() && !c.settings.allowResize) {
            refusal = InsertResult::WrongSize;
        } else {
            changed[graphic] = edit != o.bytes;
            continue;
        }
        firstRefused = graphic;
    }
    if (firstRefused < GRAPHICS_COUNT) {
        FUZZ_CHECK(result.outcome == refusal);
        FUZZ_CHECK(result.graphic == firstRefused);
        return 0;
    }
    FUZZ_CHECK(result.outcome != InsertResult::ReadError && result.outcome != InsertResult::EditEmpty &&
               result.outcome != InsertResult::WrongSize && result.outcome != InsertResult::EditTooLarge &&
               result.outcome != InsertResult::EditUnreadable);

    // Free ranges: inside the ROM data, clear of the header and its
    // vectors, the directory and every stream.
    bool rangesRight = true;
    const Span header{LOROM_HEADER_OFFSET, LOROM_HEADER_OFFSET + HEADER_AND_VECTORS_SIZE};
    const Span directory{GRAPHICS_DIRECTORY_OFFSET, recordOffset(GRAPHICS_COUNT)};
    for (const Span& range : c.settings.freeRanges) {
        bool right = range.start < range.end && range.end <= SKELETON_SIZE && !range.overlaps(header) &&
                     !range.overlaps(directory);
        for (const Original& o : originals) right = right && !range.overlaps(o.stream);
        rangesRight = rangesRight && right;
    }
    FUZZ_CHECK((result.outcome == InsertResult::BadFreeRange) == !rangesRight);
    if (!rangesRight) return 0;

    if (result.outcome == InsertResult::LongerThanBank) {
        FUZZ_CHECK(changed[result.graphic]);
        FUZZ_CHECK(result.graphic >= 0);
        const std::vector<uint8_t>& edit = c.edits.edits[result.graphic];
        FUZZ_CHECK(compressGraphicReference(edit.data(), edit.size()).size() > LOROM_BANK_SIZE);
        return 0;
    }
    if (result.outcome == InsertResult::StreamOverChangedFields) {
        FUZZ_CHECK(!changed[result.graphic]);
        FUZZ_CHECK(originals[result.graphic].stream.overlaps(header) || originals[result.graphic].stream.overlaps(directory));
        return 0;
    }
    if (result.outcome == InsertResult::PastLoRomLimit) {
        FUZZ_CHECK(changed[result.graphic]);
        return 0;
    }
    FUZZ_CHECK(result.outcome == InsertResult::Done);

    // The new image: the copier header as it was, a size of 2^n KiB when it
    // grew, every graphic as meant.
    const uint32_t newSize = rom.romDataSize();
    const uint8_t* newData = rom.romData();
    FUZZ_CHECK(std::all_of(rom.data.get(), rom.data.get() + h, [](uint8_t b) { return b == 0x5C; }));
    FUZZ_CHECK(newSize == result.newRomDataSize && result.oldRomDataSize == SKELETON_SIZE);
    FUZZ_CHECK(newSize <= LOROM_DATA_LIMIT && (newSize & (newSize - 1)) == 0 && newSize >= SKELETON_SIZE);
    // Bytes the changes may touch: new streams, their records, the
    // checksum pair, the ROM-size byte.
    std::vector<Span> touched;
    std::vector<bool> staysPut(GRAPHICS_COUNT, true);
    for (const GraphicChange& change : result.changes) staysPut[change.graphic] = change.kind == PlaceKind::InPlace;
    int changes = 0;
    static Original now;
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        decodeOriginal(newData, newSize, graphic, now);
        FUZZ_CHECK(now.readable);
        FUZZ_CHECK(now.bytes == (changed[graphic] ? c.edits.edits[graphic] : originals[graphic].bytes));
        if (!changed[graphic]) continue;
        const GraphicChange& change = result.changes.at(changes++);
        FUZZ_CHECK(change.graphic == graphic);
        FUZZ_CHECK(now.stream.length() == change.newLength);
        if (change.kind == PlaceKind::InPlace) {
            FUZZ_CHECK(now.stream.start == originals[graphic].stream.start &&
                       now.stream.end <= originals[graphic].stream.end);
        } else {
            FUZZ_CHECK(!crossesBank(now.stream.start, now.stream.length()));
            FUZZ_CHECK(!now.stream.overlaps(header) && !now.stream.overlaps(directory));
            // Clear of every stream that stays where it was.
            for (int other = 0; other < GRAPHICS_COUNT; ++other) {
                if (staysPut[other]) FUZZ_CHECK(!now.stream.overlaps(originals[other].stream));
            }
        }
        touched.push_back(now.stream);
        touched.push_back({recordOffset(graphic), recordOffset(graphic + 1)});
    }
    FUZZ_CHECK(changes == static_cast<int>(result.changes.size()));
    // New streams never meet each other.
    for (size_t a = 0; a < result.changes.size(); ++a) {
        for (size_t b = a + 1; b < result.changes.size(); ++b) {
            const GraphicChange& x = result.changes[a];
            const GraphicChange& y = result.changes[b];
            const uint32_t ax = static_cast<uint32_t>(romOffset(x.newAddress));
            const uint32_t ay = static_cast<uint32_t>(romOffset(y.newAddress));
            const Span sx{ax, ax + x.newLength}, sy{ay, ay + y.newLength};
            FUZZ_CHECK(!sx.overlaps(sy));
        }
    }

    if (changes == 0) {
        FUZZ_CHECK(newSize == SKELETON_SIZE && std::memcmp(newData, c.romData(), SKELETON_SIZE) == 0);
        return 0;
    }
    const uint32_t pairAt = LOROM_HEADER_OFFSET + HEADER_CHECKSUM_COMPLEMENT;
    touched.push_back({pairAt, pairAt + 4});
    if (newSize > SKELETON_SIZE) touched.push_back({LOROM_HEADER_OFFSET + HEADER_ROM_SIZE, LOROM_HEADER_OFFSET + HEADER_ROM_SIZE + 1});
    touched.push_back({SKELETON_SIZE, UINT32_MAX});
    std::sort(touched.begin(), touched.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
    uint32_t same = 0;
    for (const Span& span : touched) {
        const uint32_t end = std::min(span.start, SKELETON_SIZE);
        if (end > same) FUZZ_CHECK(std::memcmp(newData + same, c.romData() + same, end - same) == 0);
        same = std::max(same, span.end);
    }
    const uint8_t* pair = newData + LOROM_HEADER_OFFSET + HEADER_CHECKSUM_COMPLEMENT;
    const uint32_t complement = readLittle(pair, 2), checksum = readLittle(pair + 2, 2);
    FUZZ_CHECK((complement ^ checksum) == 0xFFFF);
    FUZZ_CHECK(checksum == romChecksum(newData, newSize));
    if (newSize > SKELETON_SIZE) FUZZ_CHECK((1024u << newData[LOROM_HEADER_OFFSET + HEADER_ROM_SIZE]) == newSize);
    return 0;
}
