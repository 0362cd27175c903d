// What a newcomer meets in the first hour: a mistyped folder, outputs and
// inputs that are not plain files, a picture grown in the editor, a grown
// image with a copier header, and the command line habits (-h, --help,
// --version, a mistake named before the usage). Every refusal leaves every
// file as it was and writes nothing.
#include "tests/e2e/Harness.h"
#include "tests/e2e/PngFiles.h"
#include "graphics/GameLayout.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

const std::string INSERT_BANNER = "Brelquim-insert v1.0\n";
const std::string PNG_BANNER = "Brelquim PNG v1.0\n";
const std::string NOTHING_WRITTEN = "Nada foi gravado.\n";
constexpr uint32_t MIB = 0x100000;

const SampleRom& sample() {
    static const SampleRom rom = buildSampleRom();
    return rom;
}

// game.sfc extracted: arquivos/ and log.txt; an earlier translation in
// traduzido.sfc that a refusal must keep.
void extracted(const Workspace& ws) {
    ws.write("game.sfc", sample().image);
    ASSERT_EQ(ws.run({"-i", "game.sfc"}).status, 0);
    ws.write("traduzido.sfc", Bytes(4096, 0x77));
}

void fifo(const Workspace& ws, const std::string& name) { ASSERT_EQ(mkfifo((ws.path() / name).c_str(), 0644), 0); }

// Every name of the workspace, and the bytes of each regular file (a FIFO
// is never read).
std::map<std::string, Bytes> snapshot(const Workspace& ws) {
    std::map<std::string, Bytes> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(ws.path())) {
        const std::string name = fs::relative(entry.path(), ws.path()).string();
        files[name] = entry.is_regular_file() && !entry.is_symlink() ? ws.read(name) : Bytes{};
    }
    return files;
}

struct Refusal {
    std::string name;
    Program program;
    std::vector<std::string> args;
    void (*prepare)(const Workspace&);
    std::string console;      // after the banner
    bool posixOnly = false;   // FIFOs and links: no such case on Windows
    bool usage = false;       // a mistake of the command line: the usage follows
};

void PrintTo(const Refusal& r, std::ostream* out) { *out << r.name; }

class FirstHourRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(FirstHourRefusal, NamesTheProblemAndLeavesEveryFileAsItWas) {
    const Refusal& r = GetParam();
    if (r.posixOnly && targetIsWindows()) GTEST_SKIP() << "no such file on Windows";
    Workspace ws;
    r.prepare(ws);
    const auto before = snapshot(ws);
    const RunResult result = ws.run(r.program, r.args);
    EXPECT_EQ(result.console, lines((r.program == Program::Insert ? INSERT_BANNER : PNG_BANNER) + r.console +
                                    (r.usage ? declaredUsage(r.program) : "")));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(snapshot(ws), before);
}

const std::vector<std::string> INSERT = {"-i", "game.sfc", "-o", "traduzido.sfc"};

