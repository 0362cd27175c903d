#include "programs/brelquim-png/FileConversion.h"

#include "cli/Words.h"
#include "programs/brelquim-png/Words.h"

namespace png_program {

namespace {

constexpr char BIN_SUFFIX[] = ".bin";
constexpr char PNG_SUFFIX[] = ".png";
constexpr size_t SUFFIX_LENGTH = 4;
// The most bytes a graphic's directory record can describe.
constexpr size_t LARGEST_INSERTED_GRAPHIC = 65535;

// Whether a name ends in the suffix, in any mix of upper and lower case.
bool endsWith(const std::string& name, const char* suffix) {
    if (name.size() <= SUFFIX_LENGTH) return false;
    for (size_t i = 0; i < SUFFIX_LENGTH; ++i) {
        char c = name[name.size() - SUFFIX_LENGTH + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

bool convertFile(const std::string& path, GraphicSettings& chooser) {
    const bool fromBin = endsWith(path, BIN_SUFFIX);
    if (!fromBin && !endsWith(path, PNG_SUFFIX)) {
        printNotConvertible(path);
        return false;
    }
    std::vector<uint8_t> input;
    const FileRead read = readWholeFile(path, input);
    if (read != FileRead::Read) {
        cli::printReadFailure(path, read);
        return false;
    }

    ConversionSettings settings;
    if (!chooser.settingsFor(graphicOfName(path), settings)) return false;
    const std::string target = path.substr(0, path.size() - SUFFIX_LENGTH) + (fromBin ? PNG_SUFFIX : BIN_SUFFIX);
    ConversionProblem problem;
    std::vector<uint8_t> output;
    bool converted = false;
    TilesSource source;
    if (fromBin) {
        PngOfTiles png;
        converted = tilesToPng(input.data(), input.size(), settings, png, problem);
        output = std::move(png.png);
    } else {
        converted = pngToTiles(input.data(), input.size(), settings, output, problem, &source);
    }
    if (!converted) {
        cli::printConversionRefusal(path, cli::conversionWords(problem));
        return false;
    }
    if (!cli::replaceOrSay(target, output.data(), output.size())) return false;
    printConverted(path, target);
    if (!source.recorded && !settings.formatChosen) printFormatTaken(source);
    if (!source.recorded && output.size() > LARGEST_INSERTED_GRAPHIC) {
        printLargerThanAGraphic(target, output.size(), LARGEST_INSERTED_GRAPHIC);
    }
    return true;
}

}  // namespace

bool convertFiles(const std::vector<std::string>& files, GraphicSettings& settings) {
    bool all = true;
    for (const std::string& path : files) all = convertFile(path, settings) && all;
    return all;
}

}  // namespace png_program
