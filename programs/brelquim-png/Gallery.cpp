#include "programs/brelquim-png/Gallery.h"

#include "cli/Words.h"
#include "programs/brelquim-png/Words.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/FileBytes.h"
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

void drawEntry(GalleryEntry& entry, const std::string& folder, const ConversionSettings& settings) {
    std::vector<uint8_t> bytes;
    const FileRead read = readWholeFile(graphicPath(folder, entry.number), bytes);
    if (read == FileRead::Missing) {
        entry.state = GalleryEntry::Missing;
        return;
    }
    if (read != FileRead::Read) {
        entry.state = GalleryEntry::Unreadable;
        entry.reason = unreadableWords(read);
        return;
    }
    PngOfTiles png;
    ConversionProblem problem;
    if (!tilesToPng(bytes.data(), bytes.size(), settings, png, problem)) {
        entry.state = GalleryEntry::Unreadable;
        entry.reason = cli::conversionWords(problem);
        return;
    }
    entry.state = GalleryEntry::Drawn;
    entry.size = bytes.size();
    entry.png = std::move(png.png);
    entry.width = png.width;
    entry.height = png.height;
}

}  // namespace

bool drawGallery(const Options& options, GraphicSettings& settings) {
    // Run where brelquim has not run, there is nothing to show: no page.
    const std::string graphics = settings.folder();
    const GraphicsFolder folder = checkGraphicsFolder(graphics);
    if (folder != GraphicsFolder::Usable) {
        cli::printFolderRefusal(folder, graphics);
        return false;
    }
    std::vector<GalleryEntry> entries(GRAPHICS_COUNT);
    for (int number = 0; number < GRAPHICS_COUNT; ++number) entries[number].number = number;
    const bool logRead = readLog(entries);
    int missing = 0, unreadable = 0;
    ConversionSettings lineSettings;
    if (!settings.settingsFor(-1, lineSettings)) return false;
    for (GalleryEntry& entry : entries) {
        ConversionSettings own;
        if (!settings.settingsFor(entry.number, own)) return false;
        drawEntry(entry, graphics, own);
        missing += entry.state == GalleryEntry::Missing;
        unreadable += entry.state == GalleryEntry::Unreadable;
    }
    const std::string page = galleryPage(entries, drawnWithWords(options, lineSettings, settings.fromProject()), logRead);
    if (!cli::replaceOrSay(GALLERY_FILE, page.data(), page.size())) return false;
    printGalleryWritten(GALLERY_FILE, GRAPHICS_COUNT - missing - unreadable, missing, unreadable);
    if (!logRead) printGalleryWithoutLog(LOG_FILE);
    return missing == 0 && unreadable == 0 && logRead;
}

}  // namespace png_program
