#include "insert/Insertion.h"

#include "rom/HeaderLayout.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicCodec.h"
#include "graphics/GraphicsDirectory.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr uint32_t ONE_KIB = 1024;

// A graphic as the first walk found it, and what it becomes.
struct GraphicState {
    GraphicRecord record;
    Span stream;                      // its current stream
    bool changed = false;
    std::vector<uint8_t> decoded;     // unchanged: the bytes it decodes to
    uint16_t newSizeField = 0;        // changed: its record's size field
    std::vector<uint8_t> newStream;   // changed: checked to decode to the edit
};

void storeRecordField(RomImage& rom, int graphic, uint32_t field, uint32_t value, size_t bytes) {
    uint8_t little[3];
    for (size_t i = 0; i < bytes; ++i) little[i] = static_cast<uint8_t>(value >> (8 * i));
    rom.writeBytes(GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * static_cast<uint32_t>(graphic) + field, little,
                   bytes);
}

uint8_t sizeExponent(uint32_t romDataSize) {
    uint8_t n = 0;
    while ((uint64_t{ONE_KIB} << n) < romDataSize) ++n;
    return n;
}

// Walks the directory, reading each graphic's edit beside it, and encodes
// every changed one into its new stream.
InsertResult survey(RomImage& rom, EditSource& edits, bool allowResize, std::vector<GraphicState>& states) {
    InsertResult result;
    const std::unique_ptr<uint8_t[]> edit(new uint8_t[LARGEST_GRAPHIC + 1]);
    // Streams are made here, checked and kept at their exact length.
    const std::unique_ptr<uint8_t[]> stream(new uint8_t[compressedBound(LARGEST_GRAPHIC)]);
    const std::unique_ptr<uint8_t[]> check(new uint8_t[LARGEST_GRAPHIC]);
    states.assign(GRAPHICS_COUNT, GraphicState());
    auto refuse = [&](InsertResult::Outcome outcome, int graphic) {
        result.outcome = outcome;
        result.graphic = graphic;
        return false;
    };
    const DirectoryWalk walk = walkGraphicsDirectory(rom, [&](const DecodedGraphic& g) {
        GraphicState& state = states[g.number];
        state.record = g.record;
        const uint32_t start = g.dataIndex - rom.headerBytes();
        state.stream = {start, start + g.decoded.packedLength};
        const uint8_t* decoded = g.bytes;
        const uint32_t decodedSize = g.decoded.producedLength;

        uint32_t length = 0;
        switch (edits.read(g.number, edit.get(), length)) {
            case EditSource::Missing: state.decoded.assign(decoded, decoded + decodedSize); return true;
            case EditSource::Read: break;
            case EditSource::TooLarge: return refuse(InsertResult::EditTooLarge, g.number);
            case EditSource::Unreadable: return refuse(InsertResult::EditUnreadable, g.number);
        }
        if (length == 0) return refuse(InsertResult::EditEmpty, g.number);
        if (length != decodedSize && !allowResize) {
            result.editSize = length;
            result.graphicSize = decodedSize;
            return refuse(InsertResult::WrongSize, g.number);
        }
        state.changed = length != decodedSize || std::memcmp(edit.get(), decoded, length) != 0;
        if (!state.changed) {
            state.decoded.assign(decoded, decoded + decodedSize);
            return true;
        }
        // A one-byte graphic keeps a size field of 0.
        state.newSizeField = length == decodedSize ? g.record.unpackedSize : static_cast<uint16_t>(length);
        const size_t streamLength = compressGraphicInto(edit.get(), length, stream.get());
        const GraphicDecode back = decodeGraphic(stream.get(), streamLength, state.newSizeField, check.get());
        if (back.packedLength != streamLength || back.producedLength != length ||
            std::memcmp(check.get(), edit.get(), length) != 0) {
            return refuse(InsertResult::Mismatch, g.number);
        }
        state.newStream.assign(stream.get(), stream.get() + streamLength);
        return true;
    });
    if (walk.outcome == DirectoryWalk::ReadError) refuse(InsertResult::ReadError, walk.graphic);
    return result;
}

PlacementInput placementInput(const RomImage& rom, const std::vector<GraphicState>& states,
                              const InsertSettings& settings) {
    PlacementInput input;
    input.romDataSize = rom.romDataSize();
    uint32_t header = 0;
    rom.findInternalHeader(header);
    header -= rom.headerBytes();
    input.header = {header, header + INTERNAL_HEADER_SIZE};
    input.directory = {GRAPHICS_DIRECTORY_OFFSET, GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * GRAPHICS_COUNT};
    input.freeRanges = settings.freeRanges;
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        const GraphicState& state = states[graphic];
        input.streams.push_back(state.stream);
        if (state.changed) input.changed.push_back({graphic, static_cast<uint32_t>(state.newStream.size())});
    }
    return input;
}

