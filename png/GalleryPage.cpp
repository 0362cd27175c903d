#include "png/GalleryPage.h"

#include "graphics/GameLayout.h"
#include "graphics/GraphicsDirectory.h"
#include "png/Base64.h"
#include "png/HtmlText.h"

#include <cstdio>

namespace {

// Pictures are shown at this many screen pixels per pixel.
constexpr uint32_t SCALE = 2;

// The page's look. Text and background are colours that no grey of a
// picture matches.
constexpr char PAGE_HEAD[] =
    "<!DOCTYPE html>\n"
    "<html lang=\"pt-BR\">\n"
    "<head>\n"
    "<meta charset=\"windows-1252\">\n"
    "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; img-src data:; "
    "style-src 'unsafe-inline'\">\n"
    "<title>Brelquim: galeria</title>\n"
    "<style>\n"
    "body { background: #1c2a3a; color: #f2d98c; font-family: sans-serif; margin: 16px; }\n"
    "figure { display: inline-block; vertical-align: top; margin: 0 12px 16px 0; }\n"
    "figcaption { font-size: 13px; margin-top: 4px; }\n"
    "img { display: block; image-rendering: crisp-edges; image-rendering: pixelated; }\n"
    ".falta { color: #ff8c7a; }\n"
    "</style>\n"
    "</head>\n"
    "<body>\n";

std::string numbered(const char* format, unsigned long long a, unsigned long long b = 0) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// "1 byte", "2 bytes"; with a word after it in the same number.
std::string byteCount(uint64_t count, const char* one = "", const char* many = "") {
    return std::to_string(count) + (count == 1 ? std::string(" byte") + one : std::string(" bytes") + many);
}

std::string caption(const GalleryEntry& entry) {
    std::string text = "<b>" + numbered("%03llu", entry.number) + "</b> " + graphicFileName(entry.number);
    switch (entry.state) {
        case GalleryEntry::Drawn: text += ", " + byteCount(entry.size); break;
        case GalleryEntry::Missing: text += ", <span class=\"falta\">ausente</span>"; break;
        case GalleryEntry::Unreadable:
            text += ", <span class=\"falta\">ileg\xEDvel: " + htmlEscaped(entry.reason) + "</span>";
            break;
    }
    text += "<br>";
    if (entry.logged) {
        text += numbered("$%02llX:%04llX", entry.address >> 16, entry.address & 0xFFFF) + ", " +
                byteCount(entry.packedLength, " comprimido", " comprimidos");
    } else {
        text += "sem linha no log.txt";
    }
    return text;
}

std::string figure(const GalleryEntry& entry) {
    std::string html = "<figure>";
    if (entry.state == GalleryEntry::Drawn) {
        html += "<img width=\"" + std::to_string(entry.width * SCALE) + "\" height=\"" +
                std::to_string(entry.height * SCALE) + "\" alt=\"\" src=\"data:image/png;base64," +
                base64(entry.png.data(), entry.png.size()) + "\">";
    }
    return html + "<figcaption>" + caption(entry) + "</figcaption></figure>\n";
}

// "grafico_005.bin, grafico_006.bin" of the entries in a state, or "".
std::string namesIn(const std::vector<GalleryEntry>& entries, GalleryEntry::State state, int& count) {
    std::string names;
    count = 0;
    for (const GalleryEntry& entry : entries) {
        if (entry.state != state) continue;
        names += (count++ ? ", " : "") + graphicFileName(entry.number);
    }
    return names;
}

}  // namespace

std::string galleryPage(const std::vector<GalleryEntry>& entries, const std::string& drawnWith, bool logRead) {
    std::string html = PAGE_HEAD;
    html += std::string("<h1>Brelquim v") + PROGRAM_VERSION + ": gr\xE1" + "ficos de " + OUTPUT_FOLDER + "</h1>\n";
    html += "<p>" + htmlEscaped(drawnWith) + "</p>\n";
    int missing = 0, unreadable = 0;
    const std::string missingNames = namesIn(entries, GalleryEntry::Missing, missing);
    const std::string unreadableNames = namesIn(entries, GalleryEntry::Unreadable, unreadable);
    html += "<p>" + numbered("%llu gr\xE1" "ficos, %llu desenhados.", entries.size(),
                             entries.size() - missing - unreadable);
    if (missing) html += " <span class=\"falta\">Ausentes: " + missingNames + ".</span>";
    if (unreadable) html += " <span class=\"falta\">Ileg\xEDveis: " + unreadableNames + ".</span>";
    html += "</p>\n";
    if (!logRead) {
        html += std::string("<p class=\"falta\">") + LOG_FILE + " ausente ou ileg\xEDvel: sem endere\xE7os.</p>\n";
    }
    html += "<div>\n";
    for (const GalleryEntry& entry : entries) html += figure(entry);
    return html + "</div>\n</body>\n</html>\n";
}
