// brelquim-png on files: bin to PNG to bin is the identity, edited
// pictures come back as the bytes intended, and every refusal leaves its
// target untouched.
#include "tests/e2e/Harness.h"
#include "tests/e2e/PngFiles.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

namespace {

const std::string BANNER = "Brelquim PNG v1.0\n";
const std::string USAGE = declaredUsage(Program::Png);

struct FormatCase {
    std::vector<std::string> options;
    size_t tileBytes;
    int bitDepth;
    int colours;
    const char* name;
};

const std::vector<FormatCase> FORMATS = {
    {{"--bpp", "1"}, 8, 1, 2, "1bpp"},   {{"--bpp", "2"}, 16, 2, 4, "2bpp"},   {{"--bpp", "3"}, 24, 4, 8, "3bpp"},
    {{"--bpp", "4"}, 32, 4, 16, "4bpp"}, {{"--bpp", "8"}, 64, 8, 256, "8bpp"}, {{"--mode7"}, 64, 8, 256, "mode7"},
};

std::vector<uint8_t> randomBytes(size_t length, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(length);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    return bytes;
}

std::vector<std::string> with(std::vector<std::string> options, const std::vector<std::string>& more) {
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

// An edited picture that a refusal must not reach: the target's bytes.
const std::vector<uint8_t> UNTOUCHED = {'o', 'l', 'd'};

// A 2 bpp picture of one tile, 8 x 8, as an editor saves it.
PngPicture oneTile(PngPicture::Kind kind, bool withRecord) {
    PngPicture picture;
    picture.width = picture.height = 8;
    picture.kind = kind;
    picture.palette = greyPalette(4);
    const int channels = kind == PngPicture::Truecolour ? 3 : kind == PngPicture::TruecolourAlpha ? 4 : 1;
    picture.samples.assign(64 * channels, 0);
    for (size_t i = 3; i < picture.samples.size() && channels == 4; i += 4) picture.samples[i] = 255;
    picture.hasText = withRecord;
    picture.text = "formato=2bpp colunas=1 bytes=16";
    return picture;
}

// Sets pixel (x, y) to index i, or to its grey in a grey or truecolour picture.
void paint(PngPicture& picture, uint32_t x, uint32_t y, uint8_t index) {
    const size_t pixel = y * picture.width + x;
    const uint8_t grey = picture.palette.at(index)[0];
    switch (picture.kind) {
        case PngPicture::Indexed: picture.samples[pixel] = index; break;
        case PngPicture::Grey: picture.samples[pixel] = grey; break;
        case PngPicture::Truecolour:
            for (int c = 0; c < 3; ++c) picture.samples[pixel * 3 + c] = grey;
            break;
        case PngPicture::TruecolourAlpha:
            for (int c = 0; c < 3; ++c) picture.samples[pixel * 4 + c] = grey;
            break;
    }
}

// Runs the program on one file expected to be refused with this reason;
// the target keeps its bytes.
void expectRefused(const Workspace& ws, const std::vector<std::string>& args, const std::string& target,
                   const std::string& message) {
    ws.write(target, UNTOUCHED);
    const RunResult result = ws.run(Program::Png, args);
    EXPECT_EQ(result.console, lines(BANNER + message));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(ws.read(target), UNTOUCHED) << message;
}

TEST(PngConversion, EveryFormatComesBackExactlyForWholeAndPartialTiles) {
    for (const FormatCase& format : FORMATS) {
        for (bool blocks : {false, true}) {
            Workspace ws;
            const std::vector<size_t> lengths = {1, format.tileBytes - 1, format.tileBytes, format.tileBytes * 40,
                                                 format.tileBytes * 37 + 3, 3000};
            std::vector<std::vector<uint8_t>> contents;
            std::vector<std::string> bins, pngs;
            std::string toPng, toBin;
            for (size_t i = 0; i < lengths.size(); ++i) {
                const std::string name = "g" + std::to_string(i);
                contents.push_back(randomBytes(lengths[i], uint32_t(i * 7 + lengths[i])));
                ws.write(name + ".bin", contents.back());
                bins.push_back(name + ".bin");
                pngs.push_back(name + ".png");
                toPng += name + ".bin -> " + name + ".png\n";
                toBin += name + ".png -> " + name + ".bin\n";
            }
            const std::vector<std::string> options =
                blocks ? with(format.options, {"--blocks16", "--columns", "6"}) : format.options;
            RunResult result = ws.run(Program::Png, with(options, bins));
            EXPECT_EQ(result.console, lines(BANNER + toPng));
            EXPECT_EQ(result.status, 0);
            for (size_t i = 0; i < lengths.size(); ++i) {
                const PngPicture picture = decodePng(ws.read(pngs[i]));
                EXPECT_EQ(picture.bitDepth, format.bitDepth) << format.name;
                EXPECT_EQ(picture.palette, greyPalette(format.colours)) << format.name;
                EXPECT_EQ(picture.text, std::string("formato=") + format.name +
                                            (blocks ? " colunas=6 blocos=16x16" : " colunas=16") +
                                            " bytes=" + std::to_string(lengths[i]));
            }
            // Back, with options that would say otherwise: the record wins.
            for (const std::string& bin : bins) ws.write(bin, UNTOUCHED);
            result = ws.run(Program::Png, with({"--bpp", "1", "--columns", "2"}, pngs));
            EXPECT_EQ(result.console, lines(BANNER + toBin));
            EXPECT_EQ(result.status, 0);
            for (size_t i = 0; i < lengths.size(); ++i) {
                EXPECT_EQ(ws.read(bins[i]), contents[i]) << format.name << " " << lengths[i] << (blocks ? " blocks" : "");
            }
        }
    }
}

// The PNG without its text chunks, as an editor that drops them saves it.
std::vector<uint8_t> withoutText(const std::vector<uint8_t>& png) {
    std::vector<uint8_t> kept(png.begin(), png.begin() + 8);
    for (size_t at = 8; at + 12 <= png.size();) {
        const size_t length =
            size_t(png[at]) << 24 | size_t(png[at + 1]) << 16 | size_t(png[at + 2]) << 8 | png[at + 3];
        const size_t end = at + 12 + length;
        if (std::string(png.begin() + at + 4, png.begin() + at + 8) != "tEXt") {
            kept.insert(kept.end(), png.begin() + at, png.begin() + end);
        }
        at = end;
    }
    return kept;
}

// (A picture of 8 bits without its record is 4 bpp, as FirstHour shows.)
TEST(PngConversion, APictureWithoutItsRecordTakesTheFormatOfItsBitDepth) {
    for (const FormatCase& format : FORMATS) {
        if (format.bitDepth == 8) continue;
        Workspace ws;
        const std::vector<uint8_t> content = randomBytes(format.tileBytes * 48, 11);
        ws.write("g.bin", content);
        ASSERT_EQ(ws.run(Program::Png, with(format.options, {"g.bin"})).status, 0);
        ws.write("g.png", withoutText(ws.read("g.png")));
        const RunResult result = ws.run(Program::Png, {"g.png"});
        // 1, 2 and 4 bits a pixel are 1, 2 and 4 bpp; 3 bpp, drawn at 4
        // bits, comes back as 4 bpp.
        const std::string taken = format.bitDepth == 4 ? "4bpp" : format.name;
        EXPECT_EQ(result.console, lines(BANNER + "g.png -> g.bin\n  Sem registro brelquim nem --bpp: formato " +
                                        taken + ", o da profundidade de " + std::to_string(format.bitDepth) +
                                        " bits do PNG.\n"));
        EXPECT_EQ(result.status, 0);
        if (size_t(format.bitDepth) == format.tileBytes / 8) {
            EXPECT_EQ(ws.read("g.bin"), content) << format.name;
        }
    }
}

TEST(PngConversion, ThePictureShowsTheTilesInColumns) {
    // Two 1 bpp tiles, a diagonal and its mirror, in 16 columns: a 128 x 8
    // picture whose other cells are index 0.
    Workspace ws;
    ws.write("diagonal.bin", {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01,
                              0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80});
    EXPECT_EQ(ws.run(Program::Png, {"--bpp", "1", "diagonal.bin"}).status, 0);
    const PngPicture picture = decodePng(ws.read("diagonal.png"));
    ASSERT_EQ(picture.width, 128u);
    ASSERT_EQ(picture.height, 8u);
    for (uint32_t y = 0; y < 8; ++y) {
        for (uint32_t x = 0; x < 128; ++x) {
            const bool lit = x == y || x == 15 - y;
            EXPECT_EQ(picture.samples[y * 128 + x], lit ? 1 : 0) << x << "," << y;
        }
    }
}

TEST(PngConversion, AnEditedPictureComesBackAsTheBytesIntended) {
    // Pixel (0, 0) painted with colour 3 and (7, 7) with colour 1 in a blank
    // 2 bpp tile: row 0 has both planes' bit 7, row 7 plane 0's bit 0.
    std::vector<uint8_t> intended(16, 0);
    intended[0] = intended[1] = 0x80;
    intended[14] = 0x01;
    for (PngPicture::Kind kind :
         {PngPicture::Indexed, PngPicture::Grey, PngPicture::Truecolour, PngPicture::TruecolourAlpha}) {
        for (bool record : {true, false}) {
            Workspace ws;
            PngPicture picture = oneTile(kind, record);
            paint(picture, 0, 0, 3);
            paint(picture, 7, 7, 1);
            ws.write("tile.png", encodePng(picture));
            // Without the record, the format comes from the options.
            const RunResult result = ws.run(Program::Png, {"--bpp", "2", "tile.png"});
            EXPECT_EQ(result.console, lines(BANNER + "tile.png -> tile.bin\n"));
            EXPECT_EQ(result.status, 0);
            EXPECT_EQ(ws.read("tile.bin"), intended) << kind << " " << record;
        }
    }
    // A 4 bpp tile saved with a palette of its own, of one colour: the
    // indices count, not the colours.
    Workspace ws;
    PngPicture picture = oneTile(PngPicture::Indexed, false);
    picture.palette.assign(16, Rgb{1, 2, 3});
    for (int x = 0; x < 8; ++x) picture.samples[x] = static_cast<uint8_t>(15 - x);  // FEDCBA98
    ws.write("t.png", encodePng(picture));
    EXPECT_EQ(ws.run(Program::Png, {"t.png"}).status, 0);
    intended.assign(32, 0);
    intended[0] = 0xAA;
    intended[1] = 0xCC;
    intended[16] = 0xF0;
    intended[17] = 0xFF;
    EXPECT_EQ(ws.read("t.bin"), intended);
}

TEST(PngConversion, APaletteFileGivesThePicturesColoursAndMapsThemBack) {
    Workspace ws;
    // Eight BGR555 colours: row 1 of 2 bpp is colours 4 to 7.
    std::vector<uint8_t> cgram;
    const uint16_t colours[8] = {0, 0, 0, 0, 0x001F, 0x03E0, 0x7C00, 0x7FFF};
    for (uint16_t c : colours) cgram.insert(cgram.end(), {uint8_t(c), uint8_t(c >> 8)});
    ws.write("cgram.bin", cgram);
    const std::vector<uint8_t> tile = {0xF0, 0xCC, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x80};
    ws.write("t.bin", tile);
    EXPECT_EQ(ws.run(Program::Png, {"--bpp", "2", "--palette", "cgram.bin", "--palette-row", "1", "t.bin"}).status,
              0);
    const PngPicture drawn = decodePng(ws.read("t.png"));
    EXPECT_EQ(drawn.palette, (std::vector<Rgb>{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}));

    // The same picture saved as truecolour: mapped back through the row.
    PngPicture truecolour;
    truecolour.width = drawn.width;
    truecolour.height = drawn.height;
    truecolour.kind = PngPicture::Truecolour;
    truecolour.hasText = true;
    truecolour.text = drawn.text;
    for (uint8_t index : drawn.samples) {
        truecolour.samples.insert(truecolour.samples.end(), drawn.palette[index].begin(), drawn.palette[index].end());
    }
    ws.write("t.png", encodePng(truecolour));
    ws.write("t.bin", UNTOUCHED);
    const RunResult result =
        ws.run(Program::Png, {"--palette", "cgram.bin", "--palette-row", "1", "t.png"});
    EXPECT_EQ(result.console, lines(BANNER + "t.png -> t.bin\n"));
    EXPECT_EQ(ws.read("t.bin"), tile);
}

// A PNG of only a signature and an IHDR chunk with a correct CRC.
std::vector<uint8_t> headerOnly(uint32_t width, uint32_t height) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (uint32_t v : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) png.push_back(uint8_t(v >> shift));
    }
    png.insert(png.end(), {8, 3, 0, 0, 0});
    const uint32_t crc = static_cast<uint32_t>(crc32(0, png.data() + 12, 17));
    for (int shift = 24; shift >= 0; shift -= 8) png.push_back(uint8_t(crc >> shift));
    return png;
}

