// --patch of the inserting programs: the patch they write besides the new
// image turns a clean copy of the input into it, with brelquim-patch, in
// both formats and, for BPS, for a copy with a copier header; a patch that would be
// written over another file of the run is refused before any work; a
// FIFO given as an input is refused, never waited on.
#include "tests/e2e/Harness.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Bytes = std::vector<uint8_t>;

const SampleRom& sample() {
    static const SampleRom rom = buildSampleRom();
    return rom;
}

// The script of the sample with its first string translated.
void translated(const Workspace& ws) {
    ws.write("game.sfc", sample().image);
    const std::string& table = sample().text.table;
    ws.write("game.tbl", Bytes(table.begin(), table.end()));
    const SamplePointerTable& pointers = sample().text.tables[0];
    ASSERT_EQ(ws.run(Program::Text, {"dump", "-i", "game.sfc", "--table", "game.tbl", "--pointers",
                                     pointers.busAddress + ":" + std::to_string(pointers.count)})
                  .status,
              0);
    std::string script = ws.readText("textos.txt");
    const std::string from = "\nWelcome to the castle!<end>\n";
    script.replace(script.find(from), from.size(), "\nBem-vindo ao castelo, viajante!<end>\n");
    ws.write("textos.txt", Bytes(script.begin(), script.end()));
}

// Applies patch to clean (a copy of the sample, as a player has it) and
// expects the new image.
void expectPatchGivesTheNewImage(const Workspace& ws, const std::string& patch, const Bytes& clean) {
    ws.write("clean.sfc", clean);
    const RunResult applied = ws.run(Program::Patch, {"apply", patch, "clean.sfc", "played.sfc"});
    ASSERT_EQ(applied.status, 0) << applied.console;
    const Bytes expected = ws.read("new.sfc");
    const Bytes played = ws.read("played.sfc");
    if (clean.size() == expected.size() || clean.size() % 0x8000 == 0) {
        EXPECT_EQ(played, expected);
    } else {  // the copy's copier header stays, in front of the new ROM data
        ASSERT_EQ(played.size(), expected.size() + 512);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), played.begin() + 512));
    }
}

TEST(InsertPatch, TheTextProgramsPatchTurnsACleanCopyIntoTheNewImage) {
    for (const std::string patch : {"traducao.bps", "traducao.IPS"}) {
        SCOPED_TRACE(patch);
        Workspace ws;
        translated(ws);
        const RunResult run = ws.run(Program::Text, {"insert", "-i", "game.sfc", "-o", "new.sfc", "--table",
                                                     "game.tbl", "--free", "$98:E000:$99:8000", "--patch", patch,
                                                     "textos.txt"});
        ASSERT_EQ(run.status, 0) << run.console;
        const std::string written = "Patch " + std::string(patch.back() == 'S' ? "IPS" : "BPS") + " gravado: " + patch +
                                    " (" + std::to_string(ws.read(patch).size()) + " bytes)\n";
        EXPECT_EQ(run.console.substr(run.console.size() - lines(written).size()), lines(written));
        expectPatchGivesTheNewImage(ws, patch, sample().image);
        // BPS knows its original: a copy with a copier header is patched too.
        if (patch.back() == 's') expectPatchGivesTheNewImage(ws, patch, withCopierHeader(sample().image));
    }
}

TEST(InsertPatch, TheGraphicsProgramsPatchTurnsACleanCopyIntoTheNewImage) {
    Workspace ws;
    ws.write("game.sfc", sample().image);
    ASSERT_EQ(ws.run({"-i", "game.sfc"}).status, 0);
    ws.write("arquivos/" + graphicName(12), noiseBytes(25000, 12));
    const RunResult run = ws.run(Program::Insert, {"-i", "game.sfc", "-o", "new.sfc", "--allow-resize", "--patch",
                                                   "graficos.bps"});
    ASSERT_EQ(run.status, 0) << run.console;
    EXPECT_EQ(ws.read("new.sfc").size(), 2u << 20);
    expectPatchGivesTheNewImage(ws, "graficos.bps", sample().image);
}

TEST(InsertPatch, APatchOverAnotherFileOfTheRunIsRefusedBeforeAnyWork) {
    Workspace ws;
    translated(ws);
    const Bytes script = ws.read("textos.txt");
    const RunResult run = ws.run(Program::Text, {"insert", "-i", "game.sfc", "-o", "new.sfc", "--table", "game.tbl",
                                                 "--patch", "new.sfc", "textos.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.console.find("Valor inv\xE1lido para --patch: new.sfc"), std::string::npos);
    ws.write("game.ips", {1});
    const RunResult over = ws.run(Program::Text, {"insert", "-i", "game.sfc", "-o", "game.ips", "--table", "game.tbl",
                                                  "--patch", "game.ips", "textos.txt"});
    EXPECT_EQ(over.console, lines("Brelquim-text v1.0\nO patch n\xE3o pode ser gravado sobre outro arquivo desta "
                                  "execu\xE7\xE3o: game.ips\nNada foi gravado.\n"));
    EXPECT_EQ(over.status, 1);
    EXPECT_FALSE(ws.exists("new.sfc"));
    EXPECT_EQ(ws.read("game.ips"), Bytes{1});
    EXPECT_EQ(ws.read("textos.txt"), script);
}

TEST(InsertPatch, AFifoGivenAsAnInputIsRefusedNeverWaitedOn) {
    if (targetIsWindows()) GTEST_SKIP() << "no FIFO on Windows";
    Workspace ws;
    translated(ws);
    ASSERT_EQ(mkfifo((ws.path() / "fifo").c_str(), 0644), 0);
    const RunResult labels = ws.run(Program::Text, {"dump", "-i", "game.sfc", "--table", "game.tbl", "--pointers",
                                                    "$98:8000:1", "--labels", "fifo", "-o", "other.txt"});
    EXPECT_EQ(labels.console, lines("Brelquim-text v1.0\nErro ao abrir arquivo [fifo]\nN\xE3o \xE9 um arquivo comum.\n"
                                    "Nada foi gravado.\n"));
    EXPECT_EQ(labels.status, 1);
    const RunResult patch = ws.run(Program::Patch, {"create", "fifo", "game.sfc", "p.bps"});
    EXPECT_EQ(patch.status, 1);
    EXPECT_EQ(patch.console, lines("Brelquim-patch v1.0\nErro ao abrir arquivo [fifo]\nN\xE3o \xE9 um arquivo comum.\n"
                                   "Nada foi gravado.\n"));
    EXPECT_FALSE(ws.exists("other.txt"));
    EXPECT_FALSE(ws.exists("p.bps"));
}

}  // namespace
