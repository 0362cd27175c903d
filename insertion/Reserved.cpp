#include "insertion/Reserved.h"

#include "graphics/GameLayout.h"
#include "rom/HeaderLayout.h"

std::vector<Span> headerAndDirectory(const RomImage& rom) {
    uint32_t header = 0;
    rom.findInternalHeader(header);
    header -= rom.headerBytes();
    return {{header, header + HEADER_AND_VECTORS_SIZE},
            {GRAPHICS_DIRECTORY_OFFSET, GRAPHICS_DIRECTORY_OFFSET + GRAPHIC_RECORD_SIZE * GRAPHICS_COUNT}};
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