// The one-tile indexed picture with this record.
std::vector<uint8_t> recorded(const std::string& text) {
    PngPicture picture = oneTile(PngPicture::Indexed, true);
    picture.text = text;
    return encodePng(picture);
}

TEST(PngConversion, PicturesThatGiveNoExactBytesAreRefused) {
    Workspace ws;
    PngPicture foreign = oneTile(PngPicture::Truecolour, true);
    const size_t pixel = (1 * 8 + 2) * 3;  // (2, 1)
    foreign.samples[pixel] = 200;
    foreign.samples[pixel + 1] = foreign.samples[pixel + 2] = 10;
    foreign.samples[(5 * 8 + 6) * 3] = 1;  // (6, 5), later in the picture
    PngPicture index4 = oneTile(PngPicture::Indexed, true);
    index4.palette = greyPalette(16);
    index4.samples[5 * 8 + 3] = 4;
    PngPicture wide = oneTile(PngPicture::Indexed, false);
    wide.width = 12;
    wide.samples.assign(96, 0);
    // Colours 0 and 2 of this palette are both black: a black pixel is ambiguous.
    ws.write("dup.bin", {0x00, 0x00, 0xFF, 0x7F, 0x00, 0x00, 0x1F, 0x00});
    ws.write("ok.bin", randomBytes(300, 5));
    ASSERT_EQ(ws.run(Program::Png, {"ok.bin"}).status, 0);
    const std::vector<uint8_t> good = ws.read("ok.png");

    const std::string illegible = "registro brelquim ileg\xEDvel";
    const std::string damaged = "PNG inv\xE1lido ou danificado";
    const std::string tooLarge =
        "imagem grande demais (o limite \xE9 de 8192 pixels de largura e 16777216 pixels ao todo)";
    struct Case {
        std::vector<std::string> options;
        std::vector<uint8_t> png;
        std::string problem;
    };
    std::vector<Case> table = {
        {{}, encodePng(foreign),
         "cor #C80A0A no pixel (2, 1) n\xE3o est\xE1 na paleta; sem --palette vale a escala de cinza: d\xEA com "
         "--palette a paleta com que a imagem foi desenhada"},
        {{"--palette", "dup.bin"}, encodePng(oneTile(PngPicture::Truecolour, true)),
         "cor #000000 no pixel (0, 0) est\xE1 em duas entradas da paleta (0 e 2)"},
        {{}, encodePng(index4), "\xEDndice 4 no pixel (3, 5) fora das 4 cores do formato 2bpp"},
        {{}, encodePng(wide), "tamanho 12 x 8 n\xE3o \xE9 de tiles inteiros de 8 x 8"},
        {{"--blocks16"}, encodePng(wide), "tamanho 12 x 8 n\xE3o \xE9 de blocos inteiros de 16 x 16"},
        {{}, recorded("formato=2bpp colunas=1 bytes=17"),
         "o registro brelquim pede 17 bytes (2 tiles), a imagem tem 1 tiles"},
        {{}, recorded("formato=2bpp colunas=16 bytes=16"),
         "largura de 8 pixels, mas o registro brelquim diz 16 colunas (128 pixels)"},
        {{}, std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2), damaged},  // truncated
        {{}, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'}, damaged},
        {{}, {}, damaged},
    };
    for (const std::string text : {"formato=5bpp colunas=1 bytes=16", "formato=2bpp colunas=1", "bytes=16",
                                   "formato=2bpp colunas=1 bytes=16 bytes=16", "formato=2bpp colunas=0 bytes=16",
                                   "formato=2bpp colunas=1 bytes=016", "formato=2bpp colunas=1 bytes=16 cor=azul",
                                   "formato=2bpp  colunas=1 bytes=16", "formato=2bpp colunas=1 blocos=16x16 bytes=16"}) {
        table.push_back({{}, recorded(text), illegible});
    }
    // A CRC that no longer matches in the last chunks; a changed text or palette chunk.
    for (size_t at : {good.size() - 20, size_t(40)}) {
        table.push_back({{}, good, damaged});
        table.back().png[at] ^= at == 40 ? 0x40 : 0x01;
    }
    for (const auto& [width, height] : std::vector<std::pair<uint32_t, uint32_t>>{
             {100000, 100000}, {8192, 4096}, {8, 4000000}, {16384, 8}}) {
        table.push_back({{}, headerOnly(width, height), tooLarge});
    }
    for (const Case& c : table) {
        ws.write("t.png", c.png);
        expectRefused(ws, with(c.options, {"t.png"}), "t.bin", "Erro em t.png: " + c.problem + "\n");
    }
    // 1 bpp in one column: 16 MiB + 8 bytes would be a picture of more
    // than 16 Mi pixels.
    ws.write("big.bin", std::vector<uint8_t>((size_t(1) << 21) + 8, 0x55));
    expectRefused(ws, {"--bpp", "1", "--columns", "1", "big.bin"}, "big.png", "Erro em big.bin: " + tooLarge + "\n");
}

