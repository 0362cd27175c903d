// Whole brelquim-patch runs: a patch made from two images applies to a
// clean copy of the first and gives the second; every refusal prints its
// message and leaves no output and no temporary file.
#include "tests/e2e/Harness.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

namespace {

using Bytes = std::vector<uint8_t>;

const std::string BANNER = "Brelquim-patch v1.0\n";
const std::string NOTHING_WRITTEN = "Nada foi gravado.\n";
const std::string CHECKED = "Original e resultado conferem com o CRC32 do patch.\n";

std::string hex8(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

uint32_t zlibCrc(const Bytes& bytes) {
    return static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size())));
}

std::string written(const std::string& what, const std::string& path, size_t size) {
    return what + path + " (" + std::to_string(size) + " bytes)\n";
}

// The sample image and an edit of it: a block changed in place, one moved
// to a new end, a run.
struct Pair {
    Bytes original = buildSampleRom().image;
    Bytes modified = [this] {
        Bytes m = original;
        const Bytes noise = noiseBytes(6000, 11);
        std::copy(noise.begin(), noise.end(), m.begin() + 0x40000);
        m.insert(m.end(), original.begin() + 0x50000, original.begin() + 0x58000);
        std::fill(m.begin() + 0x60000, m.begin() + 0x61000, uint8_t{0xEE});
        return m;
    }();
};

// -h and --help come first and the rest is not read (the usages
// themselves are checked in FirstHourTest).
TEST(PatchTool, HelpAndVersion) {
    Workspace ws;
    const struct {
        std::vector<std::string> args;
        std::string console;
    } table[] = {
        {{"-h"}, BANNER + declaredUsage(Program::Patch)},
        {{"--help", "x"}, BANNER + declaredUsage(Program::Patch)},
        {{"create", "a", "--help", "c.ups"}, BANNER + declaredUsage(Program::Patch, 0)},
        {{"apply", "-h"}, BANNER + declaredUsage(Program::Patch, 1)},
        {{"--version"}, BANNER},
        {{"apply", "--version", "x"}, BANNER},
    };
    for (const auto& c : table) {
        const RunResult r = ws.run(Program::Patch, c.args);
        EXPECT_EQ(r.console, lines(c.console)) << c.args.front();
        EXPECT_EQ(r.status, 0);
    }
    EXPECT_TRUE(ws.list().empty());
}

// Each mistake in the shared words, then the usage of the program, or of
// the command given; no words at all: the usage alone.
TEST(PatchTool, UsageMistakesNameWhatWasWrong) {
    struct Case {
        std::vector<std::string> args;
        std::string mistake;
        int command;  // whose usage follows: -1 the program's
    };
    const Case table[] = {
        {{}, "", -1},
        {{"make", "a", "b", "c.bps"}, "Comando desconhecido: make\n", -1},
        {{"--make", "a", "b", "c.bps"}, "Op\xE7\xE3o desconhecida: --make\n", -1},
        {{"create", "a", "b"}, "Falta <patch.bps|patch.ips>\n", 0},
        {{"apply"}, "Falta <patch.bps|patch.ips>\n", 1},
        {{"apply", "p.bps", "a", "b", "c"}, "Argumento inesperado: c\n", 1},
        {{"create", "a", "", "c.bps"}, "Valor inv\xE1lido para <modificada>: \n", 0},
        {{"apply", "p.ips", "a", ""}, "Valor inv\xE1lido para <sa\xED""da>: \n", 1},
        {{"create", "a", "b", "c.ups"}, "Valor inv\xE1lido para <patch.bps|patch.ips>: c.ups\n", 0},
        {{"apply", "a.bps.zip", "b", "c"}, "Valor inv\xE1lido para <patch.bps|patch.ips>: a.bps.zip\n", 1},
        {{"create", "a", "b", "-c.bps"}, "Op\xE7\xE3o desconhecida: -c.bps\n", 0},
    };
    for (const Case& c : table) {
        Workspace ws;
        const RunResult r = ws.run(Program::Patch, c.args);
        EXPECT_EQ(r.console, lines(BANNER + c.mistake + declaredUsage(Program::Patch, c.command))) << c.mistake;
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(ws.list().empty());
    }
}