// The bytes outside the new streams that the plan changes: the fields of
// the records that change, the checksum pair, the ROM-size byte when the
// image grows.
std::vector<Span> changedFields(const std::vector<GraphicState>& states, const PlacementPlan& plan,
                                const PlacementInput& input) {
    std::vector<Span> fields;
    for (const Placement& placement : plan.placements) {
        const GraphicState& state = states[placement.graphic];
        const uint32_t record = GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * static_cast<uint32_t>(placement.graphic);
        if (placement.kind != PlaceKind::InPlace) {
            fields.push_back({record + RECORD_DATA_ADDRESS, record + RECORD_DATA_ADDRESS + 3});
        }
        if (state.newSizeField != state.record.unpackedSize) {
            fields.push_back({record + RECORD_UNPACKED_SIZE, record + RECORD_UNPACKED_SIZE + 2});
        }
    }
    if (!plan.placements.empty()) {
        const uint32_t pair = input.header.start + HEADER_CHECKSUM_COMPLEMENT;
        fields.push_back({pair, pair + 4});
    }
    if (plan.romDataSize > input.romDataSize) {
        fields.push_back({input.header.start + HEADER_ROM_SIZE, input.header.start + HEADER_ROM_SIZE + 1});
    }
    return fields;
}

// A graphic that stays as it is but whose stream reads one of those bytes
// would no longer decode as it did; -1 when there is none.
int graphicOverChangedFields(const std::vector<GraphicState>& states, const std::vector<Span>& fields) {
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        if (states[graphic].changed) continue;
        for (const Span& field : fields) {
            if (states[graphic].stream.overlaps(field)) return graphic;
        }
    }
    return -1;
}

// Writes the plan into the image: new space, streams, records, the ROM
// size when it grew, the checksum.
void applyPlan(RomImage& rom, const std::vector<GraphicState>& states, const PlacementPlan& plan,
               InsertResult& result) {
    result.oldRomDataSize = rom.romDataSize();
    result.newRomDataSize = plan.romDataSize;
    if (plan.romDataSize > rom.romDataSize()) {
        rom.growRomData(plan.romDataSize, NEW_SPACE_FILL);
        rom.setRomSizeExponent(sizeExponent(plan.romDataSize));
    }
    for (const Placement& placement : plan.placements) {
        const GraphicState& state = states[placement.graphic];
        rom.writeBytes(placement.offset, state.newStream.data(), state.newStream.size());
        const uint32_t address = placement.kind == PlaceKind::InPlace ? state.record.dataAddress
                                                                      : fileToLoRom(placement.offset);
        if (address != state.record.dataAddress) {
            storeRecordField(rom, placement.graphic, RECORD_DATA_ADDRESS, address, 3);
        }
        if (state.newSizeField != state.record.unpackedSize) {
            storeRecordField(rom, placement.graphic, RECORD_UNPACKED_SIZE, state.newSizeField, 2);
        }
        result.changes.push_back({placement.graphic, state.record.dataAddress, state.stream.length(), address,
                                  static_cast<uint32_t>(state.newStream.size()), placement.kind});
    }
    if (!plan.placements.empty()) rom.updateChecksum();
}

// Walks the new image: every graphic must decode to exactly what it is
// meant to. An unchanged graphic's bytes are compared as decoded; a
// changed graphic must be read from exactly its new stream, with its new
// size, which decoded to its edit when it was made. -1 when all hold, else
// the first graphic that does not.
int firstMismatch(RomImage& rom, const std::vector<GraphicState>& states) {
    const DirectoryWalk walk = walkGraphicsDirectory(rom, [&](const DecodedGraphic& g) {
        const GraphicState& state = states[g.number];
        if (!state.changed) {
            return g.decoded.producedLength == state.decoded.size() &&
                   std::memcmp(g.bytes, state.decoded.data(), state.decoded.size()) == 0;
        }
        const std::vector<uint8_t>& stream = state.newStream;
        return g.record.unpackedSize == state.newSizeField && g.decoded.packedLength == stream.size() &&
               std::memcmp(&rom.data[g.dataIndex], stream.data(), stream.size()) == 0;
    });
    return walk.outcome == DirectoryWalk::Complete ? -1 : walk.graphic;
}

}  // namespace

InsertResult insertGraphics(RomImage& rom, EditSource& edits, const InsertSettings& settings) {
    std::vector<GraphicState> states;
    InsertResult result = survey(rom, edits, settings.allowResize, states);
    if (result.outcome != InsertResult::Done) return result;

    const PlacementInput input = placementInput(rom, states, settings);
    result.freeRange = checkFreeRanges(input);
    if (result.freeRange.kind != FreeRangeProblem::None) {
        result.outcome = InsertResult::BadFreeRange;
        result.graphic = result.freeRange.graphic;
        return result;
    }
    const PlacementPlan plan = placeStreams(input);
    if (plan.outcome != PlacementPlan::Placed) {
        result.outcome = plan.outcome == PlacementPlan::LongerThanBank ? InsertResult::LongerThanBank
                                                                       : InsertResult::PastLoRomLimit;
        result.graphic = plan.graphic;
        return result;
    }

    const int reader = graphicOverChangedFields(states, changedFields(states, plan, input));
    if (reader >= 0) {
        result.outcome = InsertResult::StreamOverChangedFields;
        result.graphic = reader;
        return result;
    }

    applyPlan(rom, states, plan, result);
    const int mismatch = firstMismatch(rom, states);
    if (mismatch >= 0) {
        result.outcome = InsertResult::Mismatch;
        result.graphic = mismatch;
        result.changes.clear();
    }
    return result;
}
