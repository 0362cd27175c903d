#include "programs/brelquim-png/Gallery.h"

#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/FileBytes.h"
#include "platform/ReplacingFile.h"
#include "png/GalleryPage.h"

#include <cstdio>
#include <string>

namespace png_program {

namespace {

// The log's lines by graphic number; false when the log cannot be read.
bool readLog(std::vector<GalleryEntry>& entries) {
    std::vector<uint8_t> bytes;
    if (readWholeFile(LOG_FILE, bytes) != FileRead::Read) return false;
    const std::string text(bytes.begin(), bytes.end());
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        int number = -1;
        unsigned address = 0, packed = 0, endOffset = 0;
        char rest = 0;
        const int fields = std::sscanf(line.c_str(), "grafico_%3d.bin %6x %4x %6x%c", &number, &address, &packed,
                                       &endOffset, &rest);
        if (fields < 4 || (fields == 5 && rest != '\r') || number < 0 || number >= GRAPHICS_COUNT) continue;
        GalleryEntry& entry = entries[number];
        entry.logged = true;
        entry.address = address;
        entry.packedLength = packed;
    }
    return true;
}

void drawEntry(GalleryEntry& entry, const ConversionSettings& settings) {
    std::vector<uint8_t> bytes;
    switch (readWholeFile(graphicPath(OUTPUT_FOLDER, entry.number), bytes)) {
        case FileRead::Read: break;
        case FileRead::Missing: entry.state = GalleryEntry::Missing; return;
        case FileRead::CannotOpen:
        case FileRead::Unreadable:
            entry.state = GalleryEntry::Unreadable;
            entry.reason = "erro de leitura";
            return;
        case FileRead::TooLarge:
            entry.state = GalleryEntry::Unreadable;
            entry.reason = "arquivo grande demais";
            return;
        case FileRead::NotAFile:
            entry.state = GalleryEntry::Unreadable;
            entry.reason = "n\xE3o \xE9 um arquivo comum";
            return;
    }
    PngOfTiles png;
    if (!tilesToPng(bytes.data(), bytes.size(), settings, png, entry.reason)) {
        entry.state = GalleryEntry::Unreadable;
        return;
    }
    entry.state = GalleryEntry::Drawn;
    entry.size = bytes.size();
    entry.png = std::move(png.png);
    entry.width = png.width;
    entry.height = png.height;
}

// "Formato 4bpp, 16 colunas, paleta: escala de cinza (16 tons)."
std::string drawnWith(const Options& options, const ConversionSettings& settings) {
    std::string text = std::string("Formato ") + formatName(settings.format) + ", " +
                       std::to_string(settings.arrangement.columns) + " colunas";
    if (settings.arrangement.blocks16) text += ", em blocos de 16x16";
    text += ", paleta: ";
    if (options.paletteFile.empty()) {
        text += "escala de cinza (" + std::to_string(colourCount(settings.format)) + " tons)";
    } else {
        text += options.paletteFile + ", linha " + std::to_string(options.paletteRow);
    }
    return text + ". Cada pixel em 2 x 2.";
}

}  // namespace

bool drawGallery(const Options& options, const ConversionSettings& settings) {
    // Run where brelquim has not run, there is nothing to show: no page.
    const GraphicsFolder folder = checkGraphicsFolder(OUTPUT_FOLDER);
    if (folder != GraphicsFolder::Usable) {
        std::printf("%s%s\nNada foi gravado.\n",
                    folder == GraphicsFolder::Missing      ? "Pasta n\xE3o encontrada: "
                    : folder == GraphicsFolder::NotAFolder ? "N\xE3o \xE9 uma pasta: "
                                                           : "Nenhum grafico_NNN.bin na pasta ",
                    OUTPUT_FOLDER);
        return false;
    }
    std::vector<GalleryEntry> entries(GRAPHICS_COUNT);
    for (int number = 0; number < GRAPHICS_COUNT; ++number) entries[number].number = number;
    const bool logRead = readLog(entries);
    int missing = 0, unreadable = 0;
    for (GalleryEntry& entry : entries) {
        drawEntry(entry, settings);
        missing += entry.state == GalleryEntry::Missing;
        unreadable += entry.state == GalleryEntry::Unreadable;
    }
    const std::string page = galleryPage(entries, drawnWith(options, settings), logRead);
    switch (ReplacingFile::replaceWith(GALLERY_FILE, page.data(), page.size())) {
        case ReplacingFile::Outcome::Replaced: break;
        case ReplacingFile::Outcome::NotAFile:
            std::printf("Erro em %s: n\xE3o \xE9 um arquivo comum; nada foi gravado nele\n", GALLERY_FILE);
            return false;
        case ReplacingFile::Outcome::Failed: std::printf("Erro de escrita de %s\n", GALLERY_FILE); return false;
    }
    std::printf("%s: %d gr\xE1" "ficos desenhados, %d ausentes, %d ileg\xEDveis\n", GALLERY_FILE,
                GRAPHICS_COUNT - missing - unreadable, missing, unreadable);
    if (!logRead) std::printf("%s ausente ou ileg\xEDvel: a galeria n\xE3o mostra endere\xE7os\n", LOG_FILE);
    return missing == 0 && unreadable == 0 && logRead;
}

}  // namespace png_program
