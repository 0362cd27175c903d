// What an insertion never writes over, and a free range the user gave over
// any of it, told in the terms of the game: the header, the directory, a
// graphic, a pointer table, a string.
#pragma once

#include "placement/Placement.h"
#include "rom/RomImage.h"
#include "text/StringSurvey.h"

#include <cstddef>
#include <vector>

// The first two reserved spans of every insertion: the internal header
// with the vectors after it, and the graphics directory.
constexpr size_t RESERVED_HEADER = 0;
constexpr size_t RESERVED_DIRECTORY = 1;
std::vector<Span> headerAndDirectory(const RomImage& rom);

// A pointer table, or a string its pointers reach, that lies on the
// internal header and its vectors or on the graphics directory: text there
// is no text, and writing it would break the game.
struct ReservedOverlap {
    enum Kind { None, Table, String } kind = None;
    size_t reserved = RESERVED_HEADER;  // RESERVED_HEADER or RESERVED_DIRECTORY
    size_t index = 0;                   // the table or the string, from 0
    Span span{0, 0};                    // its bytes
};
// The first table over the header or the directory.
ReservedOverlap tableOverReserved(const RomImage& rom, const std::vector<PointerTable>& tables);
// The first string over the header or the directory.
ReservedOverlap stringOverReserved(const RomImage& rom, const std::vector<GameString>& strings);

// What is in the way of a free range, besides the header and the directory.
enum class Obstacle { Graphic, PointerTable, String };

// A free range the user gave that an insertion refuses: the first one that
// lies outside the ROM data (or past 4 MiB) or covers bytes it keeps.
struct FreeRangeRefusal {
    enum Kind {
        None,
        OutsideRomData,
        OverlapsHeader,     // the internal header or the vectors after it
        OverlapsDirectory,  // the graphics directory
        OverlapsFixed,      // data the insertion keeps where it is: see obstacle
        OverlapsBlock,      // the current bytes of data the insertion places: see obstacle
    } kind = None;
    size_t range = 0;                       // index into the free ranges
    Obstacle obstacle = Obstacle::Graphic;  // OverlapsFixed, OverlapsBlock: what is in the way
    int graphic = -1;                       // Obstacle::Graphic: the graphic
    size_t pointerTable = 0;                // Obstacle::PointerTable: the table, from 0
    size_t string = 0;                      // Obstacle::String: the string, from 0
};

// A placement's problem in the terms of the game, for reserved spans that
// are the header, the directory, then the streams of `graphics` graphics,
// then pointer tables, and for blocks that are of kind `blocks`.
FreeRangeRefusal freeRangeRefusal(const FreeRangeProblem& problem, size_t graphics, Obstacle blocks);

// What the data placed in free ranges left of each range: its bytes that
// none of the taken spans share, and whether any span reached it.
struct FreeRoomLeft {
    std::vector<uint32_t> left;  // per free range
    std::vector<bool> used;      // per free range
};
FreeRoomLeft freeRoomLeft(const std::vector<Span>& ranges, const std::vector<Span>& taken);
