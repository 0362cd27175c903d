// brelquim-text preview and check on the sample image: the overflows of a
// translation named line by line with status 1, a clean script passing,
// a letter without glyph named, the box pictures blitted from the font's
// tiles and clipped as the console clips, and the page with every box.
#include "tests/e2e/Harness.h"
#include "tests/e2e/PngFiles.h"
#include "tests/sample/SampleRom.h"
#include "tiles/TileFormat.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

using Bytes = std::vector<uint8_t>;

const std::string BANNER = "Brelquim-text v1.0\n";

const SampleRom& sample() {
    static const SampleRom rom = buildSampleRom();
    return rom;
}

std::vector<std::string> withInputs(std::vector<std::string> args) {
    for (const char* word : {"-i", "game.sfc", "--table", "game.tbl"}) args.push_back(word);
    return args;
}

// game.sfc, game.tbl (with extra lines) and the dump of the 16-bit table in
// textos.txt, string 1's text replaced by text.
void translated(const Workspace& ws, const std::string& text, const std::string& tableLines = "") {
    ws.write("game.sfc", sample().image);
    const std::string table = sample().text.table + tableLines;
    ws.write("game.tbl", Bytes(table.begin(), table.end()));
    ASSERT_EQ(ws.run(Program::Text, withInputs({"dump", "--pointers", "$98:8000:7"})).status, 0);
    std::string script = ws.readText("textos.txt");
    const std::string original = "\nWelcome to the castle!<end>\n";
    script.replace(script.find(original), original.size(), "\n" + text + "\n");
    ws.write("textos.txt", Bytes(script.begin(), script.end()));
}

TEST(TextCheck, NamesEachOverflowAndFailsOnlyThen) {
    Workspace ws;
    translated(ws, "Welcome to the castle!<end>");
    RunResult run = ws.run(Program::Text, withInputs({"check", "textos.txt"}));
    EXPECT_EQ(run.console, lines(BANNER + "6 textos cabem nas caixas.\n"));
    EXPECT_EQ(run.status, 0);

    // 28 glyphs fit; 29 do not; a fourth line does not.
    translated(ws, std::string(28, 'A') + "<br>" + std::string(29, 'B') + "<br>C<br>D<end>");
    run = ws.run(Program::Text, withInputs({"check", "textos.txt"}));
    EXPECT_EQ(run.console, lines(BANNER + "Texto 1, linha 2: 232 pixels numa caixa de 224.\n"
                                          "Texto 1, caixa 1: 4 linhas numa caixa de 3.\n"
                                          "1 de 6 textos n\xE3o cabem nas caixas ou t\xEAm caracteres sem glifo.\n"));
    EXPECT_EQ(run.status, 1);

    // A letter that only a two-byte entry writes has no glyph.
    translated(ws, "Ol\xC3\xA1 \xC3\x9F!<end>", "9000=\xC3\x9F\n");
    run = ws.run(Program::Text, withInputs({"check", "textos.txt"}));
    EXPECT_EQ(run.console, lines(BANNER + "Texto 1, linha 1, coluna 5: a fonte n\xE3o tem glifo para o caractere "
                                          "'\xDF' (U+00DF) (nenhuma entrada de um byte o escreve).\n"
                                          "1 de 6 textos n\xE3o cabem nas caixas ou t\xEAm caracteres sem glifo.\n"));
    EXPECT_EQ(run.status, 1);

    // Without a script, the image's own strings, by the tables given.
    run = ws.run(Program::Text, withInputs({"check", "--pointers", "$98:8000:7", "--long-pointers", "$99:8000:4"}));
    EXPECT_EQ(run.console, lines(BANNER + "9 textos cabem nas caixas.\n"));
    run = ws.run(Program::Text, withInputs({"check"}));
    EXPECT_EQ(run.console,
              lines(BANNER + "Sem roteiro, indique as tabelas de ponteiros com --pointers ou --long-pointers.\n"));
    EXPECT_EQ(run.status, 1);
}

