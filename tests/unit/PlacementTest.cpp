// Where changed blocks go: in place, free ranges, vacated spans, the end
// of the image; the bank and 4 MiB limits; free ranges the user got wrong.
#include "placement/Placement.h"

#include <gtest/gtest.h>


namespace {

constexpr uint32_t BANK = 0x8000;
constexpr uint32_t MIB = 0x100000;
constexpr Span HEADER{0x7FC0, 0x7FE0};
constexpr Span DIRECTORY{0x376F7, 0x37A44};

// Four blocks back to back in bank 7 unless a case says otherwise; the
// header and the directory reserved.
PlacementInput baseInput() {
    PlacementInput input;
    input.romDataSize = MIB;
    input.reserved = {HEADER, DIRECTORY};
    input.blocks = {{0x38000, 0x38100}, {0x38100, 0x38200}, {0x38200, 0x38300}, {0x38300, 0x38400}};
    return input;
}

TEST(Placement, EachBlockGoesWhereItFitsFirst) {
    using K = PlaceKind;
    const auto PLACED = PlacementPlan::Placed;
    struct Case {
        const char* name;
        std::vector<BlockToPlace> changed;
        std::vector<Span> freeRanges;
        std::vector<std::pair<size_t, Span>> blocks;  // blocks that differ from the base input
        uint32_t romDataSize;
        PlacementPlan::Outcome outcome;
        std::vector<Placement> placements;  // for a refusal: the block refused
        uint32_t grownSize;
    };
    const Span OLD1{0x38100, 0x38200};
    const Case table[] = {
        {"a shorter block stays in place", {{1, 0x80}}, {}, {}, MIB, PLACED, {{1, 0x38100, K::InPlace}}, MIB},
        {"a block of the old length stays in place", {{1, 0x100}}, {}, {}, MIB, PLACED,
         {{1, 0x38100, K::InPlace}}, MIB},
        {"a longer block goes to the first free range that holds it", {{1, 0x101}},
         {{0x50000, 0x50100}, {0x60000, 0x61000}}, {}, MIB, PLACED, {{1, 0x60000, K::FreeRange}}, MIB},
        {"free ranges are used lowest first, whatever their order", {{0, 0x200}, {1, 0x200}},
         {{0x70000, 0x71000}, {0x60000, 0x61000}}, {}, MIB, PLACED,
         {{0, 0x60000, K::FreeRange}, {1, 0x60200, K::FreeRange}}, MIB},
        {"moved blocks take the bytes they all leave, lowest first", {{0, 0x101}, {1, 0x101}, {2, 0x180}}, {}, {},
         MIB, PLACED, {{0, 0x38000, K::Vacated}, {1, 0x38101, K::Vacated}, {2, MIB, K::Appended}}, 2 * MIB},
        {"vacated bytes still used by another block are not taken", {{0, 0x90}, {1, 0x101}, {2, 0x80}}, {},
         {{3, {0x38080, 0x38090}}}, MIB, PLACED,  // block 3 lies inside block 0
         {{0, 0x38090, K::Vacated}, {1, MIB, K::Appended}, {2, 0x38200, K::InPlace}}, 2 * MIB},
        {"a shared block is never rewritten in place", {{1, 0x10}}, {}, {{2, OLD1}}, MIB, PLACED,
         {{1, MIB, K::Appended}}, 2 * MIB},
        {"a block that would cross a bank end starts the next bank", {{0, 0x101}}, {{0x4FF00, 0x50101}}, {}, MIB,
         PLACED, {{0, 0x50000, K::FreeRange}}, MIB},
        {"a block that fills a bank exactly ends on its last byte", {{0, BANK}}, {{0x48000, 0x50000}}, {}, MIB,
         PLACED, {{0, 0x48000, K::FreeRange}}, MIB},
        {"appended blocks skip to the next bank and the image grows to 2^n KiB", {{0, 0x7000}, {1, 0x2000}}, {},
         {}, 0x140000, PLACED, {{0, 0x140000, K::Appended}, {1, 0x148000, K::Appended}}, 2 * MIB},
        {"a free range never gives reserved bytes", {{0, 0x101}},
         {{0x7F00, 0x8000}, {0x37600, 0x37B00}}, {}, MIB, PLACED, {{0, MIB, K::Appended}}, 2 * MIB},
        {"a moved block longer than a bank is refused", {{0, 0x20}, {2, BANK + 1}}, {}, {}, MIB,
         PlacementPlan::LongerThanBank, {{2, 0, K::Appended}}, 0},
        {"a long block may stay in place across a bank end", {{0, 0x11000}}, {}, {{0, {0x40000, 0x52000}}}, MIB,
         PLACED, {{0, 0x40000, K::InPlace}}, MIB},
        {"the image may grow to exactly 4 MiB", {{0, BANK}}, {}, {}, 0x3F8000, PLACED,
         {{0, 0x3F8000, K::Appended}}, 4 * MIB},
        {"one byte past 4 MiB is refused", {{0, BANK}, {1, 0x201}}, {}, {}, 0x3F8000,
         PlacementPlan::PastLoRomLimit, {{1, 0, K::Appended}}, 0},
        {"a block that does not fit a full 4 MiB image is refused", {{3, 0x101}}, {}, {}, 4 * MIB,
         PlacementPlan::PastLoRomLimit, {{3, 0, K::Appended}}, 0},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.name);
        PlacementInput input = baseInput();
        input.romDataSize = c.romDataSize;
        input.changed = c.changed;
        input.freeRanges = c.freeRanges;
        for (const auto& [block, span] : c.blocks) input.blocks[block] = span;
        const PlacementPlan plan = placeBlocks(input);
        EXPECT_EQ(plan.outcome, c.outcome);
        if (c.outcome != PLACED) {
            EXPECT_EQ(plan.block, c.placements.at(0).block);
            continue;
        }
        ASSERT_EQ(plan.placements.size(), c.placements.size());
        for (size_t i = 0; i < c.placements.size(); ++i) {
            EXPECT_EQ(plan.placements[i].block, c.placements[i].block) << i;
            EXPECT_EQ(plan.placements[i].offset, c.placements[i].offset) << i;
            EXPECT_EQ(plan.placements[i].kind, c.placements[i].kind) << i;
        }
        EXPECT_EQ(plan.romDataSize, c.grownSize);
    }
}

