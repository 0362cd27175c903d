// A project's build in memory: the graphics put back as brelquim-insert
// puts them (each taken from its PNG when that is newer than its .bin),
// then the script as brelquim-text insert puts it, into one image, the
// free ranges shared: what the graphics took is no longer free for the
// text. Nothing here prints or writes a file.
#pragma once

#include "insertion/EditSource.h"
#include "insertion/Insertion.h"
#include "insertion/TextInsertion.h"
#include "platform/FileBytes.h"
#include "png/Conversion.h"
#include "project/Project.h"
#include "tiles/Palette.h"

#include <string>
#include <vector>

// Graphic j's edit, for a project: grafico_jjj.png converted in the
// graphic's format when it is newer than grafico_jjj.bin (or the only one
// there), else grafico_jjj.bin. A PNG or palette that cannot be read or
// converted is an Unreadable edit, and problem says why.
class ProjectEdits : public EditSource {
public:
    ProjectEdits(const Project& project, std::string folder) : project(project), folder(std::move(folder)) {}
    Outcome read(int graphic, uint8_t* buffer, uint32_t& length) override;

    struct Problem {
        enum Kind {
            None,
            PngUnreadable,      // path, read
            PaletteUnreadable,  // path, read
            PaletteRefused,     // path, palette
            PngRefused,         // path, conversion
        } kind = None;
        std::string path;
        FileRead read = FileRead::Read;
        PaletteProblem palette;
        ConversionProblem conversion;
    } problem;
    std::vector<int> fromPng;  // the graphics taken from their PNG, in order

private:
    Outcome convertPng(int graphic, const std::string& png, uint8_t* buffer, uint32_t& length);

    const Project& project;
    std::string folder;
    FolderEdits bins{folder};
};

// The PNG beside a graphic's .bin: "<folder>/grafico_jjj.png".
std::string graphicPngPath(const std::string& folder, int graphic);

// The free ranges less the room the graphics took, in their order, each
// piece with the range it came from.
struct RangesLeft {
    std::vector<Span> pieces;
    std::vector<size_t> rangeOf;  // per piece: index into the project's ranges
};
RangesLeft rangesLeft(const std::vector<Span>& freeRanges, const InsertResult& graphics);

struct ProjectBuild {
    enum Outcome { Built, GraphicsRefused, TextRefused } outcome = Built;
    // The project's free ranges, those that overlap merged, and the ranges
    // that merging made (said before the steps).
    std::vector<Span> freeRanges;
    std::vector<Span> mergedFreeRanges;
    InsertResult graphics;
    uint16_t graphicsChecksum = 0;  // the image's checksum after the graphics
    RangesLeft textRanges;
    bool textDone = false;  // false: the project names no script
    TextInsertResult text;
    // Per free range of the project: the bytes no placement took.
    std::vector<uint32_t> freeLeft;
};

// Changes rom, loaded and accepted as the expected game, to hold the
// project's graphics and, when script is given, its text. Built: rom
// holds the new image (the original byte for byte when nothing was
// edited). Otherwise rom may have been changed part way and must not be
// written.
ProjectBuild buildImage(RomImage& rom, EditSource& edits, const Project& project, const TextTable* table,
                        const ScriptReading* script);
