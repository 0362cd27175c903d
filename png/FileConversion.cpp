#include "png/FileConversion.h"

#include "platform/Platform.h"

#include <cstdio>

namespace {

constexpr char BIN_SUFFIX[] = ".bin";
constexpr char PNG_SUFFIX[] = ".png";
constexpr size_t SUFFIX_LENGTH = 4;

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

void refuse(const std::string& path, const std::string& reason) {
    std::printf("Erro em ");
    printVerbatim(path.c_str());
    std::printf(": %s\n", reason.c_str());
}

bool convertFile(const std::string& path, const ConversionSettings& settings) {
    const bool fromBin = endsWith(path, BIN_SUFFIX);
    if (!fromBin && !endsWith(path, PNG_SUFFIX)) {
        std::printf("Nome n\xE3o termina em .bin nem em .png: ");
        printVerbatim(path.c_str());
        std::printf("\n");
        return false;
    }
    std::vector<uint8_t> input;
    const FileRead read = readWholeFile(path, input);
    if (read != FileRead::Read) {
        reportReadFailure(path, read);
        return false;
    }

    const std::string target = path.substr(0, path.size() - SUFFIX_LENGTH) + (fromBin ? PNG_SUFFIX : BIN_SUFFIX);
    std::string reason;
    std::vector<uint8_t> output;
    bool converted = false;
    if (fromBin) {
        PngOfTiles png;
        converted = tilesToPng(input.data(), input.size(), settings, png, reason);
        output = std::move(png.png);
    } else {
        converted = pngToTiles(input.data(), input.size(), settings, output, reason);
    }
    if (!converted) {
        refuse(path, reason);
        return false;
    }
    if (!replaceWholeFile(target, output.data(), output.size())) {
        std::printf("Erro de escrita de ");
        printVerbatim(target.c_str());
        std::printf("\n");
        return false;
    }
    printVerbatim(path.c_str());
    std::printf(" -> ");
    printVerbatim(target.c_str());
    std::printf("\n");
    return true;
}

}  // namespace

void reportReadFailure(const std::string& path, FileRead outcome) {
    switch (outcome) {
        case FileRead::Missing:
        case FileRead::CannotOpen:
            std::printf("Erro ao abrir arquivo [");
            printVerbatim(path.c_str());
            std::printf("]\n");
            break;
        case FileRead::TooLarge: refuse(path, "arquivo grande demais"); break;
        case FileRead::Unreadable:
        case FileRead::Read:
            std::printf("Erro de leitura de ");
            printVerbatim(path.c_str());
            std::printf("\n");
            break;
    }
}

bool convertFiles(const std::vector<std::string>& files, const ConversionSettings& settings) {
    bool all = true;
    for (const std::string& path : files) all = convertFile(path, settings) && all;
    return all;
}
