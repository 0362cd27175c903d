#include "programs/brelquim-png/FileConversion.h"

#include "programs/brelquim-png/Words.h"
#include "platform/ReplacingFile.h"
#include "rom/RomImage.h"

#include <cstdio>

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

void refuse(const std::string& path, const std::string& reason) {
    printWithPath("Erro em ", path, ": ");
    std::printf("%s\n", reason.c_str());
}

bool convertFile(const std::string& path, const ConversionSettings& settings) {
    const bool fromBin = endsWith(path, BIN_SUFFIX);
    if (!fromBin && !endsWith(path, PNG_SUFFIX)) {
        printWithPath("Nome n\xE3o termina em .bin nem em .png: ", path);
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
    bool recorded = true;
    if (fromBin) {
        PngOfTiles png;
        converted = tilesToPng(input.data(), input.size(), settings, png, reason);
        output = std::move(png.png);
    } else {
        converted = pngToTiles(input.data(), input.size(), settings, output, reason, &recorded);
    }
    if (!converted) {
        refuse(path, reason);
        return false;
    }
    switch (ReplacingFile::replaceWith(target, output.data(), output.size())) {
        case ReplacingFile::Outcome::Replaced: break;
        case ReplacingFile::Outcome::NotAFile: refuse(target, "n\xE3o \xE9 um arquivo comum; nada foi gravado nele"); return false;
        case ReplacingFile::Outcome::Failed: printWithPath("Erro de escrita de ", target); return false;
    }
    printWithPath("", path, " -> ");
    printWithPath("", target);
    if (!recorded && output.size() > LARGEST_INSERTED_GRAPHIC) {
        printWithPath("Aviso: ", target, "");
        std::printf(" tem %llu bytes; o brelquim-insert aceita no m\xE1ximo %u bytes por gr\xE1""fico.\n",
                    static_cast<unsigned long long>(output.size()), static_cast<unsigned>(LARGEST_INSERTED_GRAPHIC));
    }
    return true;
}

}  // namespace

void reportReadFailure(const std::string& path, FileRead outcome) {
    switch (outcome) {
        case FileRead::Missing:
        case FileRead::CannotOpen: reportOpenFailure(path.c_str()); break;
        case FileRead::TooLarge: refuse(path, "arquivo grande demais"); break;
        case FileRead::NotAFile: refuse(path, "n\xE3o \xE9 um arquivo comum; nada foi lido dele"); break;
        case FileRead::Unreadable:
        case FileRead::Read: printWithPath("Erro de leitura de ", path); break;
    }
}

bool convertFiles(const std::vector<std::string>& files, const ConversionSettings& settings) {
    bool all = true;
    for (const std::string& path : files) all = convertFile(path, settings) && all;
    return all;
}

}  // namespace png_program