// After "--" every word is a file, those that start with '-' too.
TEST(PatchTool, FilesNamedWithADashComeAfterTwoDashes) {
    const Pair pair;
    Workspace ws;
    ws.write("-game.sfc", pair.original);
    ws.write("-edited.sfc", pair.modified);
    const RunResult made = ws.run(Program::Patch, {"create", "--", "-game.sfc", "-edited.sfc", "-p.bps"});
    EXPECT_EQ(made.console, lines(BANNER + written("Patch BPS gravado: ", "-p.bps", ws.read("-p.bps").size())));
    EXPECT_EQ(made.status, 0);
    const RunResult dashed = ws.run(Program::Patch, {"apply", "--", "-p.bps", "-game.sfc", "-out.sfc"});
    EXPECT_EQ(dashed.console, lines(BANNER + CHECKED + written("Imagem gravada: ", "-out.sfc", pair.modified.size())));
    EXPECT_EQ(dashed.status, 0);
    EXPECT_TRUE(ws.read("-out.sfc") == pair.modified);
}

TEST(PatchTool, APatchMadeAppliesToACleanCopyInBothFormats) {
    const Pair pair;
    for (const std::string name : {"fan.bps", "FAN.IPS"}) {
        SCOPED_TRACE(name);
        Workspace ws;
        ws.write("game.sfc", pair.original);
        ws.write("edited.sfc", pair.modified);
        const RunResult made = ws.run(Program::Patch, {"create", "game.sfc", "edited.sfc", name});
        const bool bps = name == "fan.bps";
        const Bytes patch = ws.read(name);
        EXPECT_EQ(made.console, lines(BANNER + written(bps ? "Patch BPS gravado: " : "Patch IPS gravado: ", name,
                                                        patch.size())));
        EXPECT_EQ(made.status, 0);

        const RunResult applied = ws.run(Program::Patch, {"apply", name, "game.sfc", "out.sfc"});
        EXPECT_EQ(applied.console,
                  lines(BANNER + (bps ? CHECKED : "") + written("Imagem gravada: ", "out.sfc", pair.modified.size())));
        EXPECT_EQ(applied.status, 0);
        EXPECT_TRUE(ws.read("out.sfc") == pair.modified);
        EXPECT_TRUE(ws.read("game.sfc") == pair.original);
        std::vector<std::string> files{name, "edited.sfc", "game.sfc", "out.sfc"};
        std::sort(files.begin(), files.end());
        EXPECT_EQ(ws.list(), files);
        if (bps) {
            EXPECT_LT(patch.size(), 7000u);  // the moved bank is copied, not written
        }
    }
}

TEST(PatchTool, IdenticalFilesGiveAPatchThatChangesNothing) {
    const Pair pair;
    Workspace ws;
    ws.write("game.sfc", pair.original);
    ws.write("copy.sfc", pair.original);
    const RunResult r = ws.run(Program::Patch, {"create", "game.sfc", "copy.sfc", "same.ips"});
    EXPECT_EQ(r.console, lines(BANNER + "Os arquivos s\xE3o id\xEAnticos: o patch n\xE3o muda nada.\n" +
                               written("Patch IPS gravado: ", "same.ips", 8)));
    EXPECT_EQ(ws.readText("same.ips"), "PATCHEOF");
}