std::vector<std::string> insertWith(std::vector<std::string> more) {
    std::vector<std::string> args = INSERT;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::string notAFileEdit(int graphic) {
    return "Erro ao abrir arquivo [" + shownGraphicPath(graphic) + "]\nN\xE3o \xE9 um arquivo comum.\n" +
           NOTHING_WRITTEN;
}

INSTANTIATE_TEST_SUITE_P(
    FirstHour, FirstHourRefusal,
    testing::Values(
        Refusal{"a folder that does not exist", Program::Insert, insertWith({"--dir", "nao existe"}), extracted,
                "Pasta n\xE3o encontrada: nao existe\n" + NOTHING_WRITTEN},
        Refusal{"no extraction folder", Program::Insert, INSERT,
                [](const Workspace& ws) {
                    ws.write("game.sfc", sample().image);
                    ws.write("traduzido.sfc", Bytes(10, 1));
                },
                "Pasta n\xE3o encontrada: arquivos\n" + NOTHING_WRITTEN},
        Refusal{"a folder that is a file", Program::Insert, insertWith({"--dir", "log.txt"}), extracted,
                "N\xE3o \xE9 uma pasta: log.txt\n" + NOTHING_WRITTEN},
        Refusal{"a folder without graphics", Program::Insert, insertWith({"--dir", "vazia"}),
                [](const Workspace& ws) {
                    extracted(ws);
                    fs::create_directory(ws.path() / "vazia");
                    ws.write("vazia/grafico_169.bin", Bytes(4, 0));
                },
                "Nenhum grafico_NNN.bin na pasta vazia\n" + NOTHING_WRITTEN},
        Refusal{"an edit that is a FIFO", Program::Insert, INSERT,
                [](const Workspace& ws) {
                    extracted(ws);
                    fs::remove(ws.path() / "arquivos" / graphicName(6));
                    fifo(ws, "arquivos/" + graphicName(6));
                },
                notAFileEdit(6), true},
        Refusal{"an input that is a FIFO", Program::Insert, {"-i", "fifo.sfc", "-o", "traduzido.sfc"},
                [](const Workspace& ws) {
                    extracted(ws);
                    fifo(ws, "fifo.sfc");
                },
                "Erro ao abrir arquivo [fifo.sfc]\nN\xE3o \xE9 um arquivo comum.\n", true},
        Refusal{"an output that is a FIFO", Program::Insert, {"-i", "game.sfc", "-o", "fifo.sfc"},
                [](const Workspace& ws) {
                    extracted(ws);
                    fifo(ws, "fifo.sfc");
                },
                "N\xE3o \xE9 poss\xED""vel gravar sobre o que n\xE3o \xE9 um arquivo comum: fifo.sfc\n" +
                    NOTHING_WRITTEN,
                true},
        Refusal{"an output linked to a device", Program::Insert, {"-i", "game.sfc", "-o", "null.sfc"},
                [](const Workspace& ws) {
                    extracted(ws);
                    fs::create_symlink("/dev/null", ws.path() / "null.sfc");
                },
                "N\xE3o \xE9 poss\xED""vel gravar sobre o que n\xE3o \xE9 um arquivo comum: null.sfc\n" +
                    NOTHING_WRITTEN,
                true},
        Refusal{"an output that is a folder", Program::Insert, {"-i", "game.sfc", "-o", "arquivos"}, extracted,
                "N\xE3o \xE9 poss\xED""vel gravar sobre o que n\xE3o \xE9 um arquivo comum: arquivos\n" +
                    NOTHING_WRITTEN},
        Refusal{"a repeated option", Program::Insert, insertWith({"--dir", "a", "--dir", "b"}), extracted,
                "Op\xE7\xE3o repetida: --dir\n", false, true},
        Refusal{"a free range at an address without ROM", Program::Insert,
                insertWith({"--free", "$90:7000:$90:8000"}), extracted,
                "Valor inv\xE1lido para --free: $90:7000:$90:8000\n", false, true},
        Refusal{"a word that is no option", Program::Insert, insertWith({"extra.sfc"}), extracted,
                "Argumento inesperado: extra.sfc\n", false, true},
        Refusal{"a gallery without arquivos", Program::Png, {"--gallery"},
                [](const Workspace& ws) { ws.write("log.txt", {'x'}); },
                "Pasta n\xE3o encontrada: arquivos\n" + NOTHING_WRITTEN},
        Refusal{"a picture that is a FIFO", Program::Png, {"a.png"},
                [](const Workspace& ws) {
                    ws.write("a.bin", Bytes(32, 1));
                    fifo(ws, "a.png");
                },
                "Erro ao abrir arquivo [a.png]\nN\xE3o \xE9 um arquivo comum.\n", true},
        Refusal{"a target that is a FIFO", Program::Png, {"a.bin"},
                [](const Workspace& ws) {
                    ws.write("a.bin", Bytes(32, 1));
                    fifo(ws, "a.png");
                },
                "N\xE3o \xE9 poss\xED""vel gravar sobre o que n\xE3o \xE9 um arquivo comum: a.png\n", true}),
    [](const testing::TestParamInfo<Refusal>& info) {
        std::string name;
        for (char c : info.param.name) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

// Each companion program, and each command of one, answers -h and --help
// with the usage its declarations make, and --version with the banner
// alone: "Uso:", the synopsis from the program's name, the table with -h
// and --version, a blank line.
TEST(FirstHour, HelpAndVersionAnswerWithStatusZeroAndWriteNothing) {
    const struct {
        Program program;
        std::string name, banner, command;
        int index;
    } table[] = {
        {Program::Insert, "brelquim-insert", INSERT_BANNER, "", -1},
        {Program::Png, "brelquim-png", PNG_BANNER, "", -1},
        {Program::Text, "brelquim-text", "Brelquim-text v1.0\n", "", -1},
        {Program::Text, "brelquim-text", "Brelquim-text v1.0\n", "dump", 0},
        {Program::Text, "brelquim-text", "Brelquim-text v1.0\n", "insert", 1},
        {Program::Patch, "brelquim-patch", "Brelquim-patch v1.0\n", "", -1},
        {Program::Patch, "brelquim-patch", "Brelquim-patch v1.0\n", "create", 0},
        {Program::Patch, "brelquim-patch", "Brelquim-patch v1.0\n", "apply", 1},
    };
    Workspace ws;
    for (const auto& c : table) {
        SCOPED_TRACE(c.name + " " + c.command);
        const auto asked = [&](const char* word) {
            std::vector<std::string> args;
            if (!c.command.empty()) args.push_back(c.command);
            args.push_back(word);
            return ws.run(c.program, args);
        };
        const std::string usage = declaredUsage(c.program, c.index);
        for (const char* help : {"-h", "--help"}) {
            const RunResult r = asked(help);
            EXPECT_EQ(r.console, lines(c.banner + usage));
            EXPECT_EQ(r.status, 0);
        }
        EXPECT_EQ(usage.rfind("Uso:\n" + programName(c.name) + " " + (c.command.empty() ? "" : c.command + " "), 0),
                  0u);
        EXPECT_NE(usage.find("\n  -h, --help "), std::string::npos);
        EXPECT_NE(usage.find("\n  --version "), std::string::npos);
        EXPECT_EQ(usage.substr(usage.size() - 2), "\n\n");
        const RunResult version = asked("--version");
        EXPECT_EQ(version.console, lines(c.banner));
        EXPECT_EQ(version.status, 0);
    }
    EXPECT_TRUE(ws.list().empty());
}

TEST(FirstHour, AnOutputLinkIsWrittenThroughAndAnOutputKeepsItsPermissionBits) {
    if (targetIsWindows()) GTEST_SKIP() << "POSIX links and permission bits";
    Workspace ws;
    extracted(ws);
    ws.write("arquivos/" + graphicName(9), Bytes(sample().graphics[9].decoded.size(), 0));
    fs::create_directory(ws.path() / "saida");
    ws.write("saida/real.sfc", {1});
    fs::permissions(ws.path() / "saida/real.sfc", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("saida/real.sfc", ws.path() / "link.sfc");
    ASSERT_EQ(ws.run(Program::Insert, {"-i", "game.sfc", "-o", "link.sfc"}).status, 0);
    EXPECT_TRUE(fs::is_symlink(ws.path() / "link.sfc"));
    EXPECT_EQ(fs::read_symlink(ws.path() / "link.sfc"), "saida/real.sfc");
    EXPECT_EQ(ws.read("saida/real.sfc").size(), sample().image.size());
    EXPECT_EQ(fs::status(ws.path() / "saida/real.sfc").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(ws.list("saida"), std::vector<std::string>{"real.sfc"});

    // brelquim-png writes through the same link; a dangling link makes its target.
    ws.write("a.bin", Bytes(32, 5));
    fs::create_symlink("saida/novo.png", ws.path() / "a.png");
    ASSERT_EQ(ws.run(Program::Png, {"a.bin"}).status, 0);
    EXPECT_TRUE(fs::is_symlink(ws.path() / "a.png"));
    EXPECT_FALSE(ws.read("saida/novo.png").empty());
}

// The classic copier header field (size of the ROM data in 8 KiB units)
// follows the growth; a header that holds anything else stays as it was.
TEST(FirstHour, AGrownImageUpdatesTheCopierHeaderSizeFieldOnlyWhereItHeldTheOldSize) {
    for (const bool classic : {true, false}) {
        Bytes image = withCopierHeader(sample().image);
        image[0] = classic ? 0x80 : 0x12;  // 1 MiB = 128 units
        image[1] = 0;
        image[2] = 0x5A;
        Workspace ws;
        ws.write("game.sfc", image);
        ASSERT_EQ(ws.run({"-i", "game.sfc"}).status, 0);
        ws.write("arquivos/" + graphicName(5), noiseBytes(sample().graphics[5].decoded.size(), 9));
        const RunResult result = ws.run(Program::Insert, {"-i", "game.sfc", "-o", "new.sfc"});
        ASSERT_EQ(result.status, 0) << result.console;
        const Bytes output = ws.read("new.sfc");
        ASSERT_EQ(output.size(), 512 + 2 * MIB);
        EXPECT_EQ(Bytes(output.begin(), output.begin() + 3), classic ? Bytes({0x00, 0x01, 0x5A}) : Bytes({0x12, 0, 0x5A}));
        EXPECT_EQ(Bytes(output.begin() + 3, output.begin() + 512), Bytes(image.begin() + 3, image.begin() + 512));
    }
}

PngPicture twoTiles(uint8_t secondTile, const char* record) {
    PngPicture picture;
    picture.width = 8;
    picture.height = 16;
    picture.palette = greyPalette(4);
    picture.samples.assign(128, 0);
    for (size_t i = 64; i < 128; ++i) picture.samples[i] = secondTile;
    picture.hasText = record != nullptr;
    picture.text = record ? record : "";
    return picture;
}

TEST(FirstHour, APictureGrownInTheEditorIsCutOnlyWhereItIsBlank) {
    Workspace ws;
    ws.write("a.png", encodePng(twoTiles(0, "formato=2bpp colunas=1 bytes=16")));
    RunResult result = ws.run(Program::Png, {"a.png"});
    EXPECT_EQ(result.console, lines(PNG_BANNER + "a.png -> a.bin\n"));
    EXPECT_EQ(ws.read("a.bin"), Bytes(16, 0));

    ws.write("a.bin", {'o', 'l', 'd'});
    ws.write("a.png", encodePng(twoTiles(1, "formato=2bpp colunas=1 bytes=16")));
    result = ws.run(Program::Png, {"a.png"});
    EXPECT_EQ(result.console,
              lines(PNG_BANNER +
                    "Erro em a.png: 1 tiles desenhados al\xE9m dos 16 bytes (1 tiles) do registro brelquim; para "
                    "mant\xEA-los, tire do PNG o registro (chunk tEXt brelquim), converta de novo dando o formato "
                    "(--bpp/--mode7, --blocks16) e insira com --allow-resize\n"));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(ws.read("a.bin"), Bytes({'o', 'l', 'd'}));

    // Without the record the whole picture converts.
    ws.write("a.png", encodePng(twoTiles(1, nullptr)));
    result = ws.run(Program::Png, {"--bpp", "2", "a.png"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ws.read("a.bin").size(), 32u);
}

TEST(FirstHour, APictureWithoutRecordOfMoreThan65535BytesConvertsWithAWarning) {
    Workspace ws;
    PngPicture picture;
    picture.width = 128;
    picture.height = 8 * 129;  // 16 x 129 tiles of 32 bytes: 66048 bytes
    picture.palette = greyPalette(16);
    picture.samples.assign(size_t(picture.width) * picture.height, 3);
    ws.write("big.png", encodePng(picture));
    const RunResult result = ws.run(Program::Png, {"big.png"});
    EXPECT_EQ(result.console, lines(PNG_BANNER + "big.png -> big.bin\n"
                                                 "  Sem registro brelquim nem --bpp: formato 4bpp, o padr\xE3o (PNG de "
                                                 "8 bits por amostra).\n"
                                                 "Aviso: big.bin tem 66048 bytes; o brelquim-insert aceita no m\xE1ximo "
                                                 "65535 bytes por gr\xE1""fico.\n"));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ws.read("big.bin").size(), 66048u);
}

}  // namespace
