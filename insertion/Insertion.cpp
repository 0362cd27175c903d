#include "insertion/Insertion.h"

#include "rom/HeaderLayout.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicCodec.h"
#include "graphics/GraphicsDirectory.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// A graphic as the image held it, and what it becomes.
struct GraphicState {
    GraphicRecord record;
    Span stream{0, 0};          // its current stream
    bool changed = false;
    uint16_t newSizeField = 0;  // changed: its record's size field
    uint32_t newLength = 0;     // changed: its new stream's length
    uint32_t newStart = 0;      // changed: where its new stream lies
    uint32_t newAddress = 0;    // changed: its record's address
    bool writtenInPlace = false;
    std::vector<uint8_t> held;  // changed, not yet written: its new stream until it is placed
    // How many writes the image had had when this graphic's bytes there
    // were last known to decode as meant: none for a graphic left as it is,
    // whose bytes are the input's.
    size_t checkedAt = 0;
};

// Every write the insertion makes to the image, in order: the last check
// tells from it whether any write reached a graphic's bytes after they
// were known to decode as meant.
class WriteLog {
public:
    explicit WriteLog(RomImage& rom) : rom(rom) {}

    bool write(uint32_t offset, const uint8_t* bytes, size_t length) {
        note({offset, static_cast<uint32_t>(offset + length)});
        return rom.writeBytes(offset, bytes, length);
    }
    // A write the image made itself (its size, its checksum).
    void note(const Span& span) { spans.push_back(span); }
    size_t count() const { return spans.size(); }
    bool untouchedSince(size_t first, const Span& bytes) const {
        return std::none_of(spans.begin() + static_cast<std::ptrdiff_t>(first), spans.end(),
                            [&](const Span& written) { return written.overlaps(bytes); });
    }

private:
    RomImage& rom;
    std::vector<Span> spans;
};

uint32_t recordField(int graphic, uint32_t field) {
    return GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * static_cast<uint32_t>(graphic) + field;
}

class Insertion {
public:
    Insertion(RomImage& rom, EditSource& edits, const InsertSettings& settings)
        : rom(rom), edits(edits), settings(settings), states(GRAPHICS_COUNT), log(rom) {}

    InsertResult run();

private:
    void boundStreams();
    void survey();
    bool surveyGraphic(const DecodedGraphic& g);
    std::vector<Span> changedFields(const PlacementPlan& plan) const;
    int graphicOverChangedFields(const std::vector<Span>& fields) const;
    int applyPlan(const PlacementPlan& plan);
    bool storeRecordField(int graphic, uint32_t field, uint32_t value, size_t bytes);
    int firstMismatch();

    bool refuse(InsertResult::Outcome outcome, int graphic) {
        result.outcome = outcome;
        result.graphic = graphic;
        return false;
    }

    RomImage& rom;
    EditSource& edits;
    const InsertSettings& settings;
    std::vector<GraphicState> states;
    PlacementInput input;
    WriteLog log;
    InsertResult result;
    // One graphic at a time: its edit, its new stream, the stream decoded.
    const std::unique_ptr<uint8_t[]> edit{new uint8_t[LARGEST_GRAPHIC + 1]};
    const std::unique_ptr<uint8_t[]> stream{new uint8_t[compressedBound(LARGEST_GRAPHIC)]};
    const std::unique_ptr<uint8_t[]> check{new uint8_t[LARGEST_GRAPHIC]};
};

// What may not be written over, and for every graphic's stream, before
// the walk finds where it ends, the bytes it can reach at most: a record
// that cannot be read could reach any byte.
void Insertion::boundStreams() {
    input.romDataSize = rom.romDataSize();
    input.reserved = headerAndDirectory(rom);
    input.freeRanges = settings.freeRanges;
    input.blocks.assign(GRAPHICS_COUNT, {0, UINT32_MAX});
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        GraphicRecord record;
        uint32_t dataIndex = 0;
        if (!readGraphicRecord(rom, graphic, record, dataIndex) || dataIndex < rom.headerBytes()) continue;
        const uint64_t start = dataIndex - rom.headerBytes();
        const uint64_t reach = start + compressedBound(std::max<uint32_t>(record.unpackedSize, 1));
        input.blocks[graphic] = {static_cast<uint32_t>(start),
                                 static_cast<uint32_t>(std::min<uint64_t>(reach, UINT32_MAX))};
    }
}

// Walks the directory, reading each graphic's edit beside it. A changed
// graphic's new stream is made and, when it is sure to stay in place,
// written at once over bytes that no other graphic reads; else it is held
// until placement. Either way it is decoded where it lies.
void Insertion::survey() {
    const DirectoryWalk walk = walkGraphicsDirectory(rom, [&](const DecodedGraphic& g) { return surveyGraphic(g); });
    if (walk.outcome == DirectoryWalk::ReadError) refuse(InsertResult::ReadError, walk.graphic);
}