// The box of a string of one line per text, as the console draws it:
// glyph i of line l is the font's tile of its code at (8 i, 16 l), the
// 29th glyph and the fourth line clipped.
// The sample table's one-byte code of each character (Windows-1252).
uint8_t codeOf(char character) {
    static const std::map<uint8_t, uint8_t> codes = [] {
        std::map<uint8_t, uint8_t> found;
        std::istringstream table(sample().text.table);
        for (std::string line; std::getline(table, line);) {
            if (line.size() < 4 || line[2] != '=') continue;
            const std::string text = line.substr(3);
            const auto lead = static_cast<uint8_t>(text[0]);
            uint8_t character = 0;
            if (text.size() == 1 && lead < 0x80) character = lead;
            if (text.size() == 2 && (lead == 0xC2 || lead == 0xC3)) {
                character = static_cast<uint8_t>((lead & 0x03) << 6 | (static_cast<uint8_t>(text[1]) & 0x3F));
            }
            if (character != 0) found.emplace(character, static_cast<uint8_t>(std::stoul(line.substr(0, 2), nullptr, 16)));
        }
        return found;
    }();
    return codes.at(static_cast<uint8_t>(character));
}

std::vector<uint8_t> expectedBox(const std::vector<std::string>& lines) {
    const std::vector<uint8_t>& font = sample().graphics[9].decoded;
    std::vector<uint8_t> pixels(224 * 40, 0);
    uint8_t tile[TILE_PIXELS];
    for (size_t l = 0; l < lines.size() && l < 3; ++l) {
        for (size_t i = 0; i < lines[l].size() && i < 28; ++i) {
            decodeTile(TileFormat::Bpp2, font.data() + codeOf(lines[l][i]) * 16, tile, TILE_SIDE);
            for (int p = 0; p < TILE_PIXELS; ++p) pixels[(l * 16 + p / 8) * 224 + i * 8 + p % 8] = tile[p];
        }
    }
    return pixels;
}

TEST(TextPreview, BoxesAreTheConsolesAndThePageShowsEveryOne) {
    Workspace ws;
    const std::string line1 = "Ol\xE1, bem-vindo ao castelo, viajante!";  // the codes of the sample's table
    translated(ws, "Ol\xC3\xA1, bem-vindo ao castelo, viajante!<br>the gate<br><br>four<end>");
    const RunResult run = ws.run(Program::Text, withInputs({"preview", "textos.txt", "--png", "caixas"}));
    EXPECT_EQ(run.console, lines(BANNER + "6 textos, 1 passa da caixa -> previa.html\n6 caixas em PNG -> caixas\n"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ws.list("caixas"), (std::vector<std::string>{"texto_001.png", "texto_002.png", "texto_003.png",
                                                            "texto_004.png", "texto_005.png", "texto_006.png"}));
    const PngPicture box = decodePng(ws.read("caixas/texto_001.png"));
    ASSERT_EQ(box.kind, PngPicture::Indexed);
    ASSERT_EQ(box.width, 224u);
    ASSERT_EQ(box.height, 40u);
    EXPECT_EQ(box.samples, expectedBox({line1, "the gate", ""}));
    const PngPicture potion = decodePng(ws.read("caixas/texto_003.png"));
    EXPECT_EQ(potion.samples, expectedBox({"Potion"}));

    const std::string page = ws.readText("previa.html");
    size_t sections = 0, images = 0;
    for (size_t at = page.find("<section id=\"texto-"); at != std::string::npos; at = page.find("<section", at + 1)) {
        ++sections;
    }
    for (size_t at = page.find("<img class=\"caixa\""); at != std::string::npos; at = page.find("<img", at + 1)) {
        ++images;
    }
    EXPECT_EQ(sections, 6u);
    EXPECT_EQ(images, 12u);  // the original and the translation of each
    EXPECT_NE(page.find("<a href=\"#texto-1\">1</a>"), std::string::npos);
}

TEST(TextPreview, NeverWritesOverAnInput) {
    Workspace ws;
    translated(ws, "Welcome!<end>");
    const Bytes script = ws.read("textos.txt");
    const RunResult run = ws.run(Program::Text, withInputs({"preview", "textos.txt", "-o", "textos.txt"}));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(ws.read("textos.txt"), script);
    EXPECT_FALSE(ws.exists("previa.html"));
}

}  // namespace
