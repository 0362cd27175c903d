#include "programs/brelquim-png/Options.h"

#include "cli/Mistake.h"
#include "cli/ProjectFile.h"

#include <cstdio>

namespace png_program {

namespace {

// The most a palette row can be: the colours of the largest palette file.
constexpr uint64_t MAX_PALETTE_ROW = 65535;

bool parseNumber(const char* text, uint64_t low, uint64_t high, uint64_t& value) {
    if (!*text) return false;
    value = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9') return false;
        value = value * 10 + uint64_t(*c - '0');
        if (value > high) return false;
    }
    return value >= low;
}

bool formatOfBits(uint64_t bits, TileFormat& format) {
    switch (bits) {
        case 1: format = TileFormat::Bpp1; return true;
        case 2: format = TileFormat::Bpp2; return true;
        case 3: format = TileFormat::Bpp3; return true;
        case 4: format = TileFormat::Bpp4; return true;
        case 8: format = TileFormat::Bpp8; return true;
        default: return false;
    }
}

bool isBpp(const std::string& value) {
    uint64_t bits = 0;
    TileFormat format;
    return parseNumber(value.c_str(), 1, 8, bits) && formatOfBits(bits, format);
}
bool isColumns(const std::string& value) {
    uint64_t columns = 0;
    return parseNumber(value.c_str(), 1, MAX_COLUMNS, columns);
}
bool isPaletteRow(const std::string& value) {
    uint64_t row = 0;
    return parseNumber(value.c_str(), 0, MAX_PALETTE_ROW, row);
}

// Every option may come again: the last one given holds.
cli::Option option(std::vector<std::string> names, std::string value, std::string help,
                   bool (*check)(const std::string&) = nullptr) {
    cli::Option declared{std::move(names), std::move(value), std::move(help)};
    declared.lastHolds = true;
    declared.check = check;
    return declared;
}

const cli::Spec& spec() {
    static const cli::Spec declared = [] {
        cli::Spec s;
        s.positionals = {{"ARQUIVO"}};
        s.positionals.front().repeatable = true;
        cli::Option gallery = option({"--gallery"}, "", "desenha galeria.html com os gr\xE1""ficos de arquivos/");
        gallery.form = true;
        s.options = {
            gallery,
            option({"--bpp"}, "1|2|3|4|8", "bits por pixel dos tiles (padr\xE3o: 4)", isBpp),
            option({"--mode7"}, "", "tiles do Modo 7 (8 bits por pixel, um byte por pixel)"),
            option({"--columns"}, "N", "tiles por linha da imagem (padr\xE3o: 16)", isColumns),
            option({"--blocks16"}, "", "tiles em blocos de 16x16 (pede um n\xFAmero par de colunas)"),
            option({"--palette"}, "ARQUIVO", "paleta BGR555 (CGRAM) ou JASC-PAL (padr\xE3o: escala de cinza)",
                   cli::nonEmpty),
            option({"--palette-row"}, "R", "linha da paleta: a partir da cor R x 2^bpp (padr\xE3o: 0)",
                   isPaletteRow),
            cli::projectOption(),
            cli::helpOption("mostra esta ajuda"),
            cli::versionOption("mostra a vers\xE3o"),
        };
        return s;
    }();
    return declared;
}

// A line naming a problem of options that do not go together, and the
// usage.
bool refuse(const char* text) {
    std::printf("%s\n", text);
    cli::printUsage(pngProgram(), -1);
    return false;
}

}  // namespace

const cli::Program& pngProgram() {
    static const cli::Program program{"brelquim-png", "Brelquim PNG", &spec(), {}};
    return program;
}

bool pngOptionsOf(const cli::Parse& parse, Options& options) {
    uint64_t number = 0;
    options.gallery = parse.has("--gallery");
    const bool bppGiven = parse.has("--bpp"), mode7Given = parse.has("--mode7");
    if (bppGiven) {
        parseNumber(parse.last("--bpp").c_str(), 1, 8, number);
        formatOfBits(number, options.format);
    }
    if (mode7Given) options.format = TileFormat::Mode7;
    if (parse.has("--columns")) {
        parseNumber(parse.last("--columns").c_str(), 1, MAX_COLUMNS, number);
        options.arrangement.columns = static_cast<uint32_t>(number);
    }
    options.arrangement.blocks16 = parse.has("--blocks16");
    options.paletteFile = parse.last("--palette");
    if (parse.has("--palette-row")) {
        parseNumber(parse.last("--palette-row").c_str(), 0, MAX_PALETTE_ROW, number);
        options.paletteRow = static_cast<uint32_t>(number);
    }
    options.files = parse.positionals;
    options.formatGiven = bppGiven || mode7Given;
    options.columnsGiven = parse.has("--columns");
    options.blocks16Given = options.arrangement.blocks16;
    options.paletteRowGiven = parse.has("--palette-row");

    if (bppGiven && mode7Given) return refuse("Use --bpp ou --mode7, n\xE3o os dois.");
    if (options.arrangement.blocks16 && options.arrangement.columns % 2 != 0) {
        return refuse("--blocks16 pede um n\xFAmero par de colunas.");
    }
    return true;
}

}  // namespace png_program
