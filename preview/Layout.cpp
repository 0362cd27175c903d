#include "preview/Layout.h"

#include "graphics/Decompress.h"
#include "graphics/GraphicsDirectory.h"

#include "text/TextCodec.h"

#include <algorithm>
#include <unordered_map>

GlyphFont::GlyphFont(const uint8_t* bytes, size_t length, TileFormat format) {
    const size_t tileBytes = bytesPerTile(format);
    count = length / tileBytes;
    decoded.resize(count * TILE_PIXELS);
    widths.resize(count);
    for (size_t t = 0; t < count; ++t) {
        uint8_t* pixels = decoded.data() + t * TILE_PIXELS;
        decodeTile(format, bytes + t * tileBytes, pixels, TILE_SIDE);
        int width = 0;
        for (int i = 0; i < TILE_PIXELS; ++i) {
            if (pixels[i] != 0 && i % TILE_SIDE + 1 > width) width = i % TILE_SIDE + 1;
        }
        widths[t] = width;
    }
}

std::vector<std::string> utf8Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (size_t i = 0; i < text.size();) {
        size_t length = 1;
        const uint8_t lead = static_cast<uint8_t>(text[i]);
        if (lead >= 0xF0) length = 4;
        else if (lead >= 0xE0) length = 3;
        else if (lead >= 0xC0) length = 2;
        if (i + length > text.size()) length = text.size() - i;
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

TextLayout::TextLayout(const TextTable& table, const GlyphFont& font, const PreviewSettings& settings)
    : table(table), font(font), settings(settings) {
    const std::vector<TableEntry>& all = table.entries();
    // The code that draws a character: its one-byte entry, the first in
    // the file.
    std::unordered_map<std::string, int> codeOf;
    for (const TableEntry& entry : all) {
        if (entry.kind != TableEntry::Text || entry.bytes.size() != 1) continue;
        if (utf8Characters(entry.text).size() == 1) codeOf.emplace(entry.text, entry.bytes[0]);
    }
    entries.resize(all.size());
    for (size_t e = 0; e < all.size(); ++e) {
        const TableEntry& entry = all[e];
        EntryGlyphs& glyphs = entries[e];
        if (entry.kind != TableEntry::Text) continue;
        for (const std::string& text : settings.box.breaks) {
            if (text == entry.text) glyphs.startsBox = true;
        }
        if (glyphs.startsBox) continue;
        glyphs.characters = utf8Characters(entry.text);
        for (const std::string& character : glyphs.characters) {
            const auto found = codeOf.find(character);
            // A one-character entry of one byte draws the tile of its own code.
            const int code = glyphs.characters.size() == 1 && entry.bytes.size() == 1
                                 ? entry.bytes[0]
                                 : found == codeOf.end() ? -1 : found->second;
            glyphs.tiles.push_back(code < 0 ? -1 : tileOf(code));
        }
    }
    advances.resize(font.tiles());
    for (size_t t = 0; t < font.tiles(); ++t) {
        const int lit = font.litWidth(t);
        // A blank glyph (a space) measures half a tile.
        advances[t] = settings.font.measured ? (lit == 0 ? TILE_SIDE / 2 : lit) + settings.font.spacing
                                             : settings.font.advance;
    }
}

int32_t TextLayout::tileOf(int code) const {
    const int tile = code - settings.font.first;
    return tile < 0 || static_cast<size_t>(tile) >= font.tiles() ? -1 : tile;
}

int32_t TextLayout::advanceOf(int32_t tile) const {
    return tile < 0 ? settings.font.advance : advances[static_cast<size_t>(tile)];
}

LaidString TextLayout::layOut(const uint8_t* bytes, size_t length) const {
    std::vector<TextPiece> pieces;
    readString(table, bytes, length, pieces);
    LaidString laid;
    laid.boxes.emplace_back();
    laid.boxes.back().lines.emplace_back();
    size_t line = 1;
    // Breaks take effect at the next glyph: a break right before the end
    // opens no line, and none opens a box.
    size_t pendingLines = 0;
    bool pendingBox = false;
    const auto place = [&](int32_t tile, const std::string* character) {
        if (pendingBox) {
            laid.boxes.emplace_back();
            laid.boxes.back().lines.emplace_back();
            ++line;
        }
        for (; pendingLines > 0; --pendingLines) {
            laid.boxes.back().lines.emplace_back();
            ++line;
        }
        pendingBox = false;
        LaidLine& current = laid.boxes.back().lines.back();
        if (tile < 0 && character) laid.missing.push_back({line, current.glyphs.size() + 1, *character});
        current.glyphs.push_back({tile, current.width});
        current.width += advanceOf(tile);
    };
    const std::vector<TableEntry>& all = table.entries();
    for (const TextPiece& piece : pieces) {
        if (piece.entry < 0) {
            place(tileOf(bytes[piece.start]), nullptr);
            continue;
        }
        const TableEntry& entry = all[static_cast<size_t>(piece.entry)];
        if (entry.kind == TableEntry::End) break;
        if (entry.kind == TableEntry::LineBreak) {
            ++pendingLines;
            continue;
        }
        if (entry.kind != TableEntry::Text) continue;
        const EntryGlyphs& glyphs = entries[static_cast<size_t>(piece.entry)];
        if (glyphs.startsBox) {
            pendingBox = true;
            pendingLines = 0;
            continue;
        }
        for (size_t c = 0; c < glyphs.tiles.size(); ++c) place(glyphs.tiles[c], &glyphs.characters[c]);
    }
    return laid;
}

std::vector<Overflow> overflowsOf(const LaidString& string, const BoxSettings& box) {
    std::vector<Overflow> overflows;
    size_t line = 0;
    for (size_t b = 0; b < string.boxes.size(); ++b) {
        const std::vector<LaidLine>& lines = string.boxes[b].lines;
        for (const LaidLine& laid : lines) {
            ++line;
            if (laid.width > box.width) overflows.push_back({Overflow::Line, b + 1, line, laid.width, box.width});
        }
        if (lines.size() > static_cast<size_t>(box.lines)) {
            overflows.push_back({Overflow::Box, b + 1, 0, static_cast<int32_t>(lines.size()), box.lines});
        }
    }
    return overflows;
}

std::vector<StringOverflows> checkStrings(const TextLayout& layout, const std::vector<std::vector<uint8_t>>& strings,
                                          const BoxSettings& box) {
    std::vector<StringOverflows> found;
    for (size_t s = 0; s < strings.size(); ++s) {
        LaidString laid = layout.layOut(strings[s].data(), strings[s].size());
        std::vector<Overflow> overflows = overflowsOf(laid, box);
        if (overflows.empty() && laid.missing.empty()) continue;
        found.push_back({s, std::move(overflows), std::move(laid.missing)});
    }
    return found;
}

bool readFontGraphic(RomImage& rom, int graphic, std::vector<uint8_t>& bytes) {
    GraphicRecord record{};
    uint32_t dataIndex = 0;
    if (!readGraphicRecord(rom, graphic, record, dataIndex)) return false;
    if (dataIndex < rom.headerBytes() || dataIndex >= static_cast<uint32_t>(rom.size)) return false;
    bytes.assign(std::max<size_t>(record.unpackedSize, 1), 0);
    const GraphicDecode decoded = decompressGraphic(rom, record.unpackedSize, bytes.data());
    if (uint64_t{dataIndex} + decoded.packedLength > static_cast<uint64_t>(rom.size)) return false;
    bytes.resize(decoded.producedLength);
    return true;
}

TileFormat fontFormat(int bpp) { return bpp == 8 ? TileFormat::Bpp8 : bpp == 4 ? TileFormat::Bpp4 : TileFormat::Bpp2; }

ImageCheck checkImageStrings(RomImage& rom, const TextTable& table, const std::vector<PointerTable>& tables,
                             const PreviewSettings& settings) {
    ImageCheck check;
    std::vector<uint8_t> fontBytes;
    if (!readFontGraphic(rom, settings.font.graphic, fontBytes)) {
        check.outcome = ImageCheck::FontUnreadable;
        return check;
    }
    const GlyphFont font(fontBytes.data(), fontBytes.size(), fontFormat(settings.font.bpp));
    const TextLayout layout(table, font, settings);
    const uint8_t* romData = rom.romData();
    check.survey = surveyStrings(romData, rom.romDataSize(), tables, table);
    if (check.survey.outcome != StringSurvey::Done) {
        check.outcome = ImageCheck::SurveyRefused;
        return check;
    }
    std::vector<std::vector<uint8_t>> strings;
    for (const GameString& string : check.survey.strings) {
        strings.emplace_back(romData + string.offset, romData + string.offset + string.length);
    }
    check.found = checkStrings(layout, strings, settings.box);
    return check;
}
