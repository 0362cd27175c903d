// brelquim-build: a project built against the chain of today's programs on
// the same edits, byte for byte; two builds alike; refused projects named
// with file, line and key, nothing written; the project read by the other
// programs, an option on the command line winning over it.
#include "tests/e2e/Harness.h"
#include "tests/e2e/PngFiles.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

namespace {

using Bytes = std::vector<uint8_t>;

const SampleRom& sample() {
    static const SampleRom rom = buildSampleRom();
    return rom;
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
    return text;
}

// The sample's unused room, as a --free value and a project's range.
std::string freeRange() { return hex(sample().text.unusedStart) + ":" + hex(sample().text.unusedEnd); }

void writeText(const Workspace& ws, const std::string& name, const std::string& text) {
    ws.write(name, Bytes(text.begin(), text.end()));
}

// Replaces the first occurrence of from in a file of the workspace.
void edit(const Workspace& ws, const std::string& name, const std::string& from, const std::string& to) {
    std::string text = ws.readText(name);
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    writeText(ws, name, text);
}

// A project made by init for the sample, with its free range, its pointer
// tables, a script dumped by brelquim-text from the project alone, and
// string 1 translated into a longer line.
void newProject(const Workspace& ws) {
    ws.write("game.sfc", sample().image);
    writeText(ws, "game.tbl", sample().text.table);
    const RunResult init = ws.run(Program::Build, {"init", "-i", "game.sfc", "--table", "game.tbl"});
    ASSERT_EQ(init.status, 0) << init.console;
    const SampleText& text = sample().text;
    edit(ws, "brelquim.toml", "free = []", "free = [\"" + freeRange() + "\"]");
    edit(ws, "brelquim.toml", "# script = \"textos.txt\"\n# pointers = [\"$98:8000:7\"]\n# long-pointers = [\"$99:8000:4\"]",
         "script = \"textos.txt\"\npointers = [\"" + text.tables[0].busAddress + ":" +
             std::to_string(text.tables[0].count) + "\"]\nlong-pointers = [\"" + text.tables[1].busAddress + ":" +
             std::to_string(text.tables[1].count) + "\"]");
    const RunResult dump = ws.run(Program::Text, {"dump"});
    ASSERT_EQ(dump.status, 0) << dump.console;
    edit(ws, "textos.txt", "\nWelcome to the castle!<end>\n", "\nBem-vindo ao castelo, viajante, e boa sorte!<end>\n");
}

// Every graphic changed (every byte turned over), and one grown by 700
// bytes of varied data so that it moves into the free range.
void editEveryGraphic(const Workspace& ws) {
    for (int g = 0; g < 169; ++g) {
        Bytes bytes = ws.read("arquivos/" + graphicName(g));
        for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(~byte);
        if (g == 3) {
            for (int i = 0; i < 700; ++i) bytes.push_back(static_cast<uint8_t>(i * 37 + i / 7));
        }
        ws.write("arquivos/" + graphicName(g), bytes);
    }
    edit(ws, "brelquim.toml", "allow-resize = false", "allow-resize = true");
}

// The free range less the streams brelquim-insert said it moved there:
// the --free values of the text's step of the chain.
std::vector<std::string> rangesLeft(const std::string& insertConsole) {
    uint32_t start = sample().text.unusedStart, end = sample().text.unusedEnd;
    std::vector<std::pair<uint32_t, uint32_t>> pieces{{start, end}};
    const std::regex moved("-> ([0-9a-f]{6}) ([0-9a-f]{4}) movido para uma faixa livre");
    for (std::sregex_iterator m(insertConsole.begin(), insertConsole.end(), moved), last; m != last; ++m) {
        const uint32_t bus = std::stoul((*m)[1], nullptr, 16), length = std::stoul((*m)[2], nullptr, 16);
        const uint32_t at = ((bus >> 16) & 0x7F) * 0x8000 + (bus & 0x7FFF);
        std::vector<std::pair<uint32_t, uint32_t>> kept;
        for (const auto& [from, to] : pieces) {
            if (at + length <= from || at >= to) {
                kept.push_back({from, to});
                continue;
            }
            if (from < at) kept.push_back({from, at});
            if (at + length < to) kept.push_back({at + length, to});
        }
        pieces = kept;
    }
    std::vector<std::string> words;
    for (const auto& [from, to] : pieces) {
        words.push_back("--free");
        words.push_back(hex(from) + ":" + hex(to));
    }
    return words;
}

}  // namespace