TEST(PngConversion, OtherNamesAndMissingFilesAreRefusedAndTheRestConverted) {
    Workspace ws;
    ws.write("a.bin", randomBytes(64, 1));
    ws.write("notas.txt", {'x'});
    ws.write("-x.bin", randomBytes(32, 3));
    // After "--" every word is a file name.
    const RunResult result =
        ws.run(Program::Png, {"notas.txt", "falta.bin", "a.bin", "falta.png", ".png", "--", "-x.bin"});
    EXPECT_EQ(result.console, lines(BANNER + "Nome n\xE3o termina em .bin nem em .png: notas.txt\n"
                                             "Erro ao abrir arquivo [falta.bin]\n"
                                             "Arquivo n\xE3o encontrado.\n"
                                             "a.bin -> a.png\n"
                                             "Erro ao abrir arquivo [falta.png]\n"
                                             "Arquivo n\xE3o encontrado.\n"
                                             "Nome n\xE3o termina em .bin nem em .png: .png\n"
                                             "-x.bin -> -x.png\n"));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(ws.list(), (std::vector<std::string>{"-x.bin", "-x.png", "a.bin", "a.png", "notas.txt"}));
}

TEST(PngConversion, CommandLinesOutsideTheTwoFormsShowTheUsage) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> table = {
        {{}, ""},
        {{"--bpp", "2"}, "Falta ARQUIVO\n"},
        {{"--bpp", "5", "a.bin"}, "Valor inv\xE1lido para --bpp: 5\n"},
        {{"--bpp", "", "a.bin"}, "Valor inv\xE1lido para --bpp: \n"},
        {{"--columns", "0", "a.bin"}, "Valor inv\xE1lido para --columns: 0\n"},
        {{"--columns", "1025", "a.bin"}, "Valor inv\xE1lido para --columns: 1025\n"},
        {{"--palette-row", "65536", "a.bin"}, "Valor inv\xE1lido para --palette-row: 65536\n"},
        {{"a.bin", "--columns"}, "Falta o valor de --columns\n"},
        {{"--colour", "a.bin"}, "Op\xE7\xE3o desconhecida: --colour\n"},
        {{"--bpp", "4", "--mode7", "a.bin"}, "Use --bpp ou --mode7, n\xE3o os dois.\n"},
        {{"--blocks16", "--columns", "3", "a.bin"}, "--blocks16 pede um n\xFAmero par de colunas.\n"},
        {{"--gallery", "a.bin"}, "Argumento inesperado: a.bin\n"},
    };
    for (const auto& [args, problem] : table) {
        Workspace ws;
        ws.write("a.bin", randomBytes(32, 2));
        const RunResult result = ws.run(Program::Png, args);
        EXPECT_EQ(result.console, lines(BANNER + problem + USAGE)) << problem;
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(ws.list(), std::vector<std::string>{"a.bin"});
    }
}

