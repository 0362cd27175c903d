// The layout of strings in the text box: a table of strings and how they
// lie (wrap, box break, control codes, multi-byte entries, bytes no entry
// covers, missing glyphs), the overflows found, the glyph widths measured
// on a drawn font, the box pictures against a brute-force blit of the
// font's tiles, and the page's structure.
#include "preview/BoxPicture.h"
#include "preview/Layout.h"
#include "preview/PreviewPage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A table like a game's: letters, a space, tokens, a control code with one
// parameter, a box break, a word in one byte, a word in two, and a letter
// that only a two-byte entry writes.
std::string testTable() {
    std::string text = "/00=<end>\n*01=<br>\n$02=<color>,1\n03=<wait>\n20= \n80=the \n8A20=the castle\n9000=\xC3\xA3\n";
    for (char c = 'A'; c <= 'Z'; ++c) {
        char line[16];
        std::snprintf(line, sizeof line, "%02X=%c\n%02X=%c\n", c, c, c + 32, c + 32);
        text += line;
    }
    return text;
}

TextTable readTable(const std::string& text) {
    TextTable table;
    EXPECT_EQ(table.read(reinterpret_cast<const uint8_t*>(text.data()), text.size()).kind, TableProblem::None);
    return table;
}

// 256 2 bpp tiles; tile c lights columns 0 to c % 7 of its top row (colour
// 3) and column 0 of its other rows (colour 1), so its width is c % 7 + 1;
// the space (tile 0x20) is blank.
std::vector<uint8_t> drawnFont() {
    std::vector<uint8_t> bytes(256 * 16);
    uint8_t pixels[TILE_PIXELS];
    for (int c = 0; c < 256; ++c) {
        for (int i = 0; i < TILE_PIXELS; ++i) {
            const int x = i % TILE_SIDE, y = i / TILE_SIDE;
            pixels[i] = c == 0x20 ? 0 : y == 0 ? (x <= c % 7 ? 3 : 0) : (x == 0 ? 1 : 0);
        }
        encodeTile(TileFormat::Bpp2, pixels, TILE_SIDE, bytes.data() + c * 16);
    }
    return bytes;
}

struct Fixture {
    TextTable table = readTable(testTable());
    std::vector<uint8_t> fontBytes = drawnFont();
    GlyphFont font{fontBytes.data(), fontBytes.size(), TileFormat::Bpp2};
    PreviewSettings settings;
    Fixture() { settings.box.breaks = {"<wait>"}; }
};

