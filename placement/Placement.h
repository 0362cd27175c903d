// Where changed data goes (a graphic's new stream, a string's new bytes):
// a pure decision over spans of the ROM data, tested and fuzzed without
// any image or file. The blocks are the things that may move (the
// graphics' streams, or the strings); everything that must never be
// written over is reserved.
#pragma once

#include <algorithm>
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
    // How many bytes the two have in common.
    uint32_t sharedWith(const Span& other) const {
        return overlaps(other) ? std::min(end, other.end) - std::max(start, other.start) : 0;
    }
};

// New bytes for block `block`, length bytes long, to be placed inside
// region (where its pointer can reach); only a block that mayGrow may go
// into new space at the end of the ROM data.
struct BlockToPlace {
    int block;
    uint32_t length;
    Span region{0, UINT32_MAX};
    bool mayGrow = true;
};

struct PlacementInput {
    uint32_t romDataSize;
    std::vector<Span> reserved;         // never written over (the internal header, a directory, ...)
    std::vector<Span> blocks;           // every block's current bytes, by block
    std::vector<Span> freeRanges;       // what the user says is unused
    std::vector<BlockToPlace> changed;  // in block order
};

enum class PlaceKind { InPlace, FreeRange, Vacated, Appended };

struct Placement {
    int block;
    uint32_t offset;  // where its new bytes start
    PlaceKind kind;
};

struct PlacementPlan {
    enum Outcome { Placed, LongerThanBank, PastLoRomLimit, NoRoom } outcome = Placed;
    int block = -1;                     // a refusal: the block that could not be placed
    uint32_t largestRoom = 0;           // NoRoom: the largest room its region had left
    std::vector<Placement> placements;  // Placed: one per changed block, in its order
    uint32_t romDataSize = 0;           // the ROM data's size afterwards
};

// Places every changed block:
//  - in place, when it fits in the block's current bytes, no other block
//    overlaps those bytes and it covers nothing reserved (a block the game
//    already reads across a bank end may stay so: it is read where it
//    always was);
//  - else in the first room inside its region that holds it, looking in
//    the free ranges, then in the bytes left by blocks moved out (where no
//    block that stays still uses them), then, for a block that may grow
//    the image, at the end of the ROM data, which then grows to the next
//    size of 2^n KiB;
//  - a new placement never crosses a 32 KiB bank, never overlaps anything
//    reserved or any block old or new, and never ends past 4 MiB of ROM
//    data.
// Fails with LongerThanBank for a block that must move and is longer than
// a bank, with NoRoom for one that finds no room in its region and may not
// grow the image, and with PastLoRomLimit when the ROM data would pass
// 4 MiB.
PlacementPlan placeBlocks(const PlacementInput& input);

// True when a changed block stays in place (the first rule above).
bool fitsInPlace(const PlacementInput& input, const BlockToPlace& block);

// The ROM data grows to this size to hold end bytes: the next size of
// 2^n KiB.
uint32_t grownRomDataSize(uint32_t end);

// What is wrong with a free range the user gave, if anything: the first
// range that lies outside the ROM data (or past 4 MiB), or overlaps
// something reserved or a block's current bytes.
struct FreeRangeProblem {
    enum Kind { None, OutsideRomData, OverlapsReserved, OverlapsBlock } kind = None;
    size_t range = 0;     // index into freeRanges
    size_t reserved = 0;  // OverlapsReserved: index into reserved
    int block = -1;       // OverlapsBlock: the block
};
FreeRangeProblem checkFreeRanges(const PlacementInput& input);

// Ranges that overlap or repeat made one: each group of them becomes the
// range from its lowest start to its highest end, where the first of them
// stood; the others keep their order. Gives the ranges that took others in,
// so that the run can say so.
std::vector<Span> mergeOverlapping(std::vector<Span>& ranges);
