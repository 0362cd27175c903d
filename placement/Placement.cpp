#include "placement/Placement.h"

#include "rom/HeaderLayout.h"

#include <algorithm>

namespace {

// A set of disjoint spans, kept sorted, that can lose bytes.
class SpanSet {
public:
    void add(const Span& span) {
        if (span.start < span.end) spans.push_back(span);
    }

    // Sorts the spans and joins those that touch or overlap.
    void normalise() {
        std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
        std::vector<Span> joined;
        for (const Span& span : spans) {
            if (!joined.empty() && span.start <= joined.back().end) {
                joined.back().end = std::max(joined.back().end, span.end);
            } else {
                joined.push_back(span);
            }
        }
        spans = std::move(joined);
    }

    void remove(const Span& taken) {
        std::vector<Span> left;
        for (const Span& span : spans) {
            if (!span.overlaps(taken)) {
                left.push_back(span);
                continue;
            }
            if (span.start < taken.start) left.push_back({span.start, taken.start});
            if (taken.end < span.end) left.push_back({taken.end, span.end});
        }
        spans = std::move(left);
    }

    // The first offset, lowest first, where length bytes fit inside one
    // span and inside region without crossing a bank; false when none.
    bool find(uint32_t length, const Span& region, uint32_t& offset) const {
        for (const Span& span : spans) {
            uint64_t start = std::max(span.start, region.start);
            const uint64_t end = std::min(span.end, region.end);
            if (bankEnd(start) - start < length) start = bankEnd(start);
            if (start + length <= end) {
                offset = static_cast<uint32_t>(start);
                return true;
            }
        }
        return false;
    }

    // The longest run of bytes inside region and one bank.
    uint32_t largest(const Span& region) const {
        uint64_t most = 0;
        for (const Span& span : spans) {
            uint64_t start = std::max(span.start, region.start);
            const uint64_t end = std::min(span.end, region.end);
            for (; start < end; start = bankEnd(start)) most = std::max(most, std::min(end, bankEnd(start)) - start);
        }
        return static_cast<uint32_t>(most);
    }

    static uint64_t bankEnd(uint64_t offset) { return (offset / LOROM_BANK_SIZE + 1) * LOROM_BANK_SIZE; }

private:
    std::vector<Span> spans;
};

// Where the room for placements ends: the end of the ROM data, or the
// 4 MiB that LoROM can address when the data goes further.
uint32_t usableEnd(uint32_t romDataSize) { return std::min(romDataSize, LOROM_DATA_LIMIT); }

bool overlapsAny(const std::vector<Span>& spans, const Span& span) {
    return std::any_of(spans.begin(), spans.end(), [&](const Span& other) { return other.overlaps(span); });
}

// The room that blocks moving out of their place may take, in the order it
// is used: the free ranges, then the bytes the blocks moved out leave (less
// what any block that stays still uses), then new space at the end of the
// ROM data. Nothing reserved and nothing past the usable end is room.
class Room {
public:
    Room(const PlacementInput& input, const std::vector<bool>& staysPut) : appendAt(input.romDataSize) {
        for (const Span& range : input.freeRanges) freeRanges.add(range);
        for (size_t block = 0; block < input.blocks.size(); ++block) {
            if (!staysPut[block]) vacated.add(input.blocks[block]);
        }
        freeRanges.normalise();
        vacated.normalise();
        for (size_t block = 0; block < input.blocks.size(); ++block) {
            if (staysPut[block]) vacated.remove(input.blocks[block]);
        }
        for (SpanSet* room : {&freeRanges, &vacated}) {
            for (const Span& reserved : input.reserved) room->remove(reserved);
            room->remove({usableEnd(input.romDataSize), UINT32_MAX});
        }
    }

    // Finds the first room for block and takes it: placement then says
    // where and how. A refusal leaves largestRoom, for NoRoom, at the
    // largest room the block's region had left.
    PlacementPlan::Outcome take(const BlockToPlace& block, Placement& placement, uint32_t& largestRoom) {
        if (block.length > LOROM_BANK_SIZE) return PlacementPlan::LongerThanBank;
        if (freeRanges.find(block.length, block.region, placement.offset)) {
            placement.kind = PlaceKind::FreeRange;
        } else if (vacated.find(block.length, block.region, placement.offset)) {
            placement.kind = PlaceKind::Vacated;
        } else if (!block.mayGrow) {
            largestRoom = std::max(freeRanges.largest(block.region), vacated.largest(block.region));
            return PlacementPlan::NoRoom;
        } else {
            if (SpanSet::bankEnd(appendAt) - appendAt < block.length) appendAt = SpanSet::bankEnd(appendAt);
            if (appendAt + block.length > LOROM_DATA_LIMIT) return PlacementPlan::PastLoRomLimit;
            placement.offset = static_cast<uint32_t>(appendAt);
            placement.kind = PlaceKind::Appended;
            appendAt += block.length;
        }
        const Span taken{placement.offset, placement.offset + block.length};
        freeRanges.remove(taken);
        vacated.remove(taken);
        return PlacementPlan::Placed;
    }

