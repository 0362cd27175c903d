// brelquim-png --gallery in a folder where brelquim ran: one page that
// holds every graphic, and says which ones it could not draw.
#include "tests/e2e/Harness.h"
#include "tests/e2e/PngFiles.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string BANNER = "Brelquim PNG v1.0\n";

std::vector<uint8_t> fromBase64(const std::string& text) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<uint8_t> bytes;
    uint32_t group = 0;
    int bits = 0;
    for (char c : text) {
        if (c == '=') break;
        group = group << 6 | static_cast<uint32_t>(alphabet.find(c));
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<uint8_t>(group >> bits));
        }
    }
    return bytes;
}

// Every picture of the page: its PNG and the size it is shown at.
struct ShownPicture {
    std::vector<uint8_t> png;
    int width, height;
};

std::vector<ShownPicture> picturesOf(const std::string& page) {
    std::vector<ShownPicture> pictures;
    const std::string marker = "<img ";
    for (size_t at = page.find(marker); at != std::string::npos; at = page.find(marker, at + 1)) {
        ShownPicture picture;
        std::sscanf(page.c_str() + at, "<img width=\"%d\" height=\"%d\"", &picture.width, &picture.height);
        const std::string source = "src=\"data:image/png;base64,";
        const size_t start = page.find(source, at);
        EXPECT_EQ(page.find('>', at) > start, true);
        const size_t end = page.find('"', start + source.size());
        picture.png = fromBase64(page.substr(start + source.size(), end - start - source.size()));
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

void expectFragments(const std::string& page, const std::vector<std::string>& fragments) {
    for (const std::string& fragment : fragments) EXPECT_NE(page.find(fragment), std::string::npos) << fragment;
}

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class Gallery : public ::testing::Test {
protected:
    void SetUp() override {
        ws.write("game.sfc", sample.image);
        ASSERT_EQ(ws.run({"-i", "game.sfc"}).status, 0);
    }
    const SampleRom sample = buildSampleRom();
    Workspace ws;
};

TEST_F(Gallery, ShowsEveryGraphicAtTwiceItsSizeAsTheBytesOfItsFile) {
    const RunResult result = ws.run(Program::Png, {"--gallery"});
    EXPECT_EQ(result.console,
              lines(BANNER + "galeria.html: 169 gr\xE1" "ficos desenhados, 0 ausentes, 0 ileg\xEDveis\n"));
    EXPECT_EQ(result.status, 0);
    const std::string page = ws.readText("galeria.html");
    const std::vector<ShownPicture> pictures = picturesOf(page);
    ASSERT_EQ(pictures.size(), 169u);

    // Each picture, saved and converted back, is its graphic's file.
    std::filesystem::create_directory(ws.path() / "back");
    std::vector<std::string> names;
    for (int graphic = 0; graphic < 169; ++graphic) {
        const PngPicture png = decodePng(pictures[graphic].png);
        EXPECT_EQ(pictures[graphic].width, int(png.width * 2));
        EXPECT_EQ(pictures[graphic].height, int(png.height * 2));
        EXPECT_EQ(png.palette, greyPalette(16));
        const std::string name = "back/" + std::to_string(graphic) + ".png";
        ws.write(name, pictures[graphic].png);
        names.push_back(name);
    }
    ASSERT_EQ(ws.run(Program::Png, names).status, 0);
    for (int graphic = 0; graphic < 169; ++graphic) {
        EXPECT_EQ(ws.read("back/" + std::to_string(graphic) + ".bin"), sample.graphics[graphic].decoded) << graphic;
    }

    // Nothing to fetch: the page forbids it, and names nothing but its
    // own pictures. Graphic 0's record says size 0: 1 byte.
    expectFragments(page, {"<p>Formato 4bpp, 16 colunas, paleta: escala de cinza (16 tons). Cada pixel em 2 x 2.</p>",
                           "<b>007</b> grafico_007.bin, 10 bytes<br>$88:8000, 7 bytes comprimidos",
                           "<b>000</b> grafico_000.bin, 1 byte<br>", "<p>169 gr\xE1" "ficos, 169 desenhados.</p>",
                           "image-rendering: pixelated",
                           "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                           "img-src data:; style-src 'unsafe-inline'\">"});
    EXPECT_EQ(count(page, "src="), count(page, "src=\"data:image/png;base64,"));
    EXPECT_EQ(count(page, "http:") + count(page, "https:") + count(page, "url(") + count(page, "<script") +
                  count(page, "<link"),
              0u);
}

TEST_F(Gallery, ListsGraphicsMissingOrUnreadableAndALostLog) {
    std::filesystem::remove(ws.path() / "arquivos" / "grafico_005.bin");
    std::filesystem::remove(ws.path() / "arquivos" / "grafico_006.bin");
    std::filesystem::create_directory(ws.path() / "arquivos" / "grafico_006.bin");
    std::filesystem::remove(ws.path() / "log.txt");
    const RunResult result = ws.run(Program::Png, {"--gallery"});
    EXPECT_EQ(result.console, lines(BANNER + "galeria.html: 167 gr\xE1" "ficos desenhados, 1 ausentes, 1 ileg\xEDveis\n"
                                             "log.txt ausente ou ileg\xEDvel: a galeria n\xE3o mostra endere\xE7os\n"));
    EXPECT_EQ(result.status, 1);
    const std::string page = ws.readText("galeria.html");
    EXPECT_EQ(picturesOf(page).size(), 167u);
    expectFragments(page, {"<p>169 gr\xE1" "ficos, 167 desenhados. <span class=\"falta\">Ausentes: grafico_005.bin."
                           "</span> <span class=\"falta\">Ileg\xEDveis: grafico_006.bin.</span></p>",
                           "<b>005</b> grafico_005.bin, <span class=\"falta\">ausente</span><br>sem linha no log.txt",
                           "<b>006</b> grafico_006.bin, <span class=\"falta\">ileg\xEDvel: erro de leitura</span>",
                           "<p class=\"falta\">log.txt ausente ou ileg\xEDvel: sem endere\xE7os.</p>"});
}

TEST_F(Gallery, SaysWhichFormatAndPaletteItWasDrawnWith) {
    ws.write("cgram.bin", std::vector<uint8_t>(512, 0x42));
    const RunResult result =
        ws.run(Program::Png, {"--gallery", "--bpp", "2", "--blocks16", "--palette", "cgram.bin", "--palette-row", "3"});
    EXPECT_EQ(result.status, 0);
    const std::string page = ws.readText("galeria.html");
    expectFragments(page, {"<p>Formato 2bpp, 16 colunas, em blocos de 16x16, paleta: cgram.bin, linha 3. "
                           "Cada pixel em 2 x 2.</p>"});
    const PngPicture first = decodePng(picturesOf(page).at(0).png);
    EXPECT_EQ(first.palette, std::vector<Rgb>(4, Rgb{0x10, 0x94, 0x84}));  // 0x4242: red 2, green 18, blue 16
    EXPECT_EQ(first.text, "formato=2bpp colunas=16 blocos=16x16 bytes=1");
}

}  // namespace