TEST(GrownSize, IsTheNextPowerOfTwoKibibytes) {
    EXPECT_EQ(grownRomDataSize(MIB + 1), 2 * MIB);
    EXPECT_EQ(grownRomDataSize(2 * MIB), 2 * MIB);
    EXPECT_EQ(grownRomDataSize(0x300000), 4 * MIB);
    EXPECT_EQ(grownRomDataSize(0x48001), 0x80000u);
}

TEST(FreeRanges, WrongMapsAreNamedByRangeAndCause) {
    struct Wrong {
        Span range;
        FreeRangeProblem::Kind kind;
        size_t reserved;
        int block;
    };
    const Wrong cases[] = {
        {{0xFFF00, 0x100001}, FreeRangeProblem::OutsideRomData, 0, -1},
        {{0x7FDF, 0x7FF0}, FreeRangeProblem::OverlapsReserved, 0, -1},
        {{0x37A43, 0x37B00}, FreeRangeProblem::OverlapsReserved, 1, -1},
        {{0x382FF, 0x38301}, FreeRangeProblem::OverlapsBlock, 0, 2},
    };
    for (const Wrong& wrong : cases) {
        PlacementInput input = baseInput();
        input.freeRanges = {{0x60000, 0x61000}, wrong.range};
        const FreeRangeProblem problem = checkFreeRanges(input);
        EXPECT_EQ(problem.kind, wrong.kind) << std::hex << wrong.range.start;
        EXPECT_EQ(problem.range, 1u);
        EXPECT_EQ(problem.reserved, wrong.reserved);
        EXPECT_EQ(problem.block, wrong.block);
    }
    PlacementInput right = baseInput();
    right.freeRanges = {{0x7FE0, 0x8000}, {0x37A44, 0x38000}, {0x38400, MIB}};
    EXPECT_EQ(checkFreeRanges(right).kind, FreeRangeProblem::None);
    PlacementInput past = baseInput();
    past.romDataSize = 8 * MIB;
    past.freeRanges = {{4 * MIB - 0x10, 4 * MIB + 1}};
    EXPECT_EQ(checkFreeRanges(past).kind, FreeRangeProblem::OutsideRomData);
}

}  // namespace

namespace {

// Blocks bound to a region (a string behind a 16-bit pointer stays in its
// bank) and more reserved spans (pointer tables, graphics) that nothing
// covers.
TEST(Placement, BlocksStayInTheirRegionAndOffReservedSpans) {
    const Span BANK_9{0x48000, 0x50000};
    struct Case {
        const char* name;
        std::vector<Span> freeRanges;
        std::vector<Span> reserved;  // beside the header and the directory
        BlockToPlace block;
        PlacementPlan::Outcome outcome;
        uint32_t offset;      // placed: where; NoRoom: the largest room left
    };
    const Case cases[] = {
        {"a free range in another bank is not used", {{0x40000, 0x41000}, {0x49000, 0x49200}}, {},
         {0, 0x200, BANK_9, false}, PlacementPlan::Placed, 0x49000},
        {"a free range across the bank's end gives only its part inside", {{0x4FE80, 0x50100}}, {},
         {0, 0x180, BANK_9, false}, PlacementPlan::Placed, 0x4FE80},
        {"a reserved span is stepped over", {{0x49000, 0x49400}}, {{0x49000, 0x49100}}, {0, 0x200, BANK_9, false},
         PlacementPlan::Placed, 0x49100},
        {"no room in the region and no growth: the largest room is told", {{0x49000, 0x49080}, {0x4A000, 0x4A0C0}},
         {}, {0, 0x200, BANK_9, false}, PlacementPlan::NoRoom, 0xC0},
        {"a block that may grow the image goes to its end", {}, {}, {0, 0x200}, PlacementPlan::Placed, MIB},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlacementInput input = baseInput();
        input.reserved.insert(input.reserved.end(), c.reserved.begin(), c.reserved.end());
        input.freeRanges = c.freeRanges;
        input.changed = {c.block};
        const PlacementPlan plan = placeBlocks(input);
        ASSERT_EQ(plan.outcome, c.outcome);
        if (c.outcome == PlacementPlan::NoRoom) {
            EXPECT_EQ(plan.largestRoom, c.offset);
        } else {
            EXPECT_EQ(plan.placements.at(0).offset, c.offset);
        }
    }
    PlacementInput covered = baseInput();
    covered.reserved.push_back({0x50000, 0x50010});
    covered.freeRanges = {{0x5000F, 0x51000}};
    const FreeRangeProblem problem = checkFreeRanges(covered);
    EXPECT_EQ(problem.kind, FreeRangeProblem::OverlapsReserved);
    EXPECT_EQ(problem.reserved, 2u);
}

}  // namespace