TEST(Build, MakesWhatTheChainOfTheProgramsMakesWithItsPatches) {
    Workspace ws;
    newProject(ws);
    editEveryGraphic(ws);
    edit(ws, "brelquim.toml", "patches = [\"traducao.bps\"]", "patches = [\"traducao.bps\", \"traducao.ips\"]");
    const RunResult build = ws.run(Program::Build, {});
    ASSERT_EQ(build.status, 0) << build.console;

    const RunResult insert = ws.run(Program::Insert, {"-i", "game.sfc", "-o", "graficos.sfc", "--allow-resize",
                                                      "--free", freeRange(), "--project", "nenhum.toml"});
    EXPECT_EQ(insert.status, 1);  // a project named and missing is refused
    std::remove((ws.path() / "brelquim.toml").string().c_str());
    const RunResult graphics = ws.run(
        Program::Insert, {"-i", "game.sfc", "-o", "graficos.sfc", "--allow-resize", "--free", freeRange()});
    ASSERT_EQ(graphics.status, 0) << graphics.console;
    ASSERT_NE(graphics.console.find("movido para uma faixa livre"), std::string::npos) << graphics.console;
    std::vector<std::string> text{"insert", "-i", "graficos.sfc", "-o", "cadeia.sfc", "--table", "game.tbl"};
    for (const std::string& word : rangesLeft(graphics.console)) text.push_back(word);
    text.push_back("textos.txt");
    const RunResult strings = ws.run(Program::Text, text);
    ASSERT_EQ(strings.status, 0) << strings.console;
    ASSERT_EQ(ws.run(Program::Patch, {"create", "game.sfc", "cadeia.sfc", "cadeia.bps"}).status, 0);
    ASSERT_EQ(ws.run(Program::Patch, {"create", "game.sfc", "cadeia.sfc", "cadeia.ips"}).status, 0);

    EXPECT_EQ(ws.read("traduzido.sfc"), ws.read("cadeia.sfc"));
    EXPECT_EQ(ws.read("traducao.bps"), ws.read("cadeia.bps"));
    EXPECT_EQ(ws.read("traducao.ips"), ws.read("cadeia.ips"));
    // The build's console holds each step's words as the programs print them.
    const std::string graphicLines = graphics.console.substr(graphics.console.find('\n') + 1);
    EXPECT_NE(build.console.find(graphicLines), std::string::npos) << build.console;
    const std::string textLines = strings.console.substr(strings.console.find('\n') + 1);
    EXPECT_NE(build.console.find(textLines), std::string::npos) << build.console;
}

TEST(Build, TwoBuildsAreAlikeAndANothingEditedProjectBuildsTheOriginal) {
    Workspace first, second;
    for (const Workspace* ws : {&first, &second}) {
        newProject(*ws);
        editEveryGraphic(*ws);
        ASSERT_EQ(ws->run(Program::Build, {}).status, 0);
    }
    const RunResult again = first.run(Program::Build, {});
    ASSERT_EQ(again.status, 0);
    EXPECT_EQ(first.read("traduzido.sfc"), second.read("traduzido.sfc"));
    EXPECT_EQ(first.read("traducao.bps"), second.read("traducao.bps"));

    Workspace plain;
    plain.write("game.sfc", sample().image);
    ASSERT_EQ(plain.run(Program::Build, {"init", "-i", "game.sfc"}).status, 0);
    const RunResult build = plain.run(Program::Build, {});
    ASSERT_EQ(build.status, 0) << build.console;
    EXPECT_EQ(plain.read("traduzido.sfc"), sample().image);
}

