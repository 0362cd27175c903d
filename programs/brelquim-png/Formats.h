// The settings each file or graphic is converted with: the command line's,
// or, in a project, each graphic's own format from it, an option given on
// the command line winning key by key.
#pragma once

#include "png/Conversion.h"
#include "programs/brelquim-png/Options.h"
#include "project/Project.h"

#include <map>
#include <optional>
#include <string>

namespace png_program {

class GraphicSettings {
public:
    GraphicSettings(const Options& options, const std::optional<Project>& project)
        : options(options), project(project) {}
    // The settings of graphic (-1: a file that is no graphic's). False,
    // after the words, when a palette cannot be read or is none.
    bool settingsFor(int graphic, ConversionSettings& settings);
    // The folder of the graphics: the project's, or the extraction's.
    std::string folder() const;
    bool fromProject() const { return project.has_value(); }

private:
    bool palette(const std::string& path, uint32_t row, PaletteChoice& choice);

    const Options& options;
    const std::optional<Project>& project;
    std::map<std::string, std::vector<Colour>> palettes;  // read once each
};

// The graphic a file name is of ("arquivos/grafico_009.png": 9), or -1.
int graphicOfName(const std::string& path);

}  // namespace png_program
