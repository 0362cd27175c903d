// Putting an edited script back into the image, in memory: which strings
// changed and their new bytes, where each goes, the pointers, the size and
// the checksum, and a last check that reads the new image as a dump would.
#pragma once

#include "insertion/Reserved.h"
#include "placement/Placement.h"
#include "rom/RomImage.h"
#include "text/Script.h"
#include "text/StringSurvey.h"
#include "text/TextCodec.h"
#include "text/TextTable.h"

#include <cstdint>
#include <vector>

// One changed string, as the run reports it.
struct TextChange {
    size_t string;           // index into the survey's strings
    uint32_t pointerAt;      // file offset of its first pointer
    uint32_t oldOffset;
    uint32_t oldLength;
    uint32_t newOffset;
    uint32_t newLength;
    PlaceKind kind;
};

// A text of the script that the table cannot write, and why.
struct TextMistake {
    const ScriptEntry* entry = nullptr;
    Encoding encoding;
};

struct TextInsertResult {
    enum Outcome {
        Done,
        GraphicUnreadable,  // graphic: its record or data lie outside the ROM data
        OverReserved,       // reserved: a table or a string on the header or the directory
        SurveyRefused,      // survey: why the strings cannot be read
        UnknownString,      // line: a header whose number is past the last string
        NotWritable,        // entry, encoding: a text the table cannot write, or
                            // whose bytes read on into those placed after them
                            // (at its end), or placed after a string that then
                            // reads on (at 0)
        LongerThanBank,     // entry, needed: its bytes are longer than a bank
        NoRoom,             // entry, needed, room: no room in the string's bank
        PointerInString,    // entry, pointer, under: a string that moves has a pointer
                            // inside the bytes of a string that stays, which would change
        PastLoRomLimit,     // entry: the image would pass 4 MiB
        BadFreeRange,       // freeRange: the range and what is in its way
        Mismatch,           // internal: the new image does not read as meant
    } outcome = Done;
    int graphic = -1;                    // GraphicUnreadable
    StringSurvey survey;                 // the strings as the input holds them
    size_t line = 0;                     // UnknownString
    const ScriptEntry* entry = nullptr;  // the block of the script a refusal names
    Encoding encoding;                   // NotWritable
    std::vector<TextMistake> mistakes;   // NotWritable: every such text, in the
                                         // script's order (entry, encoding: the first)
    uint32_t needed = 0;                 // LongerThanBank, NoRoom: the string's new length
    uint32_t room = 0;                   // NoRoom
    StringPointer pointer{};             // PointerInString: the pointer
    size_t under = 0;                    // PointerInString: the string it lies in, from 0
    FreeRangeRefusal freeRange;          // BadFreeRange
    ReservedOverlap reserved;            // OverReserved
    std::vector<TextChange> changes;  // Done: in the order of the strings
    std::vector<uint32_t> freeLeft;   // per free range: bytes no placement took
    std::vector<bool> freeUsed;       // per free range: a string went there
    uint32_t oldRomDataSize = 0;
    uint32_t newRomDataSize = 0;
};

// Changes rom, loaded and accepted as the expected game, to hold the
// script's texts. Done: rom holds the new image (byte for byte the old one
// when nothing changed). Any other outcome: rom may have been changed part
// way and must not be written.
TextInsertResult insertText(RomImage& rom, const TextTable& table, const ScriptReading& script,
                            const std::vector<Span>& freeRanges);
