// The layout of a string in the game's text box, as the game's text
// engine lays it out: one glyph of the font for each character, through
// the table's one-byte entries; line breaks and box breaks honoured; end
// tokens and control codes not drawn. Pure code over buffers.
#pragma once

#include "rom/RomImage.h"
#include "text/StringSurvey.h"

#include "text/TextTable.h"
#include "tiles/TileFormat.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The font: which graphic holds the glyphs and how a glyph advances.
struct FontSettings {
    int graphic = 9;
    int bpp = 2;             // 2, 4 or 8
    int first = 0;           // the tile of a character is its one-byte code minus this
    int advance = 8;         // pixels per glyph, when not measured
    bool measured = false;   // each glyph's own width: its last lit column + 1 + spacing
    int spacing = 1;         // measured: pixels after a glyph
};

// The largest box a preview draws, so that no picture passes 8 million
// pixels: a box's width (and a glyph's advance) in pixels, its lines, a
// line's height in pixels.
constexpr int MOST_BOX_PIXELS = 2048;
constexpr int MOST_BOX_LINES = 64;
constexpr int MOST_LINE_HEIGHT = 64;

// The text box.
struct BoxSettings {
    int width = 224;         // pixels
    int lines = 3;
    int lineHeight = 16;     // pixels from a line's top to the next one's
    std::vector<std::string> breaks;  // texts of table entries that start a new box
};

struct PreviewSettings {
    FontSettings font;
    BoxSettings box;
};

// The tiles of the font graphic, decoded to one colour index a pixel.
class GlyphFont {
public:
    GlyphFont(const uint8_t* bytes, size_t length, TileFormat format);
    size_t tiles() const { return count; }
    // The 64 pixels of a tile, rows top to bottom.
    const uint8_t* pixels(size_t tile) const { return decoded.data() + tile * 64; }
    // The tile's last lit column + 1; 0 for a blank tile.
    int litWidth(size_t tile) const { return widths[tile]; }

private:
    size_t count = 0;
    std::vector<uint8_t> decoded;
    std::vector<int> widths;
};

// One glyph on a line: its tile (-1 for a character the font has no glyph
// for) and its left edge in pixels from the line's start.
struct Glyph {
    int32_t tile;
    int32_t x;
};

struct LaidLine {
    std::vector<Glyph> glyphs;
    int32_t width = 0;  // pixels the line takes
};

struct LaidBox {
    std::vector<LaidLine> lines;  // may be more than the box holds
};

// A character of the text that no one-byte entry draws: the string's line
// (from 1, counted through its boxes), its column (from 1, in glyphs) and
// the character (UTF-8).
struct MissingGlyph {
    size_t line;
    size_t column;
    std::string character;
};

struct LaidString {
    std::vector<LaidBox> boxes;
    std::vector<MissingGlyph> missing;
};

// What does not fit in a laid-out string: a line wider than the box, a box
// of more lines than it holds.
struct Overflow {
    enum Kind { Line, Box } kind;
    size_t box;     // from 1
    size_t line;    // Line: the string's line, from 1
    int32_t size;   // Line: its width in pixels; Box: its lines
    int32_t limit;  // the box's width or lines
};
std::vector<Overflow> overflowsOf(const LaidString& string, const BoxSettings& box);

class TextLayout {
public:
    TextLayout(const TextTable& table, const GlyphFont& font, const PreviewSettings& settings);
    // Lays out the string of bytes[0..length) (up to its end token).
    LaidString layOut(const uint8_t* bytes, size_t length) const;
    // The advance of a glyph.
    int32_t advanceOf(int32_t tile) const;

private:
    struct EntryGlyphs {
        std::vector<int32_t> tiles;           // one per character; -1: no glyph
        std::vector<std::string> characters;  // the characters, for the missing ones
        bool startsBox = false;
    };
    const TextTable& table;
    const GlyphFont& font;
    PreviewSettings settings;
    std::vector<EntryGlyphs> entries;
    std::vector<int32_t> advances;  // per tile
    int32_t tileOf(int code) const;
};

// The characters of UTF-8 text, each as its bytes (a broken sequence as
// the bytes there are).
std::vector<std::string> utf8Characters(const std::string& text);

// The overflows of a script's strings, each string given as its bytes:
// what brelquim-build checks before it builds. Per string, in order.
struct StringOverflows {
    size_t string;  // index into the strings
    std::vector<Overflow> overflows;
    std::vector<MissingGlyph> missing;
};
std::vector<StringOverflows> checkStrings(const TextLayout& layout, const std::vector<std::vector<uint8_t>>& strings,
                                          const BoxSettings& box);

// The font graphic's decoded bytes, read from the image; false when its
// record or data lie outside the image.
bool readFontGraphic(RomImage& rom, int graphic, std::vector<uint8_t>& bytes);
// The tile format of a font of bpp bits (2, 4 or 8).
TileFormat fontFormat(int bpp);

// The strings the tables reach in an image checked against the box, drawn
// by the font the image holds: what a build checks before it writes.
struct ImageCheck {
    enum Outcome { Checked, FontUnreadable, SurveyRefused } outcome = Checked;
    StringSurvey survey;
    std::vector<StringOverflows> found;
};
ImageCheck checkImageStrings(RomImage& rom, const TextTable& table, const std::vector<PointerTable>& tables,
                             const PreviewSettings& settings);