std::vector<uint8_t> bytesOf(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// The layout as text: boxes apart by '/', lines by '|', each glyph the
// character of its tile ('?' for a missing glyph).
std::string shape(const LaidString& laid) {
    std::string text;
    for (size_t b = 0; b < laid.boxes.size(); ++b) {
        if (b) text += '/';
        for (size_t l = 0; l < laid.boxes[b].lines.size(); ++l) {
            if (l) text += '|';
            for (const Glyph& glyph : laid.boxes[b].lines[l].glyphs) text += glyph.tile < 0 ? '?' : char(glyph.tile);
        }
    }
    return text;
}

TEST(PreviewLayout, StringsLieAsTheEngineDrawsThem) {
    const Fixture f;
    const TextLayout layout(f.table, f.font, f.settings);
    struct Case {
        std::string bytes;
        std::string shape;
    };
    const Case cases[] = {
        {std::string("AB\x01" "CD\0", 6), "AB|CD"},
        {std::string("AB\x01\0", 4), "AB"},                          // a break before the end opens no line
        {std::string("A\x01\x01" "B\0", 5), "A||B"},
        {std::string("\x02QA\0", 4), "A"},                           // the control code's parameter not drawn
        {std::string("\x8A\x20!\0", 4), "the castle!"},             // a two-byte word, character by character
        {std::string("\x80\x8A" "A\0", 4), "the \x8A" "A"},          // a byte no entry covers: its own tile
        {std::string("AB\x03" "CD\0", 6), "AB/CD"},                  // a box break
        {std::string("AB\x03\0", 4), "AB"},                          // ... opens no box before the end
        {std::string("AB\x01\x03" "CD\0", 7), "AB/CD"},              // and drops a pending line
        {std::string("A\x90\x00" "B\0", 5), "A?B"},                  // a letter without a one-byte entry
        {std::string("AB\0CD", 5), "AB"},                            // nothing after the end token
        {std::string("AB"), "AB"},                                   // no end token: what there is
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = bytesOf(c.bytes);
        EXPECT_EQ(shape(layout.layOut(bytes.data(), bytes.size())), c.shape) << c.shape;
    }
}

TEST(PreviewLayout, MissingGlyphsNamedByLineAndColumn) {
    const Fixture f;
    const TextLayout layout(f.table, f.font, f.settings);
    const std::vector<uint8_t> bytes = bytesOf(std::string("AB\x01X\x03Y\x90\x00\0", 9));
    const LaidString laid = layout.layOut(bytes.data(), bytes.size());
    ASSERT_EQ(laid.missing.size(), 1u);
    EXPECT_EQ(laid.missing[0].line, 3u);  // lines count on through the boxes
    EXPECT_EQ(laid.missing[0].column, 2u);
    EXPECT_EQ(laid.missing[0].character, "\xC3\xA3");
}

TEST(PreviewLayout, OverflowsOfLinesAndBoxes) {
    const Fixture f;
    const TextLayout layout(f.table, f.font, f.settings);
    const auto overflows = [&](const std::string& text) {
        const std::vector<uint8_t> bytes = bytesOf(text + std::string(1, '\0'));
        return overflowsOf(layout.layOut(bytes.data(), bytes.size()), f.settings.box);
    };
    EXPECT_TRUE(overflows(std::string(28, 'A')).empty());
    std::vector<Overflow> found = overflows("A\x01" + std::string(29, 'A'));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, Overflow::Line);
    EXPECT_EQ(found[0].line, 2u);
    EXPECT_EQ(found[0].size, 232);
    EXPECT_EQ(found[0].limit, 224);
    EXPECT_TRUE(overflows("A\x01" "B\x01" "C\x03" "D\x01" "E\x01" "F").empty());
    found = overflows("A\x03" "B\x01" "C\x01" "D\x01" "E");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, Overflow::Box);
    EXPECT_EQ(found[0].box, 2u);
    EXPECT_EQ(found[0].size, 4);
    EXPECT_EQ(found[0].limit, 3);
}

TEST(PreviewLayout, MeasuredWidthsAreTheLitColumns) {
    Fixture f;
    // One lit pixel at column k of row k: the tile's width is k + 1.
    for (int k = 0; k < TILE_SIDE; ++k) {
        uint8_t pixels[TILE_PIXELS] = {};
        pixels[k * TILE_SIDE + k] = 2;
        uint8_t tile[16];
        encodeTile(TileFormat::Bpp2, pixels, TILE_SIDE, tile);
        EXPECT_EQ(GlyphFont(tile, sizeof tile, TileFormat::Bpp2).litWidth(0), k + 1);
    }
    f.settings.font.measured = true;
    f.settings.font.spacing = 2;
    const TextLayout layout(f.table, f.font, f.settings);
    const std::string text = "Hello the world";
    const std::vector<uint8_t> bytes = bytesOf(text + std::string(1, '\0'));
    const LaidString laid = layout.layOut(bytes.data(), bytes.size());
    // Brute force: each glyph's lit columns counted from its pixels.
    int32_t x = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        EXPECT_EQ(laid.boxes[0].lines[0].glyphs[i].x, x);
        int lit = 0;
        const uint8_t* pixels = f.font.pixels(uint8_t(text[i]));
        for (int p = 0; p < TILE_PIXELS; ++p) {
            if (pixels[p]) lit = std::max(lit, p % TILE_SIDE + 1);
        }
        x += (lit == 0 ? TILE_SIDE / 2 : lit) + 2;
    }
    EXPECT_EQ(laid.boxes[0].lines[0].width, x);
}

