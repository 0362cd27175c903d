// Whole brelquim-insert runs: extract, edit, insert, extract again. The
// edits come back, every other graphic and byte stays, and every refusal
// leaves the input as it was with no output and no temporary file.
#include "tests/e2e/Harness.h"
#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"
#include "graphics/GameLayout.h"
#include "graphics/GraphicCodec.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

using Bytes = std::vector<uint8_t>;

const std::string BANNER = "Brelquim-insert v1.0\n";
const std::string USAGE = declaredUsage(Program::Insert);
const std::string NOTHING_WRITTEN = "Nada foi gravado.\n";
const std::string FREE_HINT =
    "Dica: --free <in\xED""cio>:<fim> indica espa\xE7o que o jogo n\xE3o usa; gr\xE1""ficos que cabem l\xE1 n\xE3o "
    "aumentam a imagem.\n";
constexpr uint32_t MIB = 0x100000;


std::string changeLine(int graphic, uint32_t oldAddress, uint32_t oldLength, uint32_t newAddress,
                       uint32_t newLength, const std::string& where) {
    char line[128];
    std::snprintf(line, sizeof line, "grafico_%03d.bin %06x %04x -> %06x %04x ", graphic, oldAddress, oldLength,
                  newAddress, newLength);
    return line + where + "\n";
}

// The summary; freeLines: the free ranges' lines, before the checksum.
std::string summary(int changed, uint32_t added, uint16_t checksum, const std::string& freeLines = "") {
    char text[160];
    std::snprintf(text, sizeof text, "Gr\xE1""ficos alterados: %d\nBytes acrescentados \xE0 imagem: %u\n", changed,
                  added);
    char last[64];
    std::snprintf(last, sizeof last, "Checksum da nova imagem: %x\n", checksum);
    return text + freeLines + last;
}

uint16_t storedChecksum(const Bytes& romData) {
    return static_cast<uint16_t>(romData[LOROM_HEADER_OFFSET + HEADER_CHECKSUM] |
                                 romData[LOROM_HEADER_OFFSET + HEADER_CHECKSUM + 1] << 8);
}

// The sum of every byte of ROM data of a power-of-two size.
uint16_t sumOf(const Bytes& romData) {
    uint32_t sum = 0;
    for (uint8_t byte : romData) sum += byte;
    return static_cast<uint16_t>(sum);
}

Bytes withoutCopierHeader(const Bytes& file, bool copierHeader) {
    return copierHeader ? Bytes(file.begin() + COPIER_HEADER_SIZE, file.end()) : file;
}

// Extracts image (written as name) in ws: arquivos/ and log.txt.
void extract(const Workspace& ws, const Bytes& image, const std::string& name = "game.sfc") {
    ws.write(name, image);
    ASSERT_EQ(ws.run({"-i", name}).status, 0);
}

// What a second extraction of the new image gives, in a workspace of its own.
struct Extraction {
    std::vector<Bytes> graphics;
    std::vector<std::string> log;
};

Extraction extractAgain(const Bytes& image) {
    Workspace again;
    again.write("new.sfc", image);
    const RunResult result = again.run({"-i", "new.sfc"});
    EXPECT_EQ(result.status, 0) << result.console;
    Extraction e;
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) e.graphics.push_back(again.read("arquivos/" + graphicName(graphic)));
    std::string line;
    for (char c : again.readText("log.txt")) {
        line += c;
        if (c == '\n') {
            e.log.push_back(line);
            line.clear();
        }
    }
    return e;
}

class RoundTrip : public testing::TestWithParam<bool> {};

