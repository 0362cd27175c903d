// The project file of a translation, brelquim.toml: the original image and
// its digest, the outputs, the free ranges, each graphic's format, the
// text's table, script and pointer tables, and the preview's font and box.
// Reading checks every key and value before anything else is done;
// writing keeps the user's lines and comments, changing only the lines it
// must. Nothing here prints or touches a file; the outcome says what was
// wrong and where.
#pragma once

#include "preview/Layout.h"

#include "placement/Placement.h"
#include "text/StringSurvey.h"
#include "tiles/TileFormat.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The name a project has in its folder.
constexpr char PROJECT_FILE[] = "brelquim.toml";

// A graphic's tile format, as brelquim-png's options would give it; a key
// the file leaves out is empty. Paths are relative to the project's folder
// as given: resolved by projectPath.
struct GraphicFormat {
    std::optional<TileFormat> format;  // bpp or mode7
    std::optional<uint32_t> columns;
    std::optional<bool> blocks16;
    std::optional<std::string> palette;
    std::optional<uint32_t> paletteRow;
};

struct Project {
    // The folder of the file as it was named ("" for the current folder):
    // every path of the file is relative to it.
    std::string folder;

    std::string original;  // [image]
    std::string sha256;    // 64 lowercase hexadecimal digits
    std::string output = "traduzido.sfc";
    std::vector<std::string> patches;
    std::vector<Span> freeRanges;
    std::vector<std::string> freeTexts;  // the ranges as the file writes them

    std::string graphicsFolder = "arquivos";  // [graphics]
    bool allowResize = false;
    GraphicFormat defaultFormat;
    std::map<int, GraphicFormat> formats;

    std::string table;   // [text]
    std::string script;
    std::string labels;
    std::vector<PointerTable> pointerTables;  // pointers, then long-pointers

    PreviewSettings preview;  // [font] and [box]
    bool hasFont = false, hasBox = false;  // the file has [font], [box]

    // A path of the file as the programs open it.
    std::string path(const std::string& relative) const;
    // A graphic's format: its own keys over the default's.
    GraphicFormat formatOf(int graphic) const;
};

// What is wrong with a project file: the first problem, with its line and
// its key ("graphics.format.12.bpp").
struct ProjectProblem {
    enum Kind {
        None,
        Syntax,          // line: the file is no TOML
        UnknownSection,  // key: a section the file does not have
        UnknownKey,      // key
        WrongType,       // key, expected
        BadValue,        // key: a value of the right type out of its range
        BadPosition,     // key, value: a position or range that does not parse
        BadGraphic,      // key: a graphic number that is not 0 to 168
        MissingKey,      // key: one that must be there (line 0)
    } kind = None;
    enum Type { Text, Integer, Boolean, List, Table, IntegerOrGlyph };
    uint32_t line = 0;
    std::string key;
    std::string value;
    Type expected = Text;
};

// Reads a project file's text; folder as Project::folder.
ProjectProblem readProject(const std::string& text, const std::string& folder, Project& project);

// The folder part of a project file's path ("" for a bare name), with its
// separator.
std::string projectFolderOf(const std::string& path);

// The text of a new project for an image: its digest, default names, and a
// commented example of each section. original and table as the file is to
// name them (relative to it); table may be empty.
std::string newProjectText(const std::string& original, const std::string& sha256, const std::string& table);

// Adds the tables not listed yet to [text] pointers or long-pointers (by
// their kind), keeping every other byte of text: a list that is there
// gets the new tables before its closing bracket, a missing key a line of
// its own at the end of [text] (inside its braces for text = { ... }), a
// missing [text] a section at the end.
// False, with problem and text as it was, when text is no project, or
// when its [text] is made of dotted keys (text.table = ...) where no line
// can be added.
bool addPointerTables(std::string& text, const std::vector<PointerTable>& tables, ProjectProblem& problem);

// "$98:8000:7": a pointer table as the file writes it.
std::string formatPointerTable(const PointerTable& table);