TEST(PreviewPictures, BoxIsTheFontBlittedAndClipped) {
    const Fixture f;
    const TextLayout layout(f.table, f.font, f.settings);
    // Four lines, the second of 30 glyphs: the box shows 28 of them and
    // three lines.
    const std::string lines[] = {"Hi", std::string(15, 'a') + std::string(15, 'Q'), "B", "Z"};
    const std::string text = lines[0] + "\x01" + lines[1] + "\x01" + lines[2] + "\x01" + lines[3] + std::string(1, '\0');
    const std::vector<uint8_t> bytes = bytesOf(text);
    const LaidString laid = layout.layOut(bytes.data(), bytes.size());
    const Picture box = drawBox(laid.boxes[0], f.font, f.settings.box);
    ASSERT_EQ(box.width, 224u);
    ASSERT_EQ(box.height, 40u);
    for (uint32_t y = 0; y < box.height; ++y) {
        for (uint32_t x = 0; x < box.width; ++x) {
            uint8_t expected = 0;
            const size_t line = y / 16, cell = x / 8;
            if (y % 16 < 8 && line < 3 && cell < lines[line].size()) {
                expected = f.font.pixels(uint8_t(lines[line][cell]))[(y % 16) * 8 + x % 8];
            }
            ASSERT_EQ(box.pixels[y * box.width + x], expected) << x << "," << y;
        }
    }
    // The page's picture: the line past the edge and the fourth line in red.
    const Picture wide = drawOverflowingBox(laid.boxes[0], f.font, f.settings.box, 4);
    ASSERT_EQ(wide.width, 240u);
    ASSERT_EQ(wide.height, 56u);
    for (uint32_t y = 0; y < wide.height; ++y) {
        for (uint32_t x = 0; x < wide.width; ++x) {
            const uint8_t pixel = wide.pixels[y * wide.width + x];
            if (x < 224 && y < 40) {
                ASSERT_EQ(pixel, box.pixels[y * box.width + x]);
            } else {
                ASSERT_GE(pixel, OUTSIDE) << x << "," << y;
            }
        }
    }
    EXPECT_GT(wide.pixels[16 * 240 + 224], OUTSIDE);  // the lit top row of the 29th glyph
    EXPECT_GT(wide.pixels[48 * 240 + 0], OUTSIDE);    // the fourth line's first glyph
}

TEST(PreviewPage, OneSectionPerStringAndLinksToTheOverflows) {
    PagePicture picture{{0x89, 'P', 'N', 'G'}, 224, 40};
    std::vector<PageString> strings(3);
    for (size_t s = 0; s < strings.size(); ++s) {
        strings[s].number = s + 1;
        strings[s].original = {picture};
        strings[s].translated = {picture, picture};
        strings[s].text = "<b>&";
    }
    strings[1].overflows = true;
    strings[2].label = "Rei";
    const std::string page = previewPage(strings, true);
    const auto count = [&](const std::string& what) {
        size_t n = 0;
        for (size_t at = page.find(what); at != std::string::npos; at = page.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("<section id=\"texto-"), 3u);
    EXPECT_EQ(count("<img "), 9u);
    EXPECT_EQ(count("src=\"data:image/png;base64,iVBORw==\""), 9u);
    EXPECT_EQ(count("width=\"672\" height=\"120\""), 9u);
    EXPECT_EQ(count("href=\"#texto-2\""), 1u);
    EXPECT_EQ(count("href="), 1u);
    EXPECT_NE(page.find("1 texto passa da caixa"), std::string::npos);
    EXPECT_NE(page.find("Texto 3 &middot; Rei"), std::string::npos);
    EXPECT_EQ(count("&lt;b&gt;&amp;"), 3u);
    EXPECT_EQ(count("://"), 0u);  // nothing fetched
    EXPECT_NE(page.find("tradu\xC3\xA7\xC3\xA3o"), std::string::npos);  // the words in UTF-8
}

}  // namespace