TEST(Build, RefusedProjectsAreNamedAndNothingIsWritten) {
    struct Case {
        const char* name;
        std::string from, to;
        std::string console;
    };
    const std::string nothing = "Nada foi gravado.\n";
    const Case cases[] = {
        {"no TOML", "[graphics]\n", "[graphics\n", "Projeto brelquim.toml, linha 13: o arquivo n\xE3o \xE9 TOML v\xE1lido.\n"},
        {"an unknown section", "[graphics]\n", "[graficos]\n",
         "Projeto brelquim.toml, linha 13: se\xE7\xE3o desconhecida [graficos].\n"},
        {"a value of the wrong type", "allow-resize = false", "allow-resize = \"n\xC3\xA3o\"",
         "Projeto brelquim.toml, linha 15: graphics.allow-resize deve ser true ou false.\n"},
        {"a range that does not parse", "free = []", "free = [\"$98:E000\"]",
         "Projeto brelquim.toml, linha 10: posi\xE7\xE3o inv\xE1lida em image.free: $98:E000\n"},
        {"a graphic past 168", "# 9 = { bpp = 2 }", "200 = { bpp = 2 }",
         "Projeto brelquim.toml, linha 20: graphics.format.200: os gr\xE1""ficos do jogo v\xE3o de 0 a 168.\n"},
        {"another image", "sha256 = \"", "sha256 = \"0",
         "A imagem game.sfc n\xE3o \xE9 o original do projeto (SHA-256 dos dados da ROM, sem cabe\xE7""alho de "
         "copiadora):\n"},
        {"a script named and missing", "# script = \"textos.txt\"", "script = \"textos.txt\"",
         "Erro ao abrir arquivo [textos.txt]\nArquivo n\xE3o encontrado.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Workspace ws;
        ws.write("game.sfc", sample().image);
        writeText(ws, "game.tbl", sample().text.table);
        ASSERT_EQ(ws.run(Program::Build, {"init", "-i", "game.sfc", "--table", "game.tbl"}).status, 0);
        std::string project = ws.readText("brelquim.toml");
        project.replace(project.find(c.from), c.from.size(), c.to);
        if (c.from == "sha256 = \"") project.erase(project.find("\"\noutput") - 1, 1);  // still 64 digits
        writeText(ws, "brelquim.toml", project);
        const RunResult run = ws.run(Program::Build, {});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.console.substr(0, run.console.find('\n') + 1), lines("Brelquim-build v1.0\n"));
        EXPECT_EQ(run.console.substr(run.console.find('\n') + 1, lines(c.console).size()), lines(c.console));
        EXPECT_EQ(run.console.substr(run.console.size() - lines(nothing).size()), lines(nothing));
        EXPECT_FALSE(ws.exists("traduzido.sfc"));
        EXPECT_FALSE(ws.exists("traducao.bps"));
        EXPECT_EQ(ws.readText("brelquim.toml"), project);
    }
}

TEST(Build, InitRefusesToReplaceAProjectOrEditedGraphics) {
    Workspace ws;
    ws.write("game.sfc", sample().image);
    ASSERT_EQ(ws.run(Program::Build, {"init", "-i", "game.sfc"}).status, 0);
    const std::string project = ws.readText("brelquim.toml");
    const RunResult again = ws.run(Program::Build, {"init", "-i", "game.sfc"});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.console, lines("Brelquim-build v1.0\nO projeto brelquim.toml j\xE1 existe; init n\xE3o o "
                                   "substitui.\nNada foi gravado.\n"));
    std::remove((ws.path() / "brelquim.toml").string().c_str());
    ws.write("arquivos/" + graphicName(9), {1, 2, 3});
    const RunResult edited = ws.run(Program::Build, {"init", "-i", "game.sfc"});
    EXPECT_EQ(edited.status, 1);
    EXPECT_EQ(ws.read("arquivos/" + graphicName(9)), (Bytes{1, 2, 3}));
    EXPECT_FALSE(ws.exists("brelquim.toml"));
}

TEST(Build, AnImageWithACopierHeaderIsTheSameOriginal) {
    Workspace ws;
    newProject(ws);
    Bytes headed(512, 0);
    headed.insert(headed.end(), sample().image.begin(), sample().image.end());
    ws.write("game.sfc", headed);
    const RunResult build = ws.run(Program::Build, {});
    ASSERT_EQ(build.status, 0) << build.console;
    EXPECT_NE(build.console.find("cabe\xE7""alho de copiadora de 512 bytes"), std::string::npos);
    EXPECT_EQ(ws.read("traduzido.sfc").size(), headed.size());
}

TEST(ProjectOptions, AnOptionOnTheCommandLineWinsOverTheProject) {
    Workspace ws;
    newProject(ws);
    // The project's original is another name; -i on the line wins.
    edit(ws, "brelquim.toml", "original = \"game.sfc\"", "original = \"outro.sfc\"");
    const RunResult fromProject = ws.run(Program::Insert, {"-o", "novo.sfc"});
    EXPECT_EQ(fromProject.status, 1);
    EXPECT_NE(fromProject.console.find("[outro.sfc]"), std::string::npos) << fromProject.console;
    const RunResult overridden = ws.run(Program::Insert, {"-i", "game.sfc", "-o", "novo.sfc"});
    EXPECT_EQ(overridden.status, 0) << overridden.console;
    // The dump takes every fact from the project, the same script as with
    // every option given.
    const RunResult dump = ws.run(Program::Text, {"dump", "-i", "game.sfc", "-o", "de_novo.txt"});
    ASSERT_EQ(dump.status, 0) << dump.console;
    edit(ws, "textos.txt", "\nBem-vindo ao castelo, viajante, e boa sorte!<end>\n", "\nWelcome to the castle!<end>\n");
    EXPECT_EQ(ws.readText("de_novo.txt"), ws.readText("textos.txt"));
}