TEST_P(RoundTrip, EditsInPlaceMovedAndResizedComeBackAndNothingElseChanges) {
    const bool copierHeader = GetParam();
    const SampleRom sample = buildSampleRom();
    const Bytes input = copierHeader ? withCopierHeader(sample.image) : sample.image;
    Workspace ws;
    extract(ws, input);
    const Bytes firstLog = ws.read("log.txt");

    // 9: all zeros, a shorter stream in place. 5: noise, longer, into the
    // free range. 12: 20000 bytes cut to 100, in place, size field 100.
    const Bytes zeros(sample.graphics[9].decoded.size(), 0);
    const Bytes noisy = noiseBytes(sample.graphics[5].decoded.size(), 5);
    const Bytes cut(sample.graphics[12].decoded.begin(), sample.graphics[12].decoded.begin() + 100);
    ws.write("arquivos/" + graphicName(9), zeros);
    ws.write("arquivos/" + graphicName(5), noisy);
    ws.write("arquivos/" + graphicName(12), cut);

    const RunResult result =
        ws.run(Program::Insert, {"-i", "game.sfc", "-o", "new.sfc", "--free", "0x88000:c0000", "--allow-resize"});
    ASSERT_EQ(result.status, 0) << result.console;
    const Bytes output = ws.read("new.sfc");
    ASSERT_EQ(output.size(), input.size());
    EXPECT_EQ(Bytes(output.begin(), output.begin() + (copierHeader ? 512 : 0)),
              Bytes(input.begin(), input.begin() + (copierHeader ? 512 : 0)));
    const Bytes romData = withoutCopierHeader(output, copierHeader);
    EXPECT_EQ(sumOf(romData), storedChecksum(romData));

    const SampleGraphic& g5 = sample.graphics[5];
    const SampleGraphic& g9 = sample.graphics[9];
    const SampleGraphic& g12 = sample.graphics[12];
    const uint32_t noisyLength = static_cast<uint32_t>(compressGraphic(noisy.data(), noisy.size()).size());
    EXPECT_EQ(result.console,
              lines(BANNER +
                    changeLine(5, g5.dataAddress, g5.packedLength, 0x918000, noisyLength,
                               "movido para uma faixa livre") +
                    changeLine(9, g9.dataAddress, g9.packedLength, g9.dataAddress, 0x400, "no mesmo lugar") +
                    changeLine(12, g12.dataAddress, g12.packedLength, g12.dataAddress,
                               static_cast<uint32_t>(compressGraphic(cut.data(), cut.size()).size()),
                               "no mesmo lugar") +
                    summary(3, 0, storedChecksum(romData),
                            "Faixa livre $91:8000:$98:8000: " + std::to_string(0x38000 - noisyLength) +
                                " bytes ainda livres\n")));

    const Extraction again = extractAgain(output);
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        const Bytes& meant = graphic == 5 ? noisy : graphic == 9 ? zeros : graphic == 12 ? cut : sample.graphics[graphic].decoded;
        EXPECT_EQ(again.graphics[graphic], meant) << graphic;
        if (graphic != 5 && graphic != 9 && graphic != 12) {
            EXPECT_EQ(lines(expectedLogLine(graphic, sample.graphics[graphic])), again.log.at(graphic)) << graphic;
        }
    }
    // Everything but the new streams, the changed records and the checksum
    // pair is the input's.
    const Bytes original = sample.image;
    auto differsOutside = [&](std::vector<std::pair<uint32_t, uint32_t>> allowed) {
        for (uint32_t at = 0; at < romData.size(); ++at) {
            if (romData[at] == original[at]) continue;
            bool inside = false;
            for (const auto& span : allowed) inside = inside || (at >= span.first && at < span.second);
            if (!inside) return true;
        }
        return false;
    };
    const uint32_t record = GRAPHICS_DIRECTORY_OFFSET;
    EXPECT_FALSE(differsOutside({{0x88000, 0x88000 + noisyLength},
                                 {g9.fileOffset, g9.fileOffset + 0x400},
                                 {g12.fileOffset, g12.fileOffset + g12.packedLength},
                                 {record + 5 * 5, record + 5 * 5 + 5},
                                 {record + 5 * 12, record + 5 * 12 + 2},
                                 {LOROM_HEADER_OFFSET + HEADER_CHECKSUM_COMPLEMENT, LOROM_HEADER_OFFSET + 0x20}}));
    EXPECT_EQ(ws.read("game.sfc"), input);
    EXPECT_EQ(ws.read("log.txt"), firstLog);
}

INSTANTIATE_TEST_SUITE_P(CopierHeader, RoundTrip, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "With" : "Without"; });

