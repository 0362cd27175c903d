#include "project/Build.h"

#include "graphics/GraphicsDirectory.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstring>

std::string graphicPngPath(const std::string& folder, int graphic) {
    std::string path = graphicPath(folder, graphic);
    return path.substr(0, path.size() - 4) + ".png";
}

EditSource::Outcome ProjectEdits::read(int graphic, uint8_t* buffer, uint32_t& length) {
    const std::string png = graphicPngPath(folder, graphic);
    const std::string bin = graphicPath(folder, graphic);
    if (fileKind(png.c_str()) != FileKind::Missing &&
        (fileKind(bin.c_str()) == FileKind::Missing || modifiedAfter(png.c_str(), bin.c_str()))) {
        return convertPng(graphic, png, buffer, length);
    }
    return bins.read(graphic, buffer, length);
}

EditSource::Outcome ProjectEdits::convertPng(int graphic, const std::string& png, uint8_t* buffer, uint32_t& length) {
    const GraphicFormat format = project.formatOf(graphic);
    ConversionSettings settings;
    settings.format = format.format.value_or(TileFormat::Bpp4);
    settings.arrangement.columns = format.columns.value_or(settings.arrangement.columns);
    settings.arrangement.blocks16 = format.blocks16.value_or(false);
    if (format.palette) {
        const std::string palette = project.path(*format.palette);
        std::vector<uint8_t> bytes;
        problem.path = palette;
        problem.read = readWholeFile(palette, bytes);
        if (problem.read != FileRead::Read) {
            problem.kind = Problem::PaletteUnreadable;
            return Unreadable;
        }
        problem.palette = parsePaletteFile(bytes.data(), bytes.size(), settings.palette.colours);
        if (problem.palette.kind != PaletteProblem::None) {
            problem.kind = Problem::PaletteRefused;
            return Unreadable;
        }
        settings.palette.fromFile = true;
        settings.palette.row = format.paletteRow.value_or(0);
    }
    std::vector<uint8_t> picture, tiles;
    problem.path = png;
    problem.read = readWholeFile(png, picture);
    if (problem.read != FileRead::Read) {
        problem.kind = Problem::PngUnreadable;
        return Unreadable;
    }
    if (!pngToTiles(picture.data(), picture.size(), settings, tiles, problem.conversion)) {
        problem.kind = Problem::PngRefused;
        return Unreadable;
    }
    if (tiles.size() > LARGEST_GRAPHIC) return TooLarge;
    std::memcpy(buffer, tiles.data(), tiles.size());
    length = static_cast<uint32_t>(tiles.size());
    fromPng.push_back(graphic);
    return Read;
}

RangesLeft rangesLeft(const std::vector<Span>& freeRanges, const InsertResult& graphics) {
    RangesLeft left;
    for (size_t r = 0; r < freeRanges.size(); ++r) {
        std::vector<Span> pieces{freeRanges[r]};
        for (const GraphicChange& change : graphics.changes) {
            const uint32_t start = loRomToFile(change.newAddress), end = start + change.newLength;
            std::vector<Span> kept;
            for (const Span& piece : pieces) {
                if (end <= piece.start || start >= piece.end) {
                    kept.push_back(piece);
                    continue;
                }
                if (piece.start < start) kept.push_back({piece.start, start});
                if (end < piece.end) kept.push_back({end, piece.end});
            }
            pieces = kept;
        }
        for (const Span& piece : pieces) {
            left.pieces.push_back(piece);
            left.rangeOf.push_back(r);
        }
    }
    return left;
}

ProjectBuild buildImage(RomImage& rom, EditSource& edits, const Project& project, const TextTable* table,
                        const ScriptReading* script) {
    ProjectBuild build;
    build.freeRanges = project.freeRanges;
    build.mergedFreeRanges = mergeOverlapping(build.freeRanges);
    build.graphics = insertGraphics(rom, edits, {build.freeRanges, project.allowResize});
    if (build.graphics.outcome != InsertResult::Done) {
        build.outcome = ProjectBuild::GraphicsRefused;
        return build;
    }
    build.graphicsChecksum = static_cast<uint16_t>(rom.checksum);
    build.textRanges = rangesLeft(build.freeRanges, build.graphics);
    build.freeLeft.assign(build.freeRanges.size(), 0);
    if (!table || !script) {
        for (size_t p = 0; p < build.textRanges.pieces.size(); ++p) {
            const Span& piece = build.textRanges.pieces[p];
            build.freeLeft[build.textRanges.rangeOf[p]] += piece.end - piece.start;
        }
        return build;
    }
    build.textDone = true;
    build.text = insertText(rom, *table, *script, build.textRanges.pieces);
    if (build.text.outcome != TextInsertResult::Done) {
        build.outcome = ProjectBuild::TextRefused;
        return build;
    }
    for (size_t p = 0; p < build.textRanges.pieces.size(); ++p) {
        build.freeLeft[build.textRanges.rangeOf[p]] += build.text.freeLeft[p];
    }
    return build;
}