TEST(PngConversion, PalettesThatCannotBeReadStopTheRunBeforeAnyFile) {
    Workspace ws;
    ws.write("a.bin", randomBytes(32, 4));
    ws.write("odd.pal", {1, 2, 3});
    ws.write("bad.pal", {'J', 'A', 'S', 'C', '-', 'P', 'A', 'L', '\n', '0', '1', '0', '0', '\n', '1', '\n'});
    ws.write("v2.pal", {'J', 'A', 'S', 'C', '-', 'P', 'A', 'L', '\n', '0', '2', '0', '0', '\n', '1', '\n'});
    ws.write("wave.pal", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'});
    const std::vector<std::pair<std::string, std::string>> table = {
        {"falta.pal", "Erro ao abrir arquivo [falta.pal]\nArquivo n\xE3o encontrado.\n"},
        {"odd.pal", "Paleta inv\xE1lida [odd.pal]: paleta BGR555 com n\xFAmero \xEDmpar de bytes\n"},
        {"bad.pal", "Paleta inv\xE1lida [bad.pal]: JASC-PAL com a cor 0 ausente ou malformada\n"},
        {"v2.pal", "Paleta inv\xE1lida [v2.pal]: JASC-PAL sem a vers\xE3o 0100 e o n\xFAmero de cores\n"},
        {"wave.pal", "Paleta inv\xE1lida [wave.pal]: RIFF PAL sem bloco de dados v\xE1lido\n"},
    };
    for (const auto& [palette, message] : table) {
        const RunResult result = ws.run(Program::Png, {"--palette", palette, "a.bin"});
        EXPECT_EQ(result.console, lines(BANNER + message));
        EXPECT_EQ(result.status, 1);
        EXPECT_FALSE(ws.exists("a.png"));
    }
}

}  // namespace