TEST(Insert, WithNothingChangedTheNewImageIsTheInputByteForByteAndAnotherFolderIsRead) {
    Workspace ws;
    const Bytes image = buildSampleRom().image;
    extract(ws, withCopierHeader(image));
    ws.write("new.sfc", Bytes(3 * MIB, 0xEE));  // replaced whole
    RunResult result = ws.run(Program::Insert, {"-i", "game.sfc", "-o", "new.sfc"});
    // The sample's checksum is true, so the new image's is the same.
    EXPECT_EQ(sumOf(image), storedChecksum(image));
    EXPECT_EQ(result.console, lines(BANNER + summary(0, 0, storedChecksum(image))));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ws.read("new.sfc"), ws.read("game.sfc"));
    EXPECT_EQ(ws.list(), (std::vector<std::string>{"arquivos", "game.sfc", "log.txt", "new.sfc"}));
    // A folder that is not there is refused (see FirstHourTest); another
    // folder is read.
    ASSERT_EQ(ws.run(Program::Insert, {"-i", "game.sfc", "-o", "same.sfc", "--dir", "nada"}).status, 1);
    EXPECT_FALSE(ws.exists("same.sfc"));
    std::filesystem::create_directory(ws.path() / "edits");
    ws.write("edits/" + graphicName(9), Bytes(4096, 0));
    result = ws.run(Program::Insert, {"-i", "game.sfc", "-o", "new.sfc", "--dir", "edits"});
    EXPECT_EQ(result.status, 0) << result.console;
    EXPECT_EQ(extractAgain(ws.read("new.sfc")).graphics[9], Bytes(4096, 0));
}

TEST(Insert, AStreamWithNoRoomGrowsTheImageToTheNextPowerOfTwo) {
    const SampleRom sample = buildSampleRom();
    Workspace ws;
    extract(ws, sample.image);
    const Bytes noisy = noiseBytes(sample.graphics[5].decoded.size(), 9);
    ws.write("arquivos/" + graphicName(5), noisy);
    const RunResult result = ws.run(Program::Insert, {"-i", "game.sfc", "-o", "new.sfc"});
    const Bytes output = ws.read("new.sfc");
    ASSERT_EQ(output.size(), 2 * MIB);
    const uint32_t length = static_cast<uint32_t>(compressGraphic(noisy.data(), noisy.size()).size());
    const SampleGraphic& g5 = sample.graphics[5];
    EXPECT_EQ(result.console, lines(BANNER +
                                    changeLine(5, g5.dataAddress, g5.packedLength, 0xA08000, length,
                                               "movido para espa\xE7o novo no fim") +
                                    "A imagem cresceu de 1024 KiB para 2048 KiB.\n" + FREE_HINT +
                                    summary(1, MIB, storedChecksum(output))));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(output[LOROM_HEADER_OFFSET + HEADER_ROM_SIZE], 11);  // 2^11 KiB
    EXPECT_EQ(sumOf(output), storedChecksum(output));
    // The new space is the fill byte, but for the stream.
    EXPECT_EQ(Bytes(output.begin() + MIB + length, output.end()), Bytes(MIB - length, 0xFF));
    EXPECT_EQ(extractAgain(output).graphics[5], noisy);
}

TEST(Insert, PassingTwoMebibytesIsPointedOut) {
    Workspace ws;
    ws.write("game.sfc", ImageBuilder(2 * MIB).fillDirectory(0x40000).image);
    std::filesystem::create_directory(ws.path() / "arquivos");
    const Bytes edit = {1, 2, 3, 4, 5, 6, 7, 8};
    ws.write("arquivos/" + graphicName(0), edit);
    const RunResult result = ws.run(Program::Insert, {"-i", "game.sfc", "-o", "new.sfc"});
    const Bytes output = ws.read("new.sfc");
    ASSERT_EQ(output.size(), 4 * MIB);
    EXPECT_EQ(result.console,
              lines(BANNER + changeLine(0, 0x888000, 2, 0xC08000, 9, "movido para espa\xE7o novo no fim") +
                    "A imagem cresceu de 2048 KiB para 4096 KiB.\n" + FREE_HINT +
                    "Aten\xE7\xE3o: a imagem passou de 2 MiB; emuladores mapeiam a RAM de salvamento de um jogo "
                    "LoROM de outro modo.\n" +
                    summary(1, 2 * MIB, storedChecksum(output))));
    const Extraction again = extractAgain(output);
    EXPECT_EQ(again.graphics[0], edit);
    EXPECT_EQ(again.graphics[1], Bytes(8, 0x5A));  // the stream it shared stays for the others
}

// A refusal: its console text, the input untouched, nothing new in the
// workspace.
struct Refusal {
    std::string name;
    std::vector<std::string> args;
    std::string console;  // after the banner
    void (*prepare)(const Workspace&);
    int edited = -1;  // an edit of this graphic, of these bytes, after prepare
    Bytes edit = {};
};