bool Insertion::surveyGraphic(const DecodedGraphic& g) {
    GraphicState& state = states[g.number];
    state.record = g.record;
    const uint32_t start = g.dataIndex - rom.headerBytes();
    state.stream = {start, start + g.decoded.packedLength};
    input.blocks[g.number] = state.stream;
    const uint32_t decodedSize = g.decoded.producedLength;
    uint32_t length = 0;
    switch (edits.read(g.number, edit.get(), length)) {
        case EditSource::Missing: return true;
        case EditSource::Read: break;
        case EditSource::TooLarge: return refuse(InsertResult::EditTooLarge, g.number);
        case EditSource::Unreadable: return refuse(InsertResult::EditUnreadable, g.number);
        case EditSource::NotAFile: return refuse(InsertResult::EditNotAFile, g.number);
    }
    if (length == 0) return refuse(InsertResult::EditEmpty, g.number);
    if (length != decodedSize && !settings.allowResize) {
        result.editSize = length;
        result.graphicSize = decodedSize;
        return refuse(InsertResult::WrongSize, g.number);
    }
    state.changed = length != decodedSize || std::memcmp(edit.get(), g.bytes, length) != 0;
    if (!state.changed) return true;

    // A one-byte graphic keeps a size field of 0.
    state.newSizeField = length == decodedSize ? g.record.unpackedSize : static_cast<uint16_t>(length);
    state.newLength = static_cast<uint32_t>(compressGraphicInto(edit.get(), length, stream.get()));
    const BlockToPlace placing{g.number, state.newLength, {0, UINT32_MAX}, true};
    input.changed.push_back(placing);
    // The graphics still to come are known by the bytes they can reach, so
    // a stream that fits in place now fits once every stream is known.
    const uint8_t* lies;
    if (fitsInPlace(input, placing)) {
        if (!log.write(state.stream.start, stream.get(), state.newLength)) {
            return refuse(InsertResult::Mismatch, g.number);
        }
        state.writtenInPlace = true;
        state.newStart = state.stream.start;
        lies = rom.romData() + state.stream.start;
    } else {
        state.held.assign(stream.get(), stream.get() + state.newLength);
        lies = state.held.data();
    }
    const GraphicDecode back = decodeGraphic(lies, state.newLength, state.newSizeField, check.get());
    if (back.packedLength != state.newLength || back.producedLength != length ||
        std::memcmp(check.get(), edit.get(), length) != 0) {
        return refuse(InsertResult::Mismatch, g.number);
    }
    state.checkedAt = log.count();
    return true;
}

// The bytes outside the new streams that the plan changes: the fields of
// the records that change, the checksum pair, the ROM-size byte when the
// image grows.
std::vector<Span> Insertion::changedFields(const PlacementPlan& plan) const {
    std::vector<Span> fields;
    for (const Placement& placement : plan.placements) {
        const GraphicState& state = states[placement.block];
        const uint32_t address = recordField(placement.block, RECORD_DATA_ADDRESS);
        const uint32_t size = recordField(placement.block, RECORD_UNPACKED_SIZE);
        if (placement.kind != PlaceKind::InPlace) fields.push_back({address, address + 3});
        if (state.newSizeField != state.record.unpackedSize) fields.push_back({size, size + 2});
    }
    const uint32_t header = input.reserved[RESERVED_HEADER].start;
    if (!plan.placements.empty()) {
        const uint32_t pair = header + HEADER_CHECKSUM_COMPLEMENT;
        fields.push_back({pair, pair + 4});
    }
    if (plan.romDataSize > input.romDataSize) {
        fields.push_back({header + HEADER_ROM_SIZE, header + HEADER_ROM_SIZE + 1});
    }
    return fields;
}

// A graphic that stays as it is but whose stream reads one of those bytes
// would no longer decode as it did; -1 when there is none.
int Insertion::graphicOverChangedFields(const std::vector<Span>& fields) const {
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        if (states[graphic].changed) continue;
        for (const Span& field : fields) {
            if (states[graphic].stream.overlaps(field)) return graphic;
        }
    }
    return -1;
}

bool Insertion::storeRecordField(int graphic, uint32_t field, uint32_t value, size_t bytes) {
    uint8_t little[3];
    for (size_t i = 0; i < bytes; ++i) little[i] = static_cast<uint8_t>(value >> (8 * i));
    return log.write(recordField(graphic, field), little, bytes);
}

