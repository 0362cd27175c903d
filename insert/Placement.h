// Where the changed graphics' new streams go: a pure decision over spans
// of the ROM data, tested and fuzzed without any image or file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Bytes [start, end) of the ROM data: file offsets of an image without
// copier header.
struct Span {
    uint32_t start;
    uint32_t end;
    uint32_t length() const { return end - start; }
    bool overlaps(const Span& other) const { return start < other.end && other.start < end; }
};

// A new stream for graphic `graphic`, length bytes long.
struct StreamToPlace {
    int graphic;
    uint32_t length;
};

struct PlacementInput {
    uint32_t romDataSize;
    Span header;                         // the internal header
    Span directory;                      // the graphics directory
    std::vector<Span> streams;           // every record's current stream, by graphic
    std::vector<Span> freeRanges;        // what the user says is unused
    std::vector<StreamToPlace> changed;  // in graphic order
};

enum class PlaceKind { InPlace, FreeRange, Vacated, Appended };

struct Placement {
    int graphic;
    uint32_t offset;  // where the stream starts
    PlaceKind kind;
};

struct PlacementPlan {
    enum Outcome { Placed, LongerThanBank, PastLoRomLimit } outcome = Placed;
    int graphic = -1;                   // the graphic that could not be placed
    std::vector<Placement> placements;  // one per changed stream, in its order
    uint32_t romDataSize = 0;           // the ROM data's size afterwards
};

// Places every changed stream:
//  - in place, when it fits in the bytes of the graphic's current stream,
//    no other record's stream overlaps those bytes and it covers neither
//    the header nor the directory (a stream the game already reads across
//    a bank end may stay so: it is read where it always was);
//  - else in the first room that holds it, looking in the free ranges,
//    then in the bytes left by graphics moved out (where no graphic that
//    stays still uses them), then at the end of the ROM data, which then
//    grows to the next size of 2^n KiB;
//  - a new placement never crosses a 32 KiB bank, never overlaps the
//    header, the directory or any stream old or new, and never ends past
//    4 MiB of ROM data.
// Fails with LongerThanBank for a stream that must move and is longer
// than a bank, and with PastLoRomLimit when the ROM data would pass 4 MiB.
PlacementPlan placeStreams(const PlacementInput& input);

// True when a changed stream stays in place (the first rule above).
bool fitsInPlace(const PlacementInput& input, const StreamToPlace& stream);

// The ROM data grows to this size to hold end bytes: the next size of
// 2^n KiB.
uint32_t grownRomDataSize(uint32_t end);

// What is wrong with a free range the user gave, if anything: the first
// range that lies outside the ROM data (or past 4 MiB), or overlaps the
// header, the directory or a graphic's current stream.
struct FreeRangeProblem {
    enum Kind { None, OutsideRomData, OverlapsHeader, OverlapsDirectory, OverlapsGraphic } kind = None;
    size_t range = 0;  // index into freeRanges
    int graphic = -1;  // for OverlapsGraphic
};
FreeRangeProblem checkFreeRanges(const PlacementInput& input);
