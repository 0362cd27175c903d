// The outcomes that several programs meet, said in the same words by each:
// an input that is not there, that is no regular file or that cannot be
// read, an output that names an input or is no regular file, a free range
// over the header. Every run is a refusal that leaves every file as it was.
#include "tests/e2e/Harness.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

const std::string NOTHING_WRITTEN = "Nada foi gravado.\n";

std::string banner(Program program) {
    switch (program) {
        case Program::Extract: return "Brelquim v1.0\n";
        case Program::Insert: return "Brelquim-insert v1.0\n";
        case Program::Png: return "Brelquim PNG v1.0\n";
        case Program::Text: return "Brelquim-text v1.0\n";
        case Program::Patch: return "Brelquim-patch v1.0\n";
        case Program::Build: return "Brelquim-build v1.0\n";
    }
    return "";
}

// The sample image extracted (arquivos/, log.txt), its table and its
// script, a patch, a graphic, and what the refusals are made of: folders
// named as files, and a FIFO.
void prepare(const Workspace& ws) {
    const SampleRom rom = buildSampleRom();
    ws.write("game.sfc", rom.image);
    ws.write("game.tbl", Bytes(rom.text.table.begin(), rom.text.table.end()));
    ASSERT_EQ(ws.run({"-i", "game.sfc"}).status, 0);
    ASSERT_EQ(ws.run(Program::Text, {"dump", "-i", "game.sfc", "--table", "game.tbl", "--pointers", "$98:8000:1"})
                  .status,
              0);
    ASSERT_EQ(ws.run(Program::Patch, {"create", "game.sfc", "game.sfc", "p.bps"}).status, 0);
    ws.write("a.bin", Bytes(32, 0x5A));
    for (const char* folder : {"pasta.bin", "pasta.bps", "a.png", "galeria.html"}) {
        fs::create_directory(ws.path() / folder);
    }
    if (!targetIsWindows()) {
        ASSERT_EQ(mkfifo((ws.path() / "fifo.bin").c_str(), 0644), 0);
    }
}

// Every name of the workspace, and the bytes of each regular file (a FIFO
// is never read).
std::map<std::string, Bytes> snapshot(const Workspace& ws) {
    std::map<std::string, Bytes> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(ws.path())) {
        const std::string name = fs::relative(entry.path(), ws.path()).string();
        files[name] = entry.is_regular_file() ? ws.read(name) : Bytes{};
    }
    return files;
}

// Each way a program meets a file it reads, with x for the file's name.
struct Reader {
    Program program;
    std::vector<std::string> args;
    bool nothingWritten;  // the program ends this refusal with "Nada foi gravado."
};

std::vector<std::string> with(std::vector<std::string> args, const std::string& name) {
    for (std::string& arg : args) {
        if (arg == "x") arg = name;
    }
    return args;
}

const std::vector<Reader> READERS = {
    {Program::Extract, {"-i", "x"}, false},
    {Program::Insert, {"-i", "x", "-o", "new.sfc"}, false},
    {Program::Text, {"dump", "-i", "x", "--table", "game.tbl", "--pointers", "$98:8000:1", "-o", "new.txt"}, false},
    {Program::Text, {"dump", "-i", "game.sfc", "--table", "x", "--pointers", "$98:8000:1", "-o", "new.txt"}, true},
    {Program::Text, {"insert", "-i", "game.sfc", "-o", "new.sfc", "--table", "game.tbl", "x"}, true},
    {Program::Patch, {"apply", "p.bps", "x", "out.sfc"}, true},
    {Program::Patch, {"create", "game.sfc", "x", "q.bps"}, true},
    {Program::Png, {"x"}, false},
    {Program::Png, {"--palette", "x", "a.bin"}, false},
};

struct Refusal {
    Program program;
    std::vector<std::string> args;
    std::string console;  // after the banner
};

void expectRefusals(const std::vector<Refusal>& runs) {
    Workspace ws;
    prepare(ws);
    const auto before = snapshot(ws);
    for (const Refusal& run : runs) {
        SCOPED_TRACE(banner(run.program) + testing::PrintToString(run.args));
        const RunResult result = ws.run(run.program, run.args);
        EXPECT_EQ(result.console, lines(banner(run.program) + run.console));
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(snapshot(ws), before);
    }
}

// What every reader says of one input; brelquim reads its image through
// the ROM context object, which tells a missing file from no other.
void expectEveryReaderSays(const std::string& name, const std::string& words, const std::string& extractWords) {
    std::vector<Refusal> runs;
    for (const Reader& reader : READERS) {
        const std::string& said = reader.program == Program::Extract ? extractWords : words;
        runs.push_back({reader.program, with(reader.args, name), said + (reader.nothingWritten ? NOTHING_WRITTEN : "")});
    }
    expectRefusals(runs);
}

TEST(SharedWords, AnInputThatIsNotThere) {
    const std::string words = "Erro ao abrir arquivo [falta.bin]\nArquivo n\xE3o encontrado.\n";
    expectEveryReaderSays("falta.bin", words, words);
}

