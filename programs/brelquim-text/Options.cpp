#include "programs/brelquim-text/Options.h"

#include "discovery/PointerFinder.h"
#include "discovery/RelativeSearch.h"
#include "discovery/TextScan.h"
#include "graphics/GameLayout.h"
#include "rom/Position.h"

#include <cstdlib>

namespace text_program {

namespace {

bool parseTable(const std::string& text, bool isLong, PointerTable& table) {
    Position at;
    uint32_t count = 0;
    if (parseAtCount(text, at, count) != PositionParse::Parsed) return false;
    table = {at.offset, count, isLong};
    return true;
}

constexpr unsigned long MOST_LEAST = 65535;

uint32_t countOf(const std::string& text, uint32_t otherwise) {
    return text.empty() ? otherwise : static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
}

// A decimal number from low to high.
bool readNumber(const std::string& text, long low, long high, int& value) {
    if (text.empty() || text.size() > 6) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    const long number = std::strtol(text.c_str(), nullptr, 10);
    if (number < low || number > high) return false;
    value = static_cast<int>(number);
    return true;
}

constexpr long MOST_PIXELS = MOST_BOX_PIXELS;

int numberOf(const cli::Parse& p, const char* option, int otherwise) {
    int value = otherwise;
    if (p.has(option)) readNumber(p.last(option), 0, MOST_PIXELS, value);
    return value;
}

// The font and the box: the options given, over what base holds.
PreviewSettings previewSettingsOf(const cli::Parse& p, PreviewSettings settings) {
    FontSettings& font = settings.font;
    font.graphic = numberOf(p, "--font-graphic", font.graphic);
    font.bpp = numberOf(p, "--bpp", font.bpp);
    font.first = numberOf(p, "--first", font.first);
    if (p.last("--advance") == "glyph") {
        font.measured = true;
    } else {
        font.advance = numberOf(p, "--advance", font.advance);
    }
    font.spacing = numberOf(p, "--spacing", font.spacing);
    BoxSettings& box = settings.box;
    box.width = numberOf(p, "--box-width", box.width);
    box.lines = numberOf(p, "--lines", box.lines);
    box.lineHeight = numberOf(p, "--line-height", box.lineHeight);
    box.breaks = p.all("--break");
    return settings;
}

// What the command line leaves out, the project gives.
void takeFromProject(const cli::Parse& p, const Project& project, TextOptions& options) {
    if (!p.has("-i")) options.input = project.path(project.original);
    if (!p.has("--table") && !project.table.empty()) options.table = project.path(project.table);
    switch (options.command) {
        case TextOptions::Dump:
            if (!p.has("-o") && !project.script.empty()) options.output = project.path(project.script);
            [[fallthrough]];
        case TextOptions::Preview:
        case TextOptions::Check:
            if (!p.has("--labels") && !project.labels.empty()) options.labels = project.path(project.labels);
            if (options.tables.empty()) options.tables = project.pointerTables;
            if (options.command == TextOptions::Dump) break;
            if (p.positionals.empty() && !project.script.empty()) options.script = project.path(project.script);
            options.preview = previewSettingsOf(p, project.preview);
            break;
        case TextOptions::Insert:
            if (p.positionals.empty() && !project.script.empty()) options.script = project.path(project.script);
            if (!p.has("--free")) {
                options.freeRanges = project.freeRanges;
                options.mergedFreeRanges = mergeOverlapping(options.freeRanges);
            }
            break;
        case TextOptions::Search:
        case TextOptions::Scan:
        case TextOptions::Pointers: break;
    }
}

}  // namespace

std::string missingOption(const TextOptions& options) {
    if (options.input.empty()) return "-i";
    if (options.command == TextOptions::Search) return "";
    if (options.table.empty()) return "--table";
    if (options.command == TextOptions::Dump && options.tables.empty()) return "--pointers";
    if (options.command == TextOptions::Insert && options.script.empty()) return "<roteiro>";
    return "";
}

bool isSearchWord(const std::string& text) { return constrainingCharacters(text) >= 0; }

bool isLeastCount(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const unsigned long value = std::strtoul(text.c_str(), nullptr, 10);
    return value >= 1 && value <= MOST_LEAST;
}

bool isGraphicNumber(const std::string& text) {
    int value = 0;
    return readNumber(text, 0, GRAPHICS_COUNT - 1, value);
}

bool isFontDepth(const std::string& text) { return text == "2" || text == "4" || text == "8"; }

bool isSmallNumber(const std::string& text) {
    int value = 0;
    return readNumber(text, 0, 255, value);
}

bool isAdvance(const std::string& text) {
    int value = 0;
    return text == "glyph" || readNumber(text, 1, MOST_PIXELS, value);
}

bool isPixels(const std::string& text) {
    int value = 0;
    return readNumber(text, 1, MOST_PIXELS, value);
}

bool isLineHeight(const std::string& text) {
    int value = 0;
    return readNumber(text, 1, MOST_LINE_HEIGHT, value);
}

bool isLineCount(const std::string& text) {
    int value = 0;
    return readNumber(text, 1, MOST_BOX_LINES, value);
}

bool isPointerTable(const std::string& text) {
    PointerTable table{0, 0, false};
    return parseTable(text, false, table);
}

TextOptions textOptionsOf(const cli::CommandParse& parse, const Project* project) {
    const cli::Parse& p = parse.parse;
    TextOptions options;
    options.command = static_cast<TextOptions::Command>(parse.command);
    options.input = p.last("-i");
    options.table = p.last("--table");
    options.output = p.last("-o");
    if (options.command == TextOptions::Search) {
        options.words = p.positionals;
        options.wide = p.has("--wide");
        if (project) takeFromProject(p, *project, options);
        return options;
    }
    if (options.command == TextOptions::Scan) {
        options.least = countOf(p.last("--min"), DEFAULT_LEAST_PIECES);
        if (project) takeFromProject(p, *project, options);
        return options;
    }
    if (options.command == TextOptions::Pointers) {
        options.least = countOf(p.last("--min-count"), DEFAULT_LEAST_POINTERS);
        options.save = p.has("--save");
        if (project) options.projectFile = p.has("--project") ? p.last("--project") : PROJECT_FILE;
        if (project) takeFromProject(p, *project, options);
        return options;
    }
    if (options.command == TextOptions::Preview || options.command == TextOptions::Check) {
        if (options.output.empty()) options.output = DEFAULT_PAGE;
        options.pngFolder = p.last("--png");
        options.preview = previewSettingsOf(p, PreviewSettings{});
        if (!p.positionals.empty()) options.script = p.positionals.front();
    }
    if (options.command != TextOptions::Insert) {
        if (options.output.empty()) options.output = DEFAULT_SCRIPT;
        options.labels = p.last("--labels");
        // The tables in the order they were given, whichever the kind.
        for (const cli::Parse::Given& given : p.inOrder({"--pointers", "--long-pointers"})) {
            const bool isLong = given.option == "--long-pointers";
            PointerTable table{0, 0, isLong};
            parseTable(given.value, isLong, table);
            options.tables.push_back(table);
        }
    } else {
        options.patch = p.last("--patch");
        options.freeRanges = cli::readFreeRanges(p.all("--free"));
        options.mergedFreeRanges = mergeOverlapping(options.freeRanges);
        if (!p.positionals.empty()) options.script = p.positionals.front();
    }
    if (project) takeFromProject(p, *project, options);
    return options;
}

}  // namespace text_program
