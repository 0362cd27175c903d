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

// The reserved span of headerAndDirectory that span lies on; -1 for none.
int reservedUnder(const std::vector<Span>& reserved, const Span& span) {
    for (size_t r = 0; r < reserved.size(); ++r) {
        if (reserved[r].overlaps(span)) return static_cast<int>(r);
    }
    return -1;
}

}  // namespace

ReservedOverlap tableOverReserved(const RomImage& rom, const std::vector<PointerTable>& tables) {
    const std::vector<Span> reserved = headerAndDirectory(rom);
    ReservedOverlap overlap;
    for (size_t t = 0; t < tables.size(); ++t) {
        const uint64_t end = uint64_t{tables[t].offset} + uint64_t{tables[t].count} * tables[t].width();
        const Span span{tables[t].offset, static_cast<uint32_t>(std::min<uint64_t>(end, UINT32_MAX))};
        const int r = reservedUnder(reserved, span);
        if (r < 0) continue;
        overlap.kind = ReservedOverlap::Table;
        overlap.span = span;
        overlap.reserved = static_cast<size_t>(r);
        overlap.table = t;
        return overlap;
    }
    return overlap;
}

ReservedOverlap stringOverReserved(const RomImage& rom, const std::vector<GameString>& strings) {
    const std::vector<Span> reserved = headerAndDirectory(rom);
    ReservedOverlap overlap;
    for (size_t s = 0; s < strings.size(); ++s) {
        const Span span{strings[s].offset, strings[s].offset + strings[s].length};
        const int r = reservedUnder(reserved, span);
        if (r < 0) continue;
        overlap.kind = ReservedOverlap::String;
        overlap.span = span;
        overlap.reserved = static_cast<size_t>(r);
        overlap.string = s;
        return overlap;
    }
    return overlap;
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
