#include "insertion/Reserved.h"

#include "graphics/GameLayout.h"
#include "rom/HeaderLayout.h"

#include <algorithm>

std::vector<Span> headerAndDirectory(const RomImage& rom) {
    uint32_t header = 0;
    rom.findInternalHeader(header);
    header -= rom.headerBytes();
    return {{header, header + HEADER_AND_VECTORS_SIZE},
            {GRAPHICS_DIRECTORY_OFFSET, GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * GRAPHICS_COUNT}};
}

namespace {

// The first of count spans, spanOf(i), that lies on the header or the
// directory.
template <typename SpanOf>
ReservedOverlap firstOverReserved(const RomImage& rom, ReservedOverlap::Kind kind, size_t count, SpanOf spanOf) {
    const std::vector<Span> reserved = headerAndDirectory(rom);
    for (size_t i = 0; i < count; ++i) {
        const Span span = spanOf(i);
        for (size_t r = 0; r < reserved.size(); ++r) {
            if (reserved[r].overlaps(span)) return {kind, r, i, span};
        }
    }
    return {};
}

}  // namespace

ReservedOverlap tableOverReserved(const RomImage& rom, const std::vector<PointerTable>& tables) {
    return firstOverReserved(rom, ReservedOverlap::Table, tables.size(), [&](size_t t) {
        const uint64_t end = uint64_t{tables[t].offset} + uint64_t{tables[t].count} * tables[t].width();
        return Span{tables[t].offset, static_cast<uint32_t>(std::min<uint64_t>(end, UINT32_MAX))};
    });
}

ReservedOverlap stringOverReserved(const RomImage& rom, const std::vector<GameString>& strings) {
    return firstOverReserved(rom, ReservedOverlap::String, strings.size(), [&](size_t s) {
        return Span{strings[s].offset, strings[s].offset + strings[s].length};
    });
}

FreeRangeRefusal freeRangeRefusal(const FreeRangeProblem& problem, size_t graphics, Obstacle blocks) {
    FreeRangeRefusal refusal;
    refusal.range = problem.range;
    auto in = [&](FreeRangeRefusal::Kind kind, Obstacle obstacle, size_t index) {
        refusal.kind = kind;
        refusal.obstacle = obstacle;
        switch (obstacle) {
            case Obstacle::Graphic: refusal.graphic = static_cast<int>(index); break;
            case Obstacle::PointerTable: refusal.pointerTable = index; break;
            case Obstacle::String: refusal.string = index; break;
        }
        return refusal;
    };
    const size_t firstGraphic = RESERVED_DIRECTORY + 1, firstTable = firstGraphic + graphics;
    switch (problem.kind) {
        case FreeRangeProblem::None: break;
        case FreeRangeProblem::OutsideRomData: refusal.kind = FreeRangeRefusal::OutsideRomData; break;
        case FreeRangeProblem::OverlapsReserved:
            if (problem.reserved == RESERVED_HEADER) {
                refusal.kind = FreeRangeRefusal::OverlapsHeader;
            } else if (problem.reserved == RESERVED_DIRECTORY) {
                refusal.kind = FreeRangeRefusal::OverlapsDirectory;
            } else if (problem.reserved < firstTable) {
                return in(FreeRangeRefusal::OverlapsFixed, Obstacle::Graphic, problem.reserved - firstGraphic);
            } else {
                return in(FreeRangeRefusal::OverlapsFixed, Obstacle::PointerTable, problem.reserved - firstTable);
            }
            break;
        case FreeRangeProblem::OverlapsBlock:
            return in(FreeRangeRefusal::OverlapsBlock, blocks, static_cast<size_t>(problem.block));
    }
    return refusal;
}

FreeRoomLeft freeRoomLeft(const std::vector<Span>& ranges, const std::vector<Span>& taken) {
    FreeRoomLeft room;
    room.left.assign(ranges.size(), 0);
    room.used.assign(ranges.size(), false);
    for (size_t r = 0; r < ranges.size(); ++r) {
        room.left[r] = ranges[r].length();
        for (const Span& span : taken) {
            const uint32_t shared = ranges[r].sharedWith(span);
            if (shared == 0) continue;
            room.left[r] -= shared;
            room.used[r] = true;
        }
    }
    return room;
}