    // Where the new space taken at the end of the ROM data ends.
    uint64_t appendedEnd() const { return appendAt; }

private:
    SpanSet freeRanges, vacated;
    uint64_t appendAt;
};

}  // namespace

bool fitsInPlace(const PlacementInput& input, const BlockToPlace& block) {
    const Span old = input.blocks[block.block];
    if (block.length > old.length()) return false;
    if (overlapsAny(input.reserved, {old.start, old.start + block.length})) return false;
    for (size_t other = 0; other < input.blocks.size(); ++other) {
        if (static_cast<int>(other) != block.block && input.blocks[other].overlaps(old)) return false;
    }
    return true;
}

uint32_t grownRomDataSize(uint32_t end) {
    uint64_t size = ONE_KIB;
    while (size < end) size *= 2;
    return static_cast<uint32_t>(std::min<uint64_t>(size, UINT32_MAX));
}

FreeRangeProblem checkFreeRanges(const PlacementInput& input) {
    for (size_t i = 0; i < input.freeRanges.size(); ++i) {
        const Span range = input.freeRanges[i];
        if (range.start >= range.end || range.end > usableEnd(input.romDataSize)) {
            return {FreeRangeProblem::OutsideRomData, i, 0, -1};
        }
        for (size_t reserved = 0; reserved < input.reserved.size(); ++reserved) {
            if (range.overlaps(input.reserved[reserved])) return {FreeRangeProblem::OverlapsReserved, i, reserved, -1};
        }
        for (size_t block = 0; block < input.blocks.size(); ++block) {
            if (range.overlaps(input.blocks[block])) {
                return {FreeRangeProblem::OverlapsBlock, i, 0, static_cast<int>(block)};
            }
        }
    }
    return {};
}

PlacementPlan placeBlocks(const PlacementInput& input) {
    PlacementPlan plan;
    plan.romDataSize = input.romDataSize;
    std::vector<bool> inPlace(input.changed.size(), false);
    std::vector<bool> staysPut(input.blocks.size(), true);
    for (size_t i = 0; i < input.changed.size(); ++i) {
        inPlace[i] = fitsInPlace(input, input.changed[i]);
        if (!inPlace[i]) staysPut[input.changed[i].block] = false;
    }
    Room room(input, staysPut);
    for (size_t i = 0; i < input.changed.size(); ++i) {
        const BlockToPlace& block = input.changed[i];
        Placement placement{block.block, input.blocks[block.block].start, PlaceKind::InPlace};
        if (!inPlace[i]) plan.outcome = room.take(block, placement, plan.largestRoom);
        if (plan.outcome != PlacementPlan::Placed) {
            plan.block = block.block;
            return plan;
        }
        plan.placements.push_back(placement);
    }
    if (room.appendedEnd() > input.romDataSize) {
        plan.romDataSize = grownRomDataSize(static_cast<uint32_t>(room.appendedEnd()));
    }
    return plan;
}

std::vector<Span> mergeOverlapping(std::vector<Span>& ranges) {
    std::vector<bool> merged(ranges.size(), false);
    // A range grown by a merge may reach another one: look again until no
    // two overlap. The command line holds few ranges.
    for (bool again = true; again;) {
        again = false;
        for (size_t i = 0; i < ranges.size() && !again; ++i) {
            for (size_t j = i + 1; j < ranges.size() && !again; ++j) {
                if (!ranges[i].overlaps(ranges[j])) continue;
                ranges[i] = {std::min(ranges[i].start, ranges[j].start), std::max(ranges[i].end, ranges[j].end)};
                merged[i] = true;
                ranges.erase(ranges.begin() + static_cast<std::ptrdiff_t>(j));
                merged.erase(merged.begin() + static_cast<std::ptrdiff_t>(j));
                again = true;
            }
        }
    }
    std::vector<Span> grown;
    for (size_t i = 0; i < ranges.size(); ++i) {
        if (merged[i]) grown.push_back(ranges[i]);
    }
    return grown;
}
