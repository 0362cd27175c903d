#include "programs/brelquim-png/Formats.h"

#include "cli/Words.h"
#include "graphics/GameLayout.h"
#include "platform/FileBytes.h"

#include <cstdio>

namespace png_program {

int graphicOfName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    int number = -1;
    char dot = 0;
    char ending[4] = {};
    if (name.size() != 15 || std::sscanf(name.c_str(), "grafico_%3d%c%3c", &number, &dot, ending) != 3 || dot != '.') {
        return -1;
    }
    return number >= 0 && number < GRAPHICS_COUNT ? number : -1;
}

std::string GraphicSettings::folder() const {
    return project ? project->path(project->graphicsFolder) : std::string(OUTPUT_FOLDER);
}

bool GraphicSettings::palette(const std::string& path, uint32_t row, PaletteChoice& choice) {
    auto known = palettes.find(path);
    if (known == palettes.end()) {
        std::vector<uint8_t> bytes;
        const FileRead read = readWholeFile(path, bytes);
        if (read != FileRead::Read) {
            cli::printReadFailure(path, read);
            return false;
        }
        std::vector<Colour> colours;
        const PaletteProblem problem = parsePaletteFile(bytes.data(), bytes.size(), colours);
        if (problem.kind != PaletteProblem::None) {
            cli::printPaletteRefusal(path, cli::paletteWords(problem));
            return false;
        }
        known = palettes.emplace(path, std::move(colours)).first;
    }
    choice.fromFile = true;
    choice.colours = known->second;
    choice.row = row;
    return true;
}

bool GraphicSettings::settingsFor(int graphic, ConversionSettings& settings) {
    settings = ConversionSettings{};
    settings.format = options.format;
    settings.arrangement = options.arrangement;
    GraphicFormat own;
    if (project && graphic >= 0) own = project->formatOf(graphic);
    if (!options.formatGiven && own.format) settings.format = *own.format;
    // A picture without its record takes its format from its bit depth
    // only when neither the line nor the project gives one.
    settings.formatChosen = options.formatGiven || own.format.has_value();
    if (!options.columnsGiven && own.columns) settings.arrangement.columns = *own.columns;
    if (!options.blocks16Given && own.blocks16) settings.arrangement.blocks16 = *own.blocks16;
    const uint32_t row = options.paletteRowGiven ? options.paletteRow : own.paletteRow.value_or(options.paletteRow);
    if (!options.paletteFile.empty()) return palette(options.paletteFile, row, settings.palette);
    if (own.palette) return palette(project->path(*own.palette), row, settings.palette);
    return true;
}

}  // namespace png_program
