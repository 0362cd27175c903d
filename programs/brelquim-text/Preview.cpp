#include "programs/brelquim-text/Preview.h"

#include "cli/Words.h"
#include "graphics/Decompress.h"
#include "graphics/GameImage.h"
#include "graphics/GraphicsDirectory.h"
#include "platform/Platform.h"
#include "platform/ReplacingFile.h"
#include "png/PngImage.h"
#include "preview/BoxPicture.h"
#include "preview/PreviewPage.h"
#include "programs/brelquim-text/Inputs.h"
#include "programs/brelquim-text/Words.h"
#include "text/Script.h"
#include "text/TextCodec.h"

#include <cstdio>
#include <memory>

namespace text_program {

namespace {

// The text chunk of the pictures: what made them.
constexpr char PNG_KEYWORD[] = "Software";
constexpr char PNG_TEXT[] = "Brelquim";

// One string to lay out: the original's bytes, and the translation's when
// the script has it.
struct Previewed {
    std::vector<uint8_t> original;
    bool translated = false;
    std::vector<uint8_t> translation;
    std::string text;  // as the script (or the dump) writes it
};

// The script's strings, encoded by the table, over the originals; false
// after a refusal. A text the table cannot write is named and left
// untranslated (notWritten counts them).
bool readTranslations(const TextOptions& options, const TextTable& table, const ScriptReading& script,
                      std::vector<Previewed>& strings, size_t& notWritten) {
    for (const ScriptEntry& entry : script.entries) {
        if (entry.number == 0 || entry.number > strings.size()) {
            printPreviewUnknownString(options.script, entry.headerLine, strings.size());
            return false;
        }
        Previewed& previewed = strings[entry.number - 1];
        Encoding encoding = encodeText(table, withoutLineEnds(entry.text));
        previewed.text = entry.text;
        if (encoding.outcome != Encoding::Done) {
            printPreviewNotWritable(options.script, entry, encoding);
            ++notWritten;
            continue;
        }
        previewed.translated = true;
        previewed.translation = std::move(encoding.bytes);
    }
    return true;
}

bool writeOutput(const std::string& path, const void* bytes, size_t length) {
    const ReplacingFile::Outcome written = ReplacingFile::replaceWith(path, bytes, length);
    if (written == ReplacingFile::Outcome::Replaced) return true;
    cli::printWriteFailure(path, written);
    return false;
}

PagePicture pagePicture(const Picture& picture, const std::vector<Colour>& palette) {
    PagePicture page;
    page.width = picture.width;
    page.height = picture.height;
    writeIndexedPng(picture, pngBitDepthFor(int(palette.size())), palette, PNG_KEYWORD, PNG_TEXT, page.png,
                    PngCompression::Fast);
    return page;
}

std::vector<PagePicture> pagePictures(const LaidString& laid, const GlyphFont& font, const PreviewSettings& settings) {
    std::vector<PagePicture> pictures;
    for (const LaidBox& box : laid.boxes) {
        pictures.push_back(pagePicture(drawOverflowingBox(box, font, settings.box, 1 << settings.font.bpp),
                                       overflowPalette()));
    }
    return pictures;
}

std::string pngName(const std::string& folder, size_t number, size_t box) {
    char name[48];
    if (box == 1) {
        std::snprintf(name, sizeof name, "texto_%03u.png", static_cast<unsigned>(number));
    } else {
        std::snprintf(name, sizeof name, "texto_%03u_%u.png", static_cast<unsigned>(number), static_cast<unsigned>(box));
    }
    return folder + pathSeparator() + name;
}

}  // namespace

int runPreview(const TextOptions& options) {
    const bool page = options.command == TextOptions::Preview;
    if (page && !outputIsNew(options.output, {&options.input, &options.table, &options.labels, &options.script})) {
        return 1;
    }
    RomImage rom;
    if (!loadImage(rom, options.input)) return 1;
    TextTable table;
    if (!readTable(options.table, table)) return 1;
    if (!loadLabels(rom, options.labels)) return 1;
    ScriptReading script;
    if (!options.script.empty()) {
        std::vector<uint8_t> scriptBytes;
        const FileRead read = readWholeFile(options.script, scriptBytes);
        if (read != FileRead::Read) {
            printFileRefusal(options.script, read);
            return 1;
        }
        script = readScript(std::string(scriptBytes.begin(), scriptBytes.end()));
        if (script.outcome != ScriptReading::Done) {
            cli::printScriptRefusal(options.script, script);
            return 1;
        }
    }
    const std::vector<PointerTable>& tables = options.tables.empty() ? script.tables : options.tables;
    if (tables.empty()) {
        printNoPointerTables();
        return 1;
    }
    const FontSettings& fontSettings = options.preview.font;
    std::vector<uint8_t> fontBytes;
    if (!readFontGraphic(rom, fontSettings.graphic, fontBytes)) {
        cli::printFontUnreadable(fontSettings.graphic);
        return 1;
    }
    const GlyphFont font(fontBytes.data(), fontBytes.size(), fontFormat(fontSettings.bpp));
    const TextLayout layout(table, font, options.preview);

    const uint8_t* romData = rom.romData();
    const StringSurvey survey = surveyStrings(romData, rom.romDataSize(), tables, table);
    if (survey.outcome != StringSurvey::Done) {
        cli::printSurveyRefusal(survey);
        return 1;
    }
    std::vector<Previewed> strings(survey.strings.size());
    for (size_t s = 0; s < strings.size(); ++s) {
        const GameString& string = survey.strings[s];
        strings[s].original.assign(romData + string.offset, romData + string.offset + string.length);
        if (options.script.empty()) strings[s].text = stringText(table, romData + string.offset, string.length);
    }
    size_t notWritten = 0;
    if (!options.script.empty() && !readTranslations(options, table, script, strings, notWritten)) return 1;

    // What is judged: the translation where there is one, else the original.
    std::vector<std::vector<uint8_t>> judged;
    for (const Previewed& string : strings) judged.push_back(string.translated ? string.translation : string.original);
    if (!page) {
        const std::vector<StringOverflows> found = checkStrings(layout, judged, options.preview.box);
        for (const StringOverflows& string : found) {
            for (const Overflow& overflow : string.overflows) cli::printOverflow(string.string + 1, overflow);
            for (const MissingGlyph& missing : string.missing) cli::printMissingGlyph(string.string + 1, missing);
        }
        printChecked(strings.size(), found.size());
        return found.empty() && notWritten == 0 ? 0 : 1;
    }

    if (!options.pngFolder.empty()) makeFolder(options.pngFolder.c_str());
    const std::vector<Colour> palette = boxPalette(fontSettings.bpp);
    const int depth = pngBitDepthFor(int(palette.size()));
    std::vector<PageString> pageStrings;
    size_t overflowing = 0, pictures = 0;
    for (size_t s = 0; s < strings.size(); ++s) {
        PageString shown;
        shown.number = s + 1;
        if (!options.labels.empty()) shown.label = labelOf(rom, survey.strings[s]);
        shown.text = strings[s].text;
        const LaidString original = layout.layOut(strings[s].original.data(), strings[s].original.size());
        shown.original = pagePictures(original, font, options.preview);
        const LaidString judgedLaid =
            strings[s].translated ? layout.layOut(judged[s].data(), judged[s].size()) : original;
        // A translation of the original's bytes shows the original's pictures.
        const bool same = !strings[s].translated || strings[s].translation == strings[s].original;
        if (!options.script.empty()) {
            shown.translated = same ? shown.original : pagePictures(judgedLaid, font, options.preview);
        }
        shown.overflows = !overflowsOf(judgedLaid, options.preview.box).empty();
        if (shown.overflows) ++overflowing;
        if (!options.pngFolder.empty()) {
            for (size_t b = 0; b < judgedLaid.boxes.size(); ++b) {
                const std::string path = pngName(options.pngFolder, s + 1, b + 1);
                if (!outputIsNew(path, {&options.input, &options.table, &options.labels, &options.script})) return 1;
                std::vector<uint8_t> png;
                writeIndexedPng(drawBox(judgedLaid.boxes[b], font, options.preview.box), depth, palette, PNG_KEYWORD,
                                PNG_TEXT, png, PngCompression::Fast);
                if (!writeOutput(path, png.data(), png.size())) return 1;
                ++pictures;
            }
        }
        pageStrings.push_back(std::move(shown));
    }
    const std::string html = previewPage(pageStrings, !options.script.empty());
    if (!writeOutput(options.output, html.data(), html.size())) return 1;
    printPreviewed(strings.size(), overflowing, options.output, pictures, options.pngFolder);
    return 0;
}

}  // namespace text_program