// Writes the rest of the plan into the image: new space, the streams that
// move, records, the ROM size when it grew, the checksum. -1 when all is
// written, else the graphic at which the image refused a write or the plan
// differed from the survey.
int Insertion::applyPlan(const PlacementPlan& plan) {
    result.oldRomDataSize = rom.romDataSize();
    result.newRomDataSize = plan.romDataSize;
    const uint32_t header = input.reserved[RESERVED_HEADER].start;
    if (plan.romDataSize > rom.romDataSize()) {
        const Span added{rom.romDataSize(), plan.romDataSize};
        if (!growImage(rom, plan.romDataSize)) return plan.placements.front().block;
        log.note(added);
        log.note({header + HEADER_ROM_SIZE, header + HEADER_ROM_SIZE + 1});
    }
    std::vector<Span> taken;  // in free ranges
    for (const Placement& placement : plan.placements) {
        GraphicState& state = states[placement.block];
        if (state.writtenInPlace && placement.kind != PlaceKind::InPlace) return placement.block;
        if (!state.writtenInPlace) {
            // The bytes that decoded to the edit, now where they lie.
            if (!log.write(placement.offset, state.held.data(), state.newLength)) return placement.block;
            const uint8_t* lands = rom.romData() + placement.offset;
            if (std::memcmp(lands, state.held.data(), state.newLength) != 0) return placement.block;
            state.newStart = placement.offset;
            state.checkedAt = log.count();
        }
        state.newAddress =
            placement.kind == PlaceKind::InPlace ? state.record.dataAddress : fileToLoRom(placement.offset);
        if ((state.newAddress != state.record.dataAddress &&
             !storeRecordField(placement.block, RECORD_DATA_ADDRESS, state.newAddress, 3)) ||
            (state.newSizeField != state.record.unpackedSize &&
             !storeRecordField(placement.block, RECORD_UNPACKED_SIZE, state.newSizeField, 2))) {
            return placement.block;
        }
        result.changes.push_back({placement.block, state.record.dataAddress, state.stream.length(),
                                  state.newAddress, state.newLength, placement.kind});
        if (placement.kind == PlaceKind::FreeRange) {
            taken.push_back({placement.offset, placement.offset + state.newLength});
        }
    }
    FreeRoomLeft room = freeRoomLeft(input.freeRanges, taken);
    result.freeLeft = std::move(room.left);
    result.freeUsed = std::move(room.used);
    if (!plan.placements.empty()) {
        if (!rom.updateChecksum()) return plan.placements.front().block;
        log.note({header + HEADER_CHECKSUM_COMPLEMENT, header + HEADER_CHECKSUM + 2});
    }
    return -1;
}

// Walks the records of the new image: each must describe the graphic's
// stream where it is meant to lie, and no write may have reached those
// bytes since they were known to decode as meant (a graphic left as it is:
// since the input, which the survey decoded; a changed one: since its new
// stream was decoded to its edit). The decoder reads nothing but those
// bytes, so every graphic decodes to exactly what it is meant to. -1 when
// all hold, else the first graphic that does not.
int Insertion::firstMismatch() {
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        const GraphicState& state = states[graphic];
        GraphicRecord record;
        uint32_t dataIndex = 0;
        if (!readGraphicRecord(rom, graphic, record, dataIndex)) return graphic;
        const Span meant = state.changed ? Span{state.newStart, state.newStart + state.newLength} : state.stream;
        const uint32_t address = state.changed ? state.newAddress : state.record.dataAddress;
        const uint16_t size = state.changed ? state.newSizeField : state.record.unpackedSize;
        if (record.unpackedSize != size || record.dataAddress != address ||
            dataIndex != rom.headerBytes() + meant.start || !log.untouchedSince(state.checkedAt, meant)) {
            return graphic;
        }
    }
    return -1;
}

InsertResult Insertion::run() {
    boundStreams();
    survey();
    if (result.outcome != InsertResult::Done) return result;

    result.freeRange = freeRangeRefusal(checkFreeRanges(input), 0, Obstacle::Graphic);
    if (result.freeRange.kind != FreeRangeRefusal::None) {
        refuse(InsertResult::BadFreeRange, result.freeRange.graphic);
        return result;
    }
    const PlacementPlan plan = placeBlocks(input);
    if (plan.outcome != PlacementPlan::Placed) {
        refuse(plan.outcome == PlacementPlan::LongerThanBank ? InsertResult::LongerThanBank
                                                             : InsertResult::PastLoRomLimit,
               plan.block);
        return result;
    }
    const int reader = graphicOverChangedFields(changedFields(plan));
    if (reader >= 0) {
        refuse(InsertResult::StreamOverChangedFields, reader);
        return result;
    }

    int mismatch = applyPlan(plan);
    if (mismatch < 0) mismatch = firstMismatch();
    if (mismatch >= 0) {
        refuse(InsertResult::Mismatch, mismatch);
        result.changes.clear();
    }
    return result;
}

}  // namespace

InsertResult insertGraphics(RomImage& rom, EditSource& edits, const InsertSettings& settings) {
    return Insertion(rom, edits, settings).run();
}
