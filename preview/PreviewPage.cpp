#include "preview/PreviewPage.h"

#include "encoding/Encoding.h"
#include "png/Base64.h"
#include "png/HtmlText.h"

#include <cstring>

namespace {

// Pictures are shown at this many screen pixels per pixel.
constexpr uint32_t SCALE = 3;

constexpr char PAGE_HEAD[] =
    "<!DOCTYPE html>\n"
    "<html lang=\"pt-BR\">\n"
    "<head>\n"
    "<meta charset=\"utf-8\">\n"
    "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; img-src data:; "
    "style-src 'unsafe-inline'\">\n"
    "<title>Brelquim: pr\xE9via dos textos</title>\n"
    "<style>\n"
    "body { background: #1c2a3a; color: #f2d98c; font-family: sans-serif; margin: 16px; }\n"
    "section { margin: 0 0 20px 0; }\n"
    "h2 { font-size: 15px; margin: 0 0 6px 0; }\n"
    "figure { display: inline-block; vertical-align: top; margin: 0 16px 8px 0; }\n"
    "figcaption { font-size: 12px; margin-bottom: 4px; }\n"
    "img { display: block; margin-bottom: 6px; image-rendering: crisp-edges; image-rendering: pixelated; }\n"
    "pre { font-size: 12px; color: #c8d4e0; margin: 0; white-space: pre-wrap; }\n"
    ".passa { color: #ff8c7a; }\n"
    "a { color: #ff8c7a; }\n"
    "</style>\n"
    "</head>\n"
    "<body>\n";

// The page's own words, written in Windows-1252 like every message.
std::string words(const char* text) { return windows1252ToUtf8(text, std::strlen(text)); }

std::string anchor(size_t number) { return "texto-" + std::to_string(number); }

void addFigure(std::string& page, const char* caption, const std::vector<PagePicture>& boxes) {
    page += "<figure><figcaption>" + words(caption) + "</figcaption>\n";
    for (size_t b = 0; b < boxes.size(); ++b) {
        const PagePicture& box = boxes[b];
        page += "<img class=\"caixa\" alt=\"" + words("caixa ") + std::to_string(b + 1) + "\" width=\"" +
                std::to_string(box.width * SCALE) + "\" height=\"" + std::to_string(box.height * SCALE) +
                "\" src=\"data:image/png;base64," + base64(box.png.data(), box.png.size()) + "\">\n";
    }
    page += "</figure>\n";
}

}  // namespace

std::string previewPage(const std::vector<PageString>& strings, bool translated) {
    std::string page = words(PAGE_HEAD);
    page += "<h1>" + words("Pr\xE9via dos textos") + "</h1>\n";
    std::vector<size_t> overflowing;
    for (const PageString& string : strings) {
        if (string.overflows) overflowing.push_back(string.number);
    }
    page += "<p id=\"resumo\">";
    if (overflowing.empty()) {
        page += words("Nenhum texto passa da caixa.");
    } else {
        page += "<span class=\"passa\">" + std::to_string(overflowing.size()) +
                words(overflowing.size() == 1 ? " texto passa da caixa:" : " textos passam da caixa:") +
                "</span>";
        for (size_t number : overflowing) {
            page += " <a href=\"#" + anchor(number) + "\">" + std::to_string(number) + "</a>";
        }
    }
    page += "</p>\n";
    for (const PageString& string : strings) {
        page += "<section id=\"" + anchor(string.number) + "\"" + (string.overflows ? " class=\"passa\"" : "") +
                ">\n<h2>" + words("Texto ") + std::to_string(string.number);
        if (!string.label.empty()) page += " &middot; " + htmlEscaped(string.label);
        page += "</h2>\n";
        addFigure(page, "original", string.original);
        if (translated) addFigure(page, "tradu\xE7\xE3o", string.translated);
        page += "<pre>" + htmlEscaped(string.text) + "</pre>\n</section>\n";
    }
    page += "</body>\n</html>\n";
    return page;
}
