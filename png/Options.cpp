#include "png/Options.h"

#include "platform/Platform.h"

#include <cstdio>
#include <cstring>

namespace {

// The most a palette row can be: the colours of the largest palette file.
constexpr uint64_t MAX_PALETTE_ROW = 65535;

void usage() {
    std::printf(
        "Uso:\n"
        "brelquim-png.exe [--bpp 1|2|3|4|8] [--mode7] [--columns N] [--blocks16] [--palette ARQUIVO] "
        "[--palette-row R] ARQUIVO...\n"
        "brelquim-png.exe --gallery [--bpp 1|2|3|4|8] [--mode7] [--columns N] [--blocks16] [--palette ARQUIVO] "
        "[--palette-row R]\n"
        "\n");
}

// A line naming the problem, with the entry the user gave as it came.
bool refuse(const char* text, const char* entry = nullptr, const char* value = nullptr) {
    std::printf("%s", text);
    if (entry) printVerbatim(entry);
    if (value) {
        std::printf(": ");
        printVerbatim(value);
    }
    std::printf("\n");
    usage();
    return false;
}

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

}  // namespace

bool parseOptions(int argc, char** argv, Options& options) {
    bool bppGiven = false, mode7Given = false, onlyFiles = false;
    for (int i = 0; i < argc; ++i) {
        const char* entry = argv[i];
        const bool takesValue = std::strcmp(entry, "--bpp") == 0 || std::strcmp(entry, "--columns") == 0 ||
                                std::strcmp(entry, "--palette") == 0 || std::strcmp(entry, "--palette-row") == 0;
        if (onlyFiles || entry[0] != '-' || std::strcmp(entry, "-") == 0) {
            options.files.push_back(entry);
            continue;
        }
        if (takesValue && i + 1 >= argc) return refuse("Falta o valor de ", entry);
        const char* value = takesValue ? argv[++i] : nullptr;
        uint64_t number = 0;
        if (std::strcmp(entry, "--") == 0) {
            onlyFiles = true;
        } else if (std::strcmp(entry, "--gallery") == 0) {
            options.gallery = true;
        } else if (std::strcmp(entry, "--mode7") == 0) {
            options.format = TileFormat::Mode7;
            mode7Given = true;
        } else if (std::strcmp(entry, "--blocks16") == 0) {
            options.arrangement.blocks16 = true;
        } else if (std::strcmp(entry, "--bpp") == 0) {
            if (!parseNumber(value, 1, 8, number) || !formatOfBits(number, options.format)) {
                return refuse("Valor inv\xE1lido para ", entry, value);
            }
            bppGiven = true;
        } else if (std::strcmp(entry, "--columns") == 0) {
            if (!parseNumber(value, 1, MAX_COLUMNS, number)) return refuse("Valor inv\xE1lido para ", entry, value);
            options.arrangement.columns = static_cast<uint32_t>(number);
        } else if (std::strcmp(entry, "--palette") == 0) {
            if (!*value) return refuse("Valor inv\xE1lido para ", entry, value);
            options.paletteFile = value;
        } else if (std::strcmp(entry, "--palette-row") == 0) {
            if (!parseNumber(value, 0, MAX_PALETTE_ROW, number)) {
                return refuse("Valor inv\xE1lido para ", entry, value);
            }
            options.paletteRow = static_cast<uint32_t>(number);
        } else {
            return refuse("Op\xE7\xE3o desconhecida: ", entry);
        }
    }
    if (bppGiven && mode7Given) return refuse("Use --bpp ou --mode7, n\xE3o os dois.");
    if (options.arrangement.blocks16 && options.arrangement.columns % 2 != 0) {
        return refuse("--blocks16 pede um n\xFAmero par de colunas.");
    }
    if (options.gallery && !options.files.empty()) return refuse("--gallery n\xE3o leva arquivos.");
    if (!options.gallery && options.files.empty()) {
        usage();
        return false;
    }
    return true;
}