TEST(SharedWords, AnInputThatIsAFolder) {
    expectEveryReaderSays("pasta.bin", "Erro de leitura de pasta.bin\n",
                          "Erro ao abrir arquivo [pasta.bin]\nArquivo n\xE3o encontrado.\n");
}

TEST(SharedWords, AnInputThatIsNoRegularFileIsNeverWaitedOn) {
    if (targetIsWindows()) GTEST_SKIP() << "no FIFO on Windows";
    std::vector<Refusal> runs;
    for (const Reader& reader : READERS) {
        // brelquim opens its image as the ROM context object always has.
        if (reader.program == Program::Extract) continue;
        runs.push_back({reader.program, with(reader.args, "fifo.bin"),
                        "Erro ao abrir arquivo [fifo.bin]\nN\xE3o \xE9 um arquivo comum.\n" +
                            (reader.nothingWritten ? NOTHING_WRITTEN : "")});
    }
    expectRefusals(runs);
}

TEST(SharedWords, AnOutputThatNamesAnInput) {
    const std::string words = "A sa\xED""da n\xE3o pode ser um dos arquivos de entrada: ";
    expectRefusals({
        {Program::Insert, {"-i", "game.sfc", "-o", "game.sfc"}, words + "game.sfc\n" + NOTHING_WRITTEN},
        {Program::Text,
         {"dump", "-i", "game.sfc", "--table", "game.tbl", "--pointers", "$98:8000:1", "-o", "game.tbl"},
         words + "game.tbl\n" + NOTHING_WRITTEN},
        {Program::Text, {"insert", "-i", "game.sfc", "-o", "textos.txt", "--table", "game.tbl", "textos.txt"},
         words + "textos.txt\n" + NOTHING_WRITTEN},
        {Program::Patch, {"create", "game.sfc", "p.bps", "p.bps"}, words + "p.bps\n" + NOTHING_WRITTEN},
        {Program::Patch, {"apply", "p.bps", "game.sfc", "game.sfc"}, words + "game.sfc\n" + NOTHING_WRITTEN},
    });
}

TEST(SharedWords, AnOutputThatIsNoRegularFileIsNeverWrittenOver) {
    const std::string words = "N\xE3o \xE9 poss\xED""vel gravar sobre o que n\xE3o \xE9 um arquivo comum: ";
    expectRefusals({
        {Program::Insert, {"-i", "game.sfc", "-o", "pasta.bin"}, words + "pasta.bin\n" + NOTHING_WRITTEN},
        {Program::Insert, {"-i", "game.sfc", "-o", "new.sfc", "--patch", "pasta.bps"},
         words + "pasta.bps\n" + NOTHING_WRITTEN},
        {Program::Text,
         {"dump", "-i", "game.sfc", "--table", "game.tbl", "--pointers", "$98:8000:1", "-o", "pasta.bin"},
         words + "pasta.bin\n" + NOTHING_WRITTEN},
        {Program::Text, {"insert", "-i", "game.sfc", "-o", "pasta.bin", "--table", "game.tbl", "textos.txt"},
         words + "pasta.bin\n" + NOTHING_WRITTEN},
        {Program::Text,
         {"insert", "-i", "game.sfc", "-o", "new.sfc", "--table", "game.tbl", "--patch", "pasta.bps", "textos.txt"},
         words + "pasta.bps\n" + NOTHING_WRITTEN},
        {Program::Patch, {"apply", "p.bps", "game.sfc", "pasta.bin"}, words + "pasta.bin\n" + NOTHING_WRITTEN},
        // Converting goes on to the next file, and says nothing of the rest.
        {Program::Png, {"a.bin"}, words + "a.png\n"},
        {Program::Png, {"--gallery"}, words + "galeria.html\n"},
    });
}

TEST(SharedWords, AFreeRangeOverTheHeader) {
    const std::string words = "Faixa livre $80:FF00:$80:FFC1 cobre o cabe\xE7""alho interno da ROM.\n" + NOTHING_WRITTEN;
    expectRefusals({
        {Program::Insert, {"-i", "game.sfc", "-o", "new.sfc", "--free", "7f00:7fc1"}, words},
        {Program::Text,
         {"insert", "-i", "game.sfc", "-o", "new.sfc", "--table", "game.tbl", "--free", "$80:FF00:$80:FFC1",
          "textos.txt"},
         words},
        // Ranges that overlap are merged first, and the merged one is named.
        {Program::Insert, {"-i", "game.sfc", "-o", "new.sfc", "--free", "7f00:7f80", "--free", "7f40:7fc1"},
         "Faixas livres sobrepostas juntadas em $80:FF00:$80:FFC1.\n" + words},
        {Program::Text,
         {"insert", "-i", "game.sfc", "-o", "new.sfc", "--table", "game.tbl", "--free", "7f40:7fc1", "--free",
          "7f00:7f80", "--free", "$80:FF00:$80:FF01", "textos.txt"},
         "Faixas livres sobrepostas juntadas em $80:FF00:$80:FFC1.\n" + words},
    });
}

}  // namespace
