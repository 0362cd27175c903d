// brelquim-text's way from a word on the screen to a script, on the
// sample image: the search finds the letters' codes and writes the draft,
// the scan lists the runs with what the draft lacks, pointers prints the
// two tables and the dump command that, run as printed, dumps every
// string; and each refusal.
#include "tests/e2e/Harness.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using Bytes = std::vector<uint8_t>;

const std::string BANNER = "Brelquim-text v1.0\n";

const SampleRom& sample() {
    static const SampleRom rom = buildSampleRom();
    return rom;
}

void prepared(const Workspace& ws) {
    ws.write("game.sfc", sample().image);
    const std::string& table = sample().text.table;
    ws.write("game.tbl", Bytes(table.begin(), table.end()));
}

TEST(TextDiscovery, FromAWordToTheDumpOfEveryString) {
    Workspace ws;
    prepared(ws);
    const RunResult search = ws.run(Program::Text, {"search", "-i", "game.sfc", "Welcome to", "castle", "-o", "draft.tbl"});
    EXPECT_EQ(search.status, 0);
    EXPECT_EQ(search.console, lines(BANNER +
                                       "Mapeamento 1 (2 de 2 palavras, 3 ocorr\xEAncias): A=20 a=40 espa\xE7o=60\n"
                                       "  Welcome to: $98:800E (c000e)\n"
                                       "  castle: $98:801D (c001d)\n"
                                       "  castle: $9B:800E (d800e)\n"
                                       "Rascunho da tabela do mapeamento 1 -> draft.tbl\n"));
    const std::string written = ws.readText("draft.tbl");
    EXPECT_EQ(written.substr(0, written.find('\n') + 1), "# brelquim-text search: \"Welcome to\" \"castle\"\n");
    EXPECT_NE(written.find("\n20=A\n21=B\n"), std::string::npos);
    EXPECT_NE(written.find("\n59=z\n60= \n"), std::string::npos);
    EXPECT_EQ(written.find("=0"), std::string::npos);  // no digit was in the words

    const RunResult scan = ws.run(Program::Text, {"scan", "-i", "game.sfc", "--table", "draft.tbl", "--min", "10",
                                                  "-o", "runs.txt"});
    EXPECT_EQ(scan.status, 0);
    EXPECT_EQ(ws.readText("runs.txt"),
              "$80:FFC1 21 fmcsboplAAAAAAAAAAAAA\n"
              "$98:800E 21 Welcome to the castle\n"
              "$98:8028 11 Magic Sword\n"
              "$98:803E 16 Where is the key\n"
              "$9A:8005 18 The door is locked\n"
              "$9A:801A 12 A gate opens\n"
              "$9B:800A 10 the castle\n");  // the text engine's dictionary
    EXPECT_NE(scan.console.find("A tabela n\xE3o tem fim de texto; os bytes que mais seguem um trecho: "),
              std::string::npos);

    const RunResult pointers = ws.run(Program::Text, {"pointers", "-i", "game.sfc", "--table", "game.tbl"});
    EXPECT_EQ(pointers.status, 0);
    const std::string dumpLine =
        "brelquim-text dump -i game.sfc --table game.tbl --pointers c0000:7 --long-pointers c8000:4\n";
    ASSERT_EQ(pointers.console.substr(0, pointers.console.rfind("Trechos")),
              lines(BANNER + "--pointers $98:8000:7: 6 textos, 95 bytes\n--long-pointers $99:8000:4: 3 textos, 47 bytes\n" +
                    dumpLine));
    // The dump as printed: every string of the sample.
    std::istringstream words(dumpLine.substr(std::string("brelquim-text ").size()));
    std::vector<std::string> args;
    for (std::string word; words >> word;) args.push_back(word);
    const RunResult dump = ws.run(Program::Text, args);
    EXPECT_EQ(dump.status, 0);
    EXPECT_EQ(dump.console, lines(BANNER + "9 textos, 11 ponteiros, 142 bytes -> textos.txt\n"));
}

TEST(TextDiscovery, Refusals) {
    struct Case {
        std::vector<std::string> args;
        std::string console;  // after the banner, up to the usage
    };
    const std::vector<Case> cases = {
        {{"search", "-i", "game.sfc", "castle", "Go"},
         "A palavra \"Go\" tem menos de tr\xEAs caracteres que restrinjam a busca: acharia lugares demais.\n"
         "Nada foi gravado.\n"},
        {{"search", "-i", "game.sfc", "zyxwvutsrq"}, "Nenhum lugar da ROM l\xEA as palavras assim.\nNada foi gravado.\n"},
        {{"search", "-i", "game.sfc", "caf-e"}, "Valor inv\xE1lido para <palavra>: caf-e\n"},
        {{"search", "-i", "game.sfc", "castle", "-o", "game.sfc"},
         "A sa\xED""da n\xE3o pode ser um dos arquivos de entrada: game.sfc\nNada foi gravado.\n"},
        {{"scan", "-i", "game.sfc", "--table", "game.tbl", "--min", "0"}, "Valor inv\xE1lido para --min: 0\n"},
        {{"scan", "-i", "game.sfc", "--table", "game.tbl", "-o", "game.tbl"},
         "A sa\xED""da n\xE3o pode ser um dos arquivos de entrada: game.tbl\nNada foi gravado.\n"},
        {{"pointers", "-i", "game.sfc", "--table", "game.tbl", "--min-count", "x"},
         "Valor inv\xE1lido para --min-count: x\n"},
        {{"pointers", "-i", "game.sfc", "--table", "game.tbl", "--min-count", "60000"},
         "Nenhuma tabela de ponteiros leva a textos que a tabela l\xEA.\n"},
    };
    for (const Case& c : cases) {
        Workspace ws;
        prepared(ws);
        const RunResult result = ws.run(Program::Text, c.args);
        EXPECT_EQ(result.status, 1) << c.args[0];
        const std::string expected = lines(BANNER + c.console);
        EXPECT_EQ(result.console.substr(0, expected.size()), expected) << c.args.back();
        EXPECT_EQ(ws.list(), (std::vector<std::string>{"game.sfc", "game.tbl"})) << c.args.back();
    }
}

}  // namespace