// Refusals of apply: the message, status 1, the workspace as it was.
TEST(PatchTool, WrongOriginalsAndMalformedPatchesAreRefused) {
    const Pair pair;
    struct Case {
        const char* name;
        std::string patchName;
        std::function<Bytes(const Bytes& bps, const Bytes& ips)> patch;
        Bytes original;
        std::function<std::string(const Bytes& bps)> message;
    };
    Bytes other = pair.original;
    other[0x1234] ^= 1;
    const auto crcAt = [](const Bytes& patch, size_t fromEnd) {
        const uint8_t* at = patch.data() + patch.size() - fromEnd;
        return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
    };
    const std::vector<Case> table = {
        {"another revision", "p.bps", [](const Bytes& bps, const Bytes&) { return bps; }, other,
         [&](const Bytes& bps) {
             return "A original n\xE3o \xE9 a imagem deste patch: CRC32 esperado " + hex8(crcAt(bps, 12)) +
                    ", encontrado " + hex8(zlibCrc(other)) + ".\n";
         }},
        {"another size", "p.bps", [](const Bytes& bps, const Bytes&) { return bps; }, Bytes(1000, 0),
         [](const Bytes&) {
             return std::string("A original n\xE3o \xE9 a imagem deste patch: o patch espera 1048576 bytes, "
                                "a original tem 1000.\n");
         }},
        {"a damaged patch", "p.bps",
         [](const Bytes& bps, const Bytes&) {
             Bytes damaged = bps;
             damaged[20] ^= 0x40;
             return damaged;
         },
         pair.original,
         [&](const Bytes& bps) {
             Bytes damaged(bps.begin(), bps.end() - 4);
             damaged[20] ^= 0x40;
             return "CRC32 do patch n\xE3o confere: esperado " + hex8(crcAt(bps, 4)) + ", encontrado " +
                    hex8(zlibCrc(damaged)) + ". O patch est\xE1 danificado ou incompleto.\n";
         }},
        {"the patch's own result", "p.bps", [](const Bytes& bps, const Bytes&) { return bps; }, pair.modified,
         [&](const Bytes& bps) {
             return "A original j\xE1 \xE9 o resultado deste patch (CRC32 " + hex8(crcAt(bps, 8)) +
                    "): o patch j\xE1 foi aplicado.\n";
         }},
        {"the patch's own result with a copier header", "p.bps", [](const Bytes& bps, const Bytes&) { return bps; },
         withCopierHeader(pair.modified),
         [&](const Bytes& bps) {
             return "A original, sem o seu cabe\xE7""alho de copiadora (512 bytes), j\xE1 \xE9 o resultado deste "
                    "patch (CRC32 " + hex8(crcAt(bps, 8)) + "): o patch j\xE1 foi aplicado.\n";
         }},
        {"a cut IPS", "p.ips",
         [](const Bytes&, const Bytes&) { return Bytes{'P', 'A', 'T', 'C', 'H', 0, 0, 0x10, 0, 4, 'a', 'b'}; },
         pair.original,
         [](const Bytes&) {
             return std::string("Patch IPS malformado: acaba no meio de um registro ou sem \"EOF\" "
                                "(byte 5 do patch, 0x5).\n");
         }},
        {"an IPS record past 16 MiB", "p.ips",
         [](const Bytes&, const Bytes&) {
             return Bytes{'P', 'A', 'T', 'C', 'H', 0xFF, 0xFF, 0xFF, 0x00, 0x02, 1, 2, 'E', 'O', 'F'};
         },
         pair.original,
         [](const Bytes&) {
             return std::string("Patch IPS malformado: registro passa de 16 MiB (byte 5 do patch, 0x5).\n");
         }},
        {"a BPS with the wrong magic", "p.bps",
         [](const Bytes&, const Bytes&) { return Bytes{'U', 'P', 'S', '1', 0, 0, 0}; }, pair.original,
         [](const Bytes&) {
             return std::string("Patch BPS malformado: n\xE3o come\xE7""a com \"BPS1\" (byte 0 do patch, 0x0).\n");
         }},
    };
    Workspace maker;
    maker.write("game.sfc", pair.original);
    maker.write("edited.sfc", pair.modified);
    ASSERT_EQ(maker.run(Program::Patch, {"create", "game.sfc", "edited.sfc", "p.bps"}).status, 0);
    ASSERT_EQ(maker.run(Program::Patch, {"create", "game.sfc", "edited.sfc", "p.ips"}).status, 0);
    const Bytes bps = maker.read("p.bps"), ips = maker.read("p.ips");
    for (const Case& c : table) {
        SCOPED_TRACE(c.name);
        Workspace ws;
        const Bytes patch = c.patch(bps, ips);
        ws.write(c.patchName, patch);
        ws.write("game.sfc", c.original);
        const std::string message = c.message(bps);
        const RunResult r = ws.run(Program::Patch, {"apply", c.patchName, "game.sfc", "out.sfc"});
        EXPECT_EQ(r.console, lines(BANNER + message + NOTHING_WRITTEN));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(ws.list(), (std::vector<std::string>{"game.sfc", c.patchName}));
    }
}

