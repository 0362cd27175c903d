// The run up to the extraction: command line, loading and the checks on the
// image, each way out with its exact console text and status.
#include "tests/e2e/Harness.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>

namespace {

const std::string BANNER = "Brelquim v1.0\n";
const std::string USAGE = "Uso:\nbrelquim.exe -i <rom>\n\n";

// A small but complete image of the expected game.
std::vector<uint8_t> smallGame() {
    return ImageBuilder().fillDirectory(0x40000).image;
}

void expectRun(const RunResult& result, const std::string& console, int status) {
    EXPECT_EQ(result.console, lines(console));
    EXPECT_EQ(result.status, status);
}

TEST(CommandLine, WrongArgumentCountsPrintUsageAndTouchNothing) {
    const std::vector<std::vector<std::string>> argumentLists = {
        {},
        {"-i"},
        {"-i", "game.sfc", "extra"},
        {"game.sfc", "other.sfc"},  // three entries, no marker
        {"game.sfc", "-i"},         // the marker is the last entry
    };
    for (const auto& args : argumentLists) {
        Workspace ws;
        ws.write("game.sfc", smallGame());
        expectRun(ws.run(args), BANNER + USAGE, 1);
        EXPECT_EQ(ws.list(), std::vector<std::string>{"game.sfc"});
    }
}

TEST(CommandLine, AMarkerWithMoreCharactersWorksLikeTheMarker) {
    Workspace ws;
    ws.write("game.sfc", smallGame());
    expectRun(ws.run({"-ipsum", "game.sfc"}), BANNER + "checksum: 5a3c\n", 0);
    EXPECT_EQ(ws.list("arquivos").size(), 169u);
}

TEST(CommandLine, AnUppercaseMarkerIsNoMarker) {
    Workspace ws;
    ws.write("game.sfc", smallGame());
    expectRun(ws.run({"-I", "game.sfc"}), BANNER + USAGE, 1);
}

TEST(CommandLine, TheEntryAfterAMarkerIsAlwaysThePath) {
    Workspace ws;
    expectRun(ws.run({"-i", "-i"}), BANNER + "Erro ao abrir arquivo [-i]\nArquivo n\xE3o encontrado.\n", 1);
    EXPECT_TRUE(ws.list().empty());
}

TEST(CommandLine, PathsOf127CharactersWorkAndLongerOnesAreRefused) {
    Workspace ws;
    const std::string longest(127, 'r');
    ws.write(longest, smallGame());
    expectRun(ws.run({"-i", longest}), BANNER + "checksum: 5a3c\n", 0);

    Workspace other;
    const std::string tooLong(128, 'r');
    other.write(tooLong, smallGame());
    expectRun(other.run({"-i", tooLong}), BANNER + "Caminho muito longo: " + tooLong + "\n", 1);
    EXPECT_EQ(other.list(), std::vector<std::string>{tooLong});
}

TEST(Refusals, AMissingFileNamesThePath) {
    Workspace ws;
    expectRun(ws.run({"-i", "nada.sfc"}),
              BANNER + "Erro ao abrir arquivo [nada.sfc]\nArquivo n\xE3o encontrado.\n", 1);
    EXPECT_TRUE(ws.list().empty());
}

TEST(Refusals, AFolderIsNoImage) {
    Workspace ws;
    std::filesystem::create_directory(ws.path() / "pasta");
    expectRun(ws.run({"-i", "pasta"}), BANNER + "Erro ao abrir arquivo [pasta]\nArquivo n\xE3o encontrado.\n", 1);
    EXPECT_EQ(ws.list(), std::vector<std::string>{"pasta"});
}

TEST(Refusals, AnotherGameShowsItsWholeTitle) {
    Workspace ws;
    ws.write("other.sfc", ImageBuilder().title("OTHER GAME").image);
    expectRun(ws.run({"-i", "other.sfc"}),
              BANNER + "A ROM n\xE3o aparenta ser do jogo esperado!\nROMNAME:[OTHER GAME           ]\n", 1);
    EXPECT_FALSE(ws.exists("log.txt"));
}

TEST(Refusals, AnotherRevisionIsRefusedBeforeTheLogIsMade) {
    Workspace ws;
    ws.write("game.sfc", ImageBuilder().version(0).fillDirectory(0x40000).image);
    expectRun(ws.run({"-i", "game.sfc"}), BANNER + "ROM incompat\xEDvel! Utilizar a vers\xE3o 1.1\n", 1);
    EXPECT_EQ(ws.list(), std::vector<std::string>{"game.sfc"});
}

TEST(Refusals, AnImageWithoutRecognisableHeaderShowsAnEmptyTitle) {
    for (size_t size : {size_t{0}, size_t{1}, size_t{0x7FD5}, size_t{0x8000}}) {
        Workspace ws;
        ws.write("blank.sfc", std::vector<uint8_t>(size, 0));
        expectRun(ws.run({"-i", "blank.sfc"}),
                  BANNER + "Rom inv\xE1lida!\nA ROM n\xE3o aparenta ser do jogo esperado!\nROMNAME:[]\n", 1);
        EXPECT_EQ(ws.list(), std::vector<std::string>{"blank.sfc"}) << size;
    }
}

TEST(Refusals, ALogThatCannotBeOpened) {
    Workspace ws;
    ws.write("game.sfc", smallGame());
    std::filesystem::create_directory(ws.path() / "log.txt");
    expectRun(ws.run({"-i", "game.sfc"}), BANNER + "checksum: 5a3c\nErro de escrita.\n", 1);
    EXPECT_FALSE(ws.exists("arquivos"));
}

TEST(Checksum, IsPrintedWithoutLeadingZeros) {
    Workspace ws;
    ws.write("game.sfc", ImageBuilder().checksum(0x00AB).fillDirectory(0x40000).image);
    expectRun(ws.run({"-i", "game.sfc"}), BANNER + "checksum: ab\n", 0);
}

}  // namespace