TEST(ProjectOptions, EachGraphicIsConvertedInItsOwnFormatUnlessTheLineSaysOtherwise) {
    Workspace ws;
    ws.write("game.sfc", sample().image);
    ASSERT_EQ(ws.run(Program::Build, {"init", "-i", "game.sfc"}).status, 0);
    edit(ws, "brelquim.toml", "# 9 = { bpp = 2 }", "9 = { bpp = 2, columns = 8 }");
    const size_t bytes = ws.read("arquivos/" + graphicName(9)).size();
    // The height of a picture of bytes in a format of tileBytes a tile,
    // columns tiles a row.
    const auto height = [bytes](size_t tileBytes, size_t columns) {
        return static_cast<uint32_t>((bytes / tileBytes + columns - 1) / columns * 8);
    };
    struct Case {
        std::vector<std::string> options;
        uint32_t width, height;
    };
    const Case cases[] = {
        {{}, 64, height(16, 8)},
        {{"--bpp", "4"}, 64, height(32, 8)},
        {{"--columns", "16"}, 128, height(16, 16)},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words = c.options;
        words.push_back("arquivos/" + graphicName(9));
        const RunResult run = ws.run(Program::Png, words);
        ASSERT_EQ(run.status, 0) << run.console;
        const PngPicture picture = decodePng(ws.read("arquivos/grafico_009.png"));
        EXPECT_EQ(picture.width, c.width);
        EXPECT_EQ(picture.height, c.height);
    }
    // The PNG, newer than its .bin, goes back in its format: the build
    // takes it and the image is the original again.
    const RunResult build = ws.run(Program::Build, {});
    ASSERT_EQ(build.status, 0) << build.console;
    EXPECT_NE(build.console.find("Do PNG: "), std::string::npos);
    EXPECT_EQ(ws.read("traduzido.sfc"), sample().image);
}

// The way of a translator: pointers --save puts the tables found into the
// project (its other lines kept), dump then needs no option, and a build
// with [font] and [box] refuses a line past the box unless told to write it.
TEST(Build, SavedTablesDumpAndAnOverflowingLineIsRefused) {
    Workspace ws;
    ws.write("game.sfc", sample().image);
    writeText(ws, "game.tbl", sample().text.table);
    ASSERT_EQ(ws.run(Program::Build, {"init", "-i", "game.sfc", "--table", "game.tbl"}).status, 0);
    edit(ws, "brelquim.toml", "free = []", "free = [\"" + freeRange() + "\"]");
    edit(ws, "brelquim.toml", "# script = \"textos.txt\"", "script = \"textos.txt\"");
    const std::string before = ws.readText("brelquim.toml");
    const RunResult saved = ws.run(Program::Text, {"pointers", "--save"});
    ASSERT_EQ(saved.status, 0) << saved.console;
    EXPECT_NE(saved.console.find(lines("2 tabelas no [text] de brelquim.toml\n")), std::string::npos) << saved.console;
    const std::string after = ws.readText("brelquim.toml");
    // Every line of the file is still there.
    std::istringstream beforeLines(before);
    for (std::string line; std::getline(beforeLines, line);) EXPECT_NE(after.find(line), std::string::npos) << line;
    for (const SamplePointerTable& table : sample().text.tables) {
        EXPECT_NE(after.find(table.busAddress + ":" + std::to_string(table.count)), std::string::npos) << after;
    }
    const RunResult dump = ws.run(Program::Text, {"dump"});
    ASSERT_EQ(dump.status, 0) << dump.console;
    EXPECT_NE(ws.readText("textos.txt").find("\nWelcome to the castle!<end>\n"), std::string::npos);

    edit(ws, "textos.txt", "\nWelcome to the castle!<end>\n", "\nBem-vindo ao castelo, viajante, e boa sorte!<end>\n");
    writeText(ws, "brelquim.toml", ws.readText("brelquim.toml") + "[font]\ngraphic = 9\n[box]\nwidth = 224\n");
    const RunResult refused = ws.run(Program::Build, {});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.console.find(lines("Texto 1, linha 1: 352 pixels numa caixa de 224.\n")), std::string::npos)
        << refused.console;
    EXPECT_NE(refused.console.find(lines("--allow-overflow a grava mesmo assim.\nNada foi gravado.\n")), std::string::npos);
    EXPECT_FALSE(ws.exists("traduzido.sfc"));
    const RunResult allowed = ws.run(Program::Build, {"--allow-overflow"});
    EXPECT_EQ(allowed.status, 0) << allowed.console;
    EXPECT_TRUE(ws.exists("traduzido.sfc"));
}
