// Where changed streams go: in place, free ranges, vacated spans, the end
// of the image; the bank and 4 MiB limits; free ranges the user got wrong.
#include "insert/Placement.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

constexpr uint32_t BANK = 0x8000;
constexpr uint32_t MIB = 0x100000;
constexpr Span HEADER{0x7FC0, 0x7FE0};
constexpr Span DIRECTORY{0x376F7, 0x37A44};

// Four graphics back to back in bank 7 unless a case says otherwise.
PlacementInput baseInput() {
    PlacementInput input;
    input.romDataSize = MIB;
    input.header = HEADER;
    input.directory = DIRECTORY;
    input.streams = {{0x38000, 0x38100}, {0x38100, 0x38200}, {0x38200, 0x38300}, {0x38300, 0x38400}};
    return input;
}

struct Case {
    std::string name;
    PlacementInput input;
    PlacementPlan::Outcome outcome;
    std::vector<Placement> placements;
    uint32_t romDataSize;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

Case make(std::string name, void (*edit)(PlacementInput&), PlacementPlan::Outcome outcome,
          std::vector<Placement> placements, uint32_t romDataSize = MIB) {
    PlacementInput input = baseInput();
    edit(input);
    return {std::move(name), input, outcome, std::move(placements), romDataSize};
}

const PlacementPlan::Outcome PLACED = PlacementPlan::Placed;

class Placing : public testing::TestWithParam<Case> {};

TEST_P(Placing, GivesTheExpectedPlan) {
    const Case& c = GetParam();
    const PlacementPlan plan = placeStreams(c.input);
    EXPECT_EQ(plan.outcome, c.outcome);
    if (c.outcome != PLACED) {
        EXPECT_EQ(plan.graphic, c.placements.at(0).graphic);
        return;
    }
    ASSERT_EQ(plan.placements.size(), c.placements.size());
    for (size_t i = 0; i < c.placements.size(); ++i) {
        EXPECT_EQ(plan.placements[i].graphic, c.placements[i].graphic) << i;
        EXPECT_EQ(plan.placements[i].offset, c.placements[i].offset) << i;
        EXPECT_EQ(plan.placements[i].kind, c.placements[i].kind) << i;
    }
    EXPECT_EQ(plan.romDataSize, c.romDataSize);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, Placing,
    testing::Values(
        make("a shorter stream stays in place",
             [](PlacementInput& in) { in.changed = {{1, 0x80}}; }, PLACED, {{1, 0x38100, PlaceKind::InPlace}}),
        make("a stream of the old length stays in place",
             [](PlacementInput& in) { in.changed = {{1, 0x100}}; }, PLACED, {{1, 0x38100, PlaceKind::InPlace}}),
        make("a longer stream goes to the first free range that holds it",
             [](PlacementInput& in) {
                 in.freeRanges = {{0x50000, 0x50100}, {0x60000, 0x61000}};
                 in.changed = {{1, 0x101}};
             },
             PLACED, {{1, 0x60000, PlaceKind::FreeRange}}),
        make("free ranges are used lowest first, whatever their order",
             [](PlacementInput& in) {
                 in.freeRanges = {{0x70000, 0x71000}, {0x60000, 0x61000}};
                 in.changed = {{0, 0x200}, {1, 0x200}};
             },
             PLACED, {{0, 0x60000, PlaceKind::FreeRange}, {1, 0x60200, PlaceKind::FreeRange}}),
        make("moved graphics take the bytes they all leave, lowest first",
             [](PlacementInput& in) { in.changed = {{0, 0x101}, {1, 0x101}, {2, 0x180}}; }, PLACED,
             {{0, 0x38000, PlaceKind::Vacated}, {1, 0x38101, PlaceKind::Vacated},
              {2, MIB, PlaceKind::Appended}},
             2 * MIB),
        make("vacated bytes still read by another record are not used",
             [](PlacementInput& in) {
                 in.streams[3] = {0x38080, 0x38090};  // reads inside graphic 0's stream
                 in.changed = {{0, 0x90}, {1, 0x101}, {2, 0x80}};
             },
             PLACED,
             {{0, 0x38090, PlaceKind::Vacated}, {1, MIB, PlaceKind::Appended},
              {2, 0x38200, PlaceKind::InPlace}},
             2 * MIB),
        make("a shared stream is never rewritten in place",
             [](PlacementInput& in) {
                 in.streams[2] = in.streams[1];
                 in.changed = {{1, 0x10}};
             },
             PLACED, {{1, MIB, PlaceKind::Appended}}, 2 * MIB),
        make("a stream that would cross a bank end starts the next bank",
             [](PlacementInput& in) {
                 in.freeRanges = {{0x4FF00, 0x50101}};
                 in.changed = {{0, 0x101}};
             },
             PLACED, {{0, 0x50000, PlaceKind::FreeRange}}),
        make("a stream that fills a bank exactly ends on its last byte",
             [](PlacementInput& in) {
                 in.freeRanges = {{0x48000, 0x50000}};
                 in.changed = {{0, BANK}};
             },
             PLACED, {{0, 0x48000, PlaceKind::FreeRange}}),
        make("appended streams skip to the next bank and the image grows to 2^n KiB",
             [](PlacementInput& in) {
                 in.romDataSize = 0x140000;  // 1.25 MiB
                 in.changed = {{0, 0x7000}, {1, 0x2000}};
             },
             PLACED, {{0, 0x140000, PlaceKind::Appended}, {1, 0x148000, PlaceKind::Appended}}, 2 * MIB),
        make("a free range never gives the header's or the directory's bytes",
             [](PlacementInput& in) {
                 in.freeRanges = {{0x7F00, 0x8000}, {0x37600, 0x37B00}};
                 in.changed = {{0, 0x101}};
             },
             PLACED, {{0, MIB, PlaceKind::Appended}}, 2 * MIB),
        make("a moved stream longer than a bank is refused",
             [](PlacementInput& in) { in.changed = {{0, 0x20}, {2, BANK + 1}}; }, PlacementPlan::LongerThanBank,
             {{2, 0, PlaceKind::Appended}}),
        make("a long stream may stay in place across a bank end",
             [](PlacementInput& in) {
                 in.streams[0] = {0x40000, 0x52000};
                 in.changed = {{0, 0x11000}};
             },
             PLACED, {{0, 0x40000, PlaceKind::InPlace}}),
        make("the image may grow to exactly 4 MiB",
             [](PlacementInput& in) {
                 in.romDataSize = 0x3F8000;
                 in.changed = {{0, BANK}};
             },
             PLACED, {{0, 0x3F8000, PlaceKind::Appended}}, 4 * MIB),
        make("one byte past 4 MiB is refused",
             [](PlacementInput& in) {
                 in.romDataSize = 0x3F8000;
                 in.changed = {{0, BANK}, {1, 0x201}};
             },
             PlacementPlan::PastLoRomLimit, {{1, 0, PlaceKind::Appended}}),
        make("a stream that does not fit a full 4 MiB image is refused",
             [](PlacementInput& in) {
                 in.romDataSize = 4 * MIB;
                 in.changed = {{3, 0x101}};
             },
             PlacementPlan::PastLoRomLimit, {{3, 0, PlaceKind::Appended}})),
    [](const testing::TestParamInfo<Case>& info) {
        std::string name;
        for (char c : info.param.name) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

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
        int graphic;
    };
    const Wrong cases[] = {
        {{0xFFF00, 0x100001}, FreeRangeProblem::OutsideRomData, -1},
        {{0x7FDF, 0x7FF0}, FreeRangeProblem::OverlapsHeader, -1},
        {{0x37A43, 0x37B00}, FreeRangeProblem::OverlapsDirectory, -1},
        {{0x382FF, 0x38301}, FreeRangeProblem::OverlapsGraphic, 2},
    };
    for (const Wrong& wrong : cases) {
        PlacementInput input = baseInput();
        input.freeRanges = {{0x60000, 0x61000}, wrong.range};
        const FreeRangeProblem problem = checkFreeRanges(input);
        EXPECT_EQ(problem.kind, wrong.kind) << std::hex << wrong.range.start;
        EXPECT_EQ(problem.range, 1u);
        EXPECT_EQ(problem.graphic, wrong.graphic);
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
