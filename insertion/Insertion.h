// Putting edited graphics back into the image, in memory: which graphics
// changed, where their new streams go, the records, the size and the
// checksum, and a last check that proves every graphic decodes as meant.
#pragma once

#include "rom/RomImage.h"
#include "insertion/EditSource.h"
#include "insertion/Reserved.h"
#include "placement/Growth.h"
#include "placement/Placement.h"

#include <cstdint>
#include <vector>

struct InsertSettings {
    std::vector<Span> freeRanges;
    bool allowResize = false;
};

// One changed graphic, as the run reports it.
struct GraphicChange {
    int graphic;
    uint32_t oldAddress;  // LoROM bus address of the stream before
    uint32_t oldLength;   // bytes the old stream took
    uint32_t newAddress;
    uint32_t newLength;
    PlaceKind kind;
};

struct InsertResult {
    enum Outcome {
        Done,
        ReadError,       // a record or its data lie outside the ROM data
        EditUnreadable,  // the graphic's edit cannot be read
        EditNotAFile,    // the graphic's edit is a FIFO, a device, a socket
        EditEmpty,       // the edit has 0 bytes
        EditTooLarge,    // the edit has more than 65535 bytes
        WrongSize,       // the edit's size is not the graphic's, and no resizing
        BadFreeRange,    // freeRange: the range and what is in its way
        LongerThanBank,  // the graphic's new stream is longer than 32 KiB
        PastLoRomLimit,  // the ROM data would pass 4 MiB
        StreamOverChangedFields,  // a graphic left as it is reads a record or
                                  // header byte that the changes rewrite
        Mismatch,        // internal: the new image does not decode as meant
    } outcome = Done;
    int graphic = -1;           // the graphic a refusal concerns
    uint32_t editSize = 0;      // WrongSize: the edit's size
    uint32_t graphicSize = 0;   // WrongSize: the graphic's decoded size
    FreeRangeRefusal freeRange; // BadFreeRange
    std::vector<GraphicChange> changes;  // Done: in graphic order
    std::vector<uint32_t> freeLeft;      // Done: per free range, bytes no graphic took
    std::vector<bool> freeUsed;          // Done: per free range, a graphic went there
    uint32_t oldRomDataSize = 0;
    uint32_t newRomDataSize = 0;
};

// Changes rom, loaded and accepted as the expected game, to hold every
// graphic's edit from edits. Done: rom holds the new image (byte for byte
// the old one when nothing changed). Any other outcome: rom may have been
// changed part way and must not be written.
InsertResult insertGraphics(RomImage& rom, EditSource& edits, const InsertSettings& settings);