TEST(PatchTool, AnImageWithACopierHeaderTakesAPatchForTheBareImage) {
    const Pair pair;
    Workspace ws;
    ws.write("game.sfc", pair.original);
    ws.write("edited.sfc", pair.modified);
    ws.write("headed.smc", withCopierHeader(pair.original));
    ASSERT_EQ(ws.run(Program::Patch, {"create", "game.sfc", "edited.sfc", "p.bps"}).status, 0);
    ASSERT_EQ(ws.run(Program::Patch, {"create", "game.sfc", "edited.sfc", "p.ips"}).status, 0);

    RunResult r = ws.run(Program::Patch, {"apply", "p.bps", "headed.smc", "out.smc"});
    const Bytes expected = withCopierHeader(pair.modified);
    EXPECT_EQ(r.console, lines(BANNER +
                               "A original tem cabe\xE7""alho de copiadora (512 bytes) e o patch \xE9 para a imagem "
                               "sem ele: aplicado sem o cabe\xE7""alho, que a sa\xED""da mant\xE9m.\n" +
                               CHECKED + written("Imagem gravada: ", "out.smc", expected.size())));
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(ws.read("out.smc") == expected);

    // IPS checks nothing: applied as given, with a warning.
    r = ws.run(Program::Patch, {"apply", "p.ips", "headed.smc", "out2.smc"});
    EXPECT_EQ(r.console, lines(BANNER +
                               "Aten\xE7\xE3o: o tamanho da original sugere um cabe\xE7""alho de copiadora (512 "
                               "bytes); um patch IPS n\xE3o verifica a original e pode esperar a imagem sem ele.\n" +
                               written("Imagem gravada: ", "out2.smc", ws.read("out2.smc").size())));
    EXPECT_EQ(r.status, 0);
}

// The pair in game.sfc and edited.sfc, and the IPS patch between them in
// p.ips; false when it could not be made.
bool madeIps(const Workspace& ws, const Pair& pair) {
    ws.write("game.sfc", pair.original);
    ws.write("edited.sfc", pair.modified);
    return ws.run(Program::Patch, {"create", "game.sfc", "edited.sfc", "p.ips"}).status == 0;
}

// IPS checks nothing: applied to its own result, it changes nothing, and
// says that the image may already be patched.
TEST(PatchTool, AnIpsPatchAppliedTwiceSaysTheImageMayAlreadyBePatched) {
    const Pair pair;
    Workspace ws;
    ASSERT_TRUE(madeIps(ws, pair));
    const RunResult r = ws.run(Program::Patch, {"apply", "p.ips", "edited.sfc", "again.sfc"});
    EXPECT_EQ(r.console, lines(BANNER +
                               "A original j\xE1 tem todos os bytes que o patch escreve: talvez o patch j\xE1 tenha "
                               "sido aplicado (um patch IPS n\xE3o permite saber). A sa\xED""da \xE9 igual \xE0 "
                               "original.\n" +
                               written("Imagem gravada: ", "again.sfc", pair.modified.size())));
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(ws.read("again.sfc") == pair.modified);
}

