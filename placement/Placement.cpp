#include "placement/Placement.h"

#include "rom/HeaderLayout.h"

#include <algorithm>

namespace {

constexpr uint32_t ONE_KIB = 1024;

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

}  // namespace

bool fitsInPlace(const PlacementInput& input, const StreamToPlace& stream) {
    const Span old = input.streams[stream.block];
    if (stream.length > old.length()) return false;
    const Span written{old.start, old.start + stream.length};
    if (written.overlaps(input.header) || written.overlaps(input.directory)) return false;
    for (const Span& fixed : input.fixed) {
        if (fixed.overlaps(written)) return false;
    }
    for (size_t other = 0; other < input.streams.size(); ++other) {
        if (static_cast<int>(other) != stream.block && input.streams[other].overlaps(old)) return false;
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
            return {FreeRangeProblem::OutsideRomData, i, -1};
        }
        if (range.overlaps(input.header)) return {FreeRangeProblem::OverlapsHeader, i, -1};
        if (range.overlaps(input.directory)) return {FreeRangeProblem::OverlapsDirectory, i, -1};
        for (size_t fixed = 0; fixed < input.fixed.size(); ++fixed) {
            if (range.overlaps(input.fixed[fixed])) {
                return {FreeRangeProblem::OverlapsFixed, i, static_cast<int>(fixed)};
            }
        }
        for (size_t graphic = 0; graphic < input.streams.size(); ++graphic) {
            if (range.overlaps(input.streams[graphic])) {
                return {FreeRangeProblem::OverlapsGraphic, i, static_cast<int>(graphic)};
            }
        }
    }
    return {};
}

PlacementPlan placeStreams(const PlacementInput& input) {
    PlacementPlan plan;
    plan.romDataSize = input.romDataSize;

    std::vector<bool> staysPut(input.streams.size(), true);
    std::vector<bool> inPlace(input.changed.size(), false);
    for (size_t i = 0; i < input.changed.size(); ++i) {
        inPlace[i] = fitsInPlace(input, input.changed[i]);
        if (!inPlace[i]) staysPut[input.changed[i].block] = false;
    }

    // Room in the order it is used: the free ranges, then the bytes the
    // graphics moved out leave, less what any graphic that stays uses.
    SpanSet freeRanges, vacated;
    for (const Span& range : input.freeRanges) freeRanges.add(range);
    for (size_t graphic = 0; graphic < input.streams.size(); ++graphic) {
        if (!staysPut[graphic]) vacated.add(input.streams[graphic]);
    }
    freeRanges.normalise();
    vacated.normalise();
    for (size_t graphic = 0; graphic < input.streams.size(); ++graphic) {
        if (staysPut[graphic]) vacated.remove(input.streams[graphic]);
    }
    for (SpanSet* room : {&freeRanges, &vacated}) {
        room->remove(input.header);
        room->remove(input.directory);
        for (const Span& fixed : input.fixed) room->remove(fixed);
        room->remove({usableEnd(input.romDataSize), UINT32_MAX});
    }

    uint64_t appendAt = input.romDataSize;
    for (size_t i = 0; i < input.changed.size(); ++i) {
        const StreamToPlace& stream = input.changed[i];
        Placement placement{stream.block, input.streams[stream.block].start, PlaceKind::InPlace};
        if (!inPlace[i]) {
            const auto fail = [&](PlacementPlan::Outcome outcome) {
                plan.outcome = outcome;
                plan.block = stream.block;
                return plan;
            };
            if (stream.length > LOROM_BANK_SIZE) return fail(PlacementPlan::LongerThanBank);
            if (freeRanges.find(stream.length, stream.region, placement.offset)) {
                placement.kind = PlaceKind::FreeRange;
            } else if (vacated.find(stream.length, stream.region, placement.offset)) {
                placement.kind = PlaceKind::Vacated;
            } else {
                if (!stream.mayGrow) {
                    plan.largestRoom = std::max(freeRanges.largest(stream.region), vacated.largest(stream.region));
                    return fail(PlacementPlan::NoRoom);
                }
                if (SpanSet::bankEnd(appendAt) - appendAt < stream.length) appendAt = SpanSet::bankEnd(appendAt);
                if (appendAt + stream.length > LOROM_DATA_LIMIT) return fail(PlacementPlan::PastLoRomLimit);
                placement.offset = static_cast<uint32_t>(appendAt);
                placement.kind = PlaceKind::Appended;
                appendAt += stream.length;
            }
            const Span taken{placement.offset, placement.offset + stream.length};
            freeRanges.remove(taken);
            vacated.remove(taken);
        }
        plan.placements.push_back(placement);
    }
    if (appendAt > input.romDataSize) plan.romDataSize = grownRomDataSize(static_cast<uint32_t>(appendAt));
    return plan;
}