void PrintTo(const Refusal& r, std::ostream* out) { *out << r.name; }

const SampleRom& standardSample() {
    static const SampleRom sample = buildSampleRom();
    return sample;
}

void extracted(const Workspace& ws) { extract(ws, standardSample().image); }

std::string atGraphic(int graphic, const std::string& text) { return shownGraphicPath(graphic) + text; }

class Refusing : public testing::TestWithParam<Refusal> {};

TEST_P(Refusing, LeavesTheInputAsItWasAndNoOutput) {
    const Refusal& r = GetParam();
    Workspace ws;
    r.prepare(ws);
    if (r.edited >= 0) ws.write("arquivos/" + graphicName(r.edited), r.edit);
    const std::vector<std::string> before = ws.list();
    const Bytes input = ws.exists("game.sfc") ? ws.read("game.sfc") : Bytes();
    const RunResult result = ws.run(Program::Insert, r.args);
    EXPECT_EQ(result.console, lines(BANNER + r.console));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(ws.list(), before);
    EXPECT_EQ(ws.exists("game.sfc") ? ws.read("game.sfc") : Bytes(), input);
}

const std::vector<std::string> RUN = {"-i", "game.sfc", "-o", "new.sfc"};

std::vector<std::string> runWith(std::vector<std::string> more) {
    std::vector<std::string> args = RUN;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

INSTANTIATE_TEST_SUITE_P(
    Insert, Refusing,
    testing::Values(
        Refusal{"no arguments", {}, USAGE, extracted},
        Refusal{"no output", {"-i", "game.sfc"}, "Falta a op\xE7\xE3o -o\n" + USAGE, extracted},
        Refusal{"an unknown option", runWith({"--fre", "1:2"}), "Op\xE7\xE3o desconhecida: --fre\n" + USAGE, extracted},
        Refusal{"a malformed free range", runWith({"--free", "80000-90000"}),
                "Valor inv\xE1lido para --free: 80000-90000\n" + USAGE, extracted},
        Refusal{"the output is the input", {"-i", "game.sfc", "-o", "game.sfc"},
                "A sa\xED""da n\xE3o pode ser um dos arquivos de entrada: game.sfc\n" + NOTHING_WRITTEN, extracted},
        Refusal{"the output is the input spelled otherwise", {"-i", "game.sfc", "-o", "./arquivos/../game.sfc"},
                "A sa\xED""da n\xE3o pode ser um dos arquivos de entrada: ./arquivos/../game.sfc\n" + NOTHING_WRITTEN,
                extracted},
        Refusal{"the input cannot be opened", {"-i", "nada.sfc", "-o", "new.sfc"},
                "Erro ao abrir arquivo [nada.sfc]\nArquivo n\xE3o encontrado.\n", extracted},
        // A name that exists but leads nowhere (a link to itself): not "not found".
        Refusal{"the input exists but cannot be opened", {"-i", "loop.sfc", "-o", "new.sfc"},
                "Erro ao abrir arquivo [loop.sfc]\nO arquivo existe, mas n\xE3o p\xF4""de ser aberto para leitura.\n",
                [](const Workspace& ws) {
                    extracted(ws);
                    std::filesystem::create_symlink("loop.sfc", ws.path() / "loop.sfc");
                }},
        Refusal{"another game", RUN, "A ROM n\xE3o aparenta ser do jogo esperado!\nROMNAME:[OUTRO JOGO           ]\n",
                [](const Workspace& ws) { ws.write("game.sfc", ImageBuilder().title("OUTRO JOGO").image); }},
        Refusal{"another revision", RUN, "ROM incompat\xEDvel! Utilizar a vers\xE3o 1.1\n",
                [](const Workspace& ws) { ws.write("game.sfc", ImageBuilder().version(0).image); }},
        Refusal{"a record outside the image", RUN, "Erro de leitura de " + shownGraphicPath(3) + "\n" + NOTHING_WRITTEN,
                [](const Workspace& ws) {
                    ws.write("game.sfc", ImageBuilder().fillDirectory(0x40000).record(3, 8, 0xFFFFF0).image);
                    std::filesystem::create_directory(ws.path() / "arquivos");
                    ws.write("arquivos/" + graphicName(168), Bytes(2, 0));
                }},
        Refusal{"an edit of another size", RUN,
                atGraphic(3, ": 5 bytes, mas o gr\xE1""fico tem 9; talvez tenha sido convertido no formato "
                             "errado (veja o --bpp do brelquim-png). Se o tamanho novo \xE9 o desejado, use "
                             "--allow-resize.\n") +
                    NOTHING_WRITTEN,
                extracted, 3, Bytes(5, 1)},
        Refusal{"an empty edit", runWith({"--allow-resize"}),
                atGraphic(3, ": arquivo vazio; um gr\xE1""fico tem de 1 a 65535 bytes.\n") + NOTHING_WRITTEN,
                extracted, 3, Bytes()},
        Refusal{"an edit of more than 65535 bytes", runWith({"--allow-resize"}),
                atGraphic(4, ": mais de 65535 bytes; um gr\xE1""fico tem de 1 a 65535 bytes.\n") + NOTHING_WRITTEN,
                extracted, 4, Bytes(65536, 1)},
        Refusal{"an edit that cannot be read", RUN, "Erro ao ler " + shownGraphicPath(6) + "\n" + NOTHING_WRITTEN,
                [](const Workspace& ws) {
                    extracted(ws);
                    std::filesystem::remove(ws.path() / "arquivos" / graphicName(6));
                    std::filesystem::create_directory(ws.path() / "arquivos" / graphicName(6));
                }},
        Refusal{"a free range past the ROM data", runWith({"--free", "ff000:100001"}),
                "Faixa livre $9F:F000:$A0:8001 fora dos dados da ROM.\n" + NOTHING_WRITTEN, extracted},
        Refusal{"a free range past 4 MiB", runWith({"--free", "3ff000:400010"}),
                "Faixa livre $FF:F000:400010 fora dos dados da ROM.\n" + NOTHING_WRITTEN, extracted},
        Refusal{"a free range over the header", runWith({"--free", "90000:a0000", "--free", "7f00:7fc1"}),
                "Faixa livre $80:FF00:$80:FFC1 cobre o cabe\xE7""alho interno da ROM.\n" + NOTHING_WRITTEN, extracted},
        Refusal{"a free range over the interrupt vectors", runWith({"--free", "$80:FFFC:$81:8000"}),
                "Faixa livre $80:FFFC:$81:8000 cobre o cabe\xE7""alho interno da ROM.\n" + NOTHING_WRITTEN, extracted},
        Refusal{"a free range over the directory", runWith({"--free", "0x37a43:0x37a44"}),
                "Faixa livre $86:FA43:$86:FA44 cobre o diret\xF3rio de gr\xE1""ficos.\n" + NOTHING_WRITTEN, extracted},
        Refusal{"a free range over a graphic", runWith({"--free", "40000:40001"}),
                "Faixa livre $88:8000:$88:8001 cobre os dados de grafico_007.bin.\n" + NOTHING_WRITTEN, extracted},
        Refusal{"a moved stream longer than a bank", RUN,
                atGraphic(11, ": comprimido passa de 32 KiB, mais que um banco da ROM; n\xE3o pode ser colocado.\n") +
                    NOTHING_WRITTEN,
                extracted, 11, noiseBytes(65535, 11)},
        Refusal{"no room below 4 MiB", RUN,
                "Sem espa\xE7o para " + shownGraphicPath(0) +
                    ": a imagem passaria de 4 MiB, o limite de uma ROM LoROM.\n" + NOTHING_WRITTEN,
                [](const Workspace& ws) {
                    const SampleRom large = buildSampleRom(SampleKind::Large);
                    extract(ws, large.image);
                    ws.write("arquivos/" + graphicName(0), noiseBytes(large.graphics[0].decoded.size(), 3));
                }},
        Refusal{"an output linked to the input", {"-i", "game.sfc", "-o", "link.sfc"},
                "A sa\xED""da n\xE3o pode ser um dos arquivos de entrada: link.sfc\n" + NOTHING_WRITTEN,
                [](const Workspace& ws) {
                    extracted(ws);
                    std::filesystem::create_hard_link(ws.path() / "game.sfc", ws.path() / "link.sfc");
                },
                9, Bytes(4096, 0)},
        Refusal{"an output that cannot be written", {"-i", "game.sfc", "-o", "nenhuma/new.sfc"},
                "Erro de escrita de nenhuma/new.sfc\nA pasta n\xE3o existe.\n" + NOTHING_WRITTEN, extracted}),
    [](const testing::TestParamInfo<Refusal>& info) {
        std::string name;
        for (char c : info.param.name) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

}  // namespace