// Patches are made between the ROM data: a copier header on either side is
// taken off first, and the patch is the one of the bare images.
TEST(PatchTool, APatchMadeFromImagesWithCopierHeadersIsForTheBareImage) {
    const Pair pair;
    const std::string both = "A original e a modificada t\xEAm";
    const std::string removed = " cabe\xE7""alho de copiadora (512 bytes), tirado antes de fazer o patch: o patch \xE9 "
                                "para a imagem sem ele.\n";
    struct Case {
        bool originalHeaded, modifiedHeaded;
        std::string said;
    };
    const std::vector<Case> table = {
        {true, true, both + removed},
        {true, false, "A original tem" + removed},
        {false, true, "A modificada tem" + removed},
    };
    for (const std::string name : {"p.bps", "p.ips"}) {
        Workspace bare;
        bare.write("game.sfc", pair.original);
        bare.write("edited.sfc", pair.modified);
        ASSERT_EQ(bare.run(Program::Patch, {"create", "game.sfc", "edited.sfc", name}).status, 0);
        for (const Case& c : table) {
            SCOPED_TRACE(name + " " + c.said);
            Workspace ws;
            ws.write("game.smc", c.originalHeaded ? withCopierHeader(pair.original) : pair.original);
            ws.write("edited.smc", c.modifiedHeaded ? withCopierHeader(pair.modified) : pair.modified);
            const RunResult r = ws.run(Program::Patch, {"create", "game.smc", "edited.smc", name});
            const Bytes patch = ws.read(name);
            EXPECT_EQ(r.console, lines(BANNER + c.said +
                                       written(name == "p.bps" ? "Patch BPS gravado: " : "Patch IPS gravado: ", name,
                                               patch.size())));
            EXPECT_EQ(r.status, 0);
            EXPECT_TRUE(patch == bare.read(name));
        }
    }
}

TEST(PatchTool, OutputsNamingAnInputAndUnreadableInputsAreRefused) {
    const Pair pair;
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case table[] = {
        {{"create", "game.sfc", "edited.sfc", "link.bps"},
         "A sa\xED""da n\xE3o pode ser um dos arquivos de entrada: link.bps\n"},
        {{"apply", "p.bps", "game.sfc", "game.sfc"}, "A sa\xED""da n\xE3o pode ser um dos arquivos de entrada: game.sfc\n"},
        {{"apply", "p.bps", "game.sfc", "p.bps"}, "A sa\xED""da n\xE3o pode ser um dos arquivos de entrada: p.bps\n"},
        {{"apply", "none.bps", "game.sfc", "out.sfc"}, "Erro ao abrir arquivo [none.bps]\nArquivo n\xE3o encontrado.\n"},
        {{"create", "game.sfc", "none.sfc", "q.ips"}, "Erro ao abrir arquivo [none.sfc]\nArquivo n\xE3o encontrado.\n"},
        {{"create", "game.sfc", "huge.sfc", "q.ips"},
         "Imagem de mais de 16 MiB: o formato IPS n\xE3o chega al\xE9m disso. Use um patch .bps.\n"},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.message);
        Workspace ws;
        ws.write("game.sfc", pair.original);
        ws.write("edited.sfc", pair.modified);
        ws.write("p.bps", {'B', 'P', 'S', '1'});
        if (c.args[2] == "huge.sfc") ws.write("huge.sfc", Bytes((16 << 20) + 1, 0x11));
        std::filesystem::create_hard_link(ws.path() / "edited.sfc", ws.path() / "link.bps");
        const std::vector<std::string> before = ws.list();
        const RunResult r = ws.run(Program::Patch, c.args);
        EXPECT_EQ(r.console, lines(BANNER + c.message + NOTHING_WRITTEN));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(ws.list(), before);
        EXPECT_TRUE(ws.read("edited.sfc") == pair.modified);
    }
}

TEST(PatchTool, AFailedWriteLeavesNothing) {
    const Pair pair;
    Workspace ws;
    ASSERT_TRUE(madeIps(ws, pair));
    ws.limitFileSize(pair.modified.size() / 2);
    const RunResult r = ws.run(Program::Patch, {"apply", "p.ips", "game.sfc", "out.sfc"});
    // Wine gives a Windows program no reason for a write past the file
    // size limit; Linux says it.
    const std::string reason = targetIsWindows() ? "" : "O arquivo passaria do tamanho que o sistema permite.\n";
    EXPECT_EQ(r.console, lines(BANNER + "Erro de escrita de out.sfc\n" + reason + NOTHING_WRITTEN));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(ws.list(), (std::vector<std::string>{"edited.sfc", "game.sfc", "p.ips"}));
}

}  // namespace
