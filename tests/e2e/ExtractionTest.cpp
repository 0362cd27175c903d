// Whole extraction runs: the files and the log they leave, and the ways a
// run stops part way.
#include "tests/e2e/Harness.h"
#include "rom/RomImage.h"
#include "tests/sample/SampleRom.h"
#include "graphics/GraphicCodec.h"

#include <gtest/gtest.h>

namespace {


// The log and the files that a run leaves for the first count graphics.
void expectGraphics(const Workspace& ws, const SampleRom& sample, int count) {
    std::string log;
    std::vector<std::string> names;
    for (int graphic = 0; graphic < count; ++graphic) {
        const SampleGraphic& g = sample.graphics[graphic];
        log += expectedLogLine(graphic, g);
        names.push_back(graphicName(graphic));
        ASSERT_EQ(ws.read("arquivos/" + graphicName(graphic)), g.decoded) << graphic;
    }
    EXPECT_EQ(ws.readText("log.txt"), lines(log));
    EXPECT_EQ(ws.list("arquivos"), names);
}

TEST(Extraction, ASampleImageGivesEveryGraphicAndItsLogLine) {
    const SampleRom sample = buildSampleRom();
    Workspace ws;
    ws.write("game.sfc", sample.image);
    const RunResult result = ws.run({"-i", "game.sfc"});
    EXPECT_EQ(result.console, lines(extractionBanner(sample.image)));
    EXPECT_EQ(result.status, 0);
    expectGraphics(ws, sample, 169);
    EXPECT_EQ(ws.list(), (std::vector<std::string>{"arquivos", "game.sfc", "log.txt"}));
}

// On Windows such a name reaches neither the ANSI command line nor the
// ANSI file functions whole.
TEST(Extraction, AnImageNamedOutsideTheWindowsCodePageIsOpened) {
    const SampleRom sample = buildSampleRom();
    Workspace ws;
    const std::string name = "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0.sfc";  // Japanese for "game"
    ws.write(name, sample.image);
    const RunResult result = ws.run({"-i", name});
    EXPECT_EQ(result.console, lines(extractionBanner(sample.image)));
    EXPECT_EQ(result.status, 0);
    expectGraphics(ws, sample, 169);
}

TEST(Extraction, TheWorkedExampleIsGraphicSeven) {
    const SampleRom sample = buildSampleRom();
    Workspace ws;
    ws.write("game.sfc", sample.image);
    ws.run({"-i", "game.sfc"});
    EXPECT_EQ(ws.read("arquivos/grafico_007.bin"),
              (std::vector<uint8_t>{0x11, 0x00, 0x22, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x33}));
    const std::string log = ws.readText("log.txt");
    EXPECT_NE(log.find(lines("grafico_007.bin 888000 0007 040007\n")), std::string::npos);
}

TEST(Extraction, ACopierHeaderChangesNothingInTheOutput) {
    const SampleRom sample = buildSampleRom();
    Workspace ws;
    ws.write("game.smc", withCopierHeader(sample.image));
    const RunResult result = ws.run({"-i", "game.smc"});
    EXPECT_EQ(result.console, lines(extractionBanner(sample.image)));
    EXPECT_EQ(result.status, 0);
    expectGraphics(ws, sample, 169);
}

TEST(Extraction, StaleFilesInAnExistingFolderAreRewritten) {
    const SampleRom sample = buildSampleRom();
    Workspace ws;
    ws.write("game.sfc", sample.image);
    std::filesystem::create_directory(ws.path() / "arquivos");
    for (int graphic = 0; graphic < 169; graphic += 3) {
        ws.write("arquivos/" + graphicName(graphic), std::vector<uint8_t>(70000, 0xEE));
    }
    ws.write("log.txt", std::vector<uint8_t>(5000, 'x'));
    EXPECT_EQ(ws.run({"-i", "game.sfc"}).status, 0);
    expectGraphics(ws, sample, 169);
}

TEST(Extraction, AFileThatCannotBeOpenedStopsTheRunAfterTheGraphicsBefore) {
    const SampleRom sample = buildSampleRom();
    Workspace ws;
    ws.write("game.sfc", sample.image);
    std::filesystem::create_directories(ws.path() / "arquivos" / graphicName(4));
    const RunResult result = ws.run({"-i", "game.sfc"});
    EXPECT_EQ(result.console, lines(extractionBanner(sample.image) + "Erro de escrita de " + shownGraphicPath(4) + "\n"));
    EXPECT_EQ(result.status, 1);
    std::filesystem::remove(ws.path() / "arquivos" / graphicName(4));
    expectGraphics(ws, sample, 4);
}

TEST(Extraction, AFolderThatCannotBeMadeFailsAtTheFirstFile) {
    Workspace ws;
    const std::vector<uint8_t> image = ImageBuilder().fillDirectory(0x40000).image;
    ws.write("game.sfc", image);
    ws.write("arquivos", {});
    const RunResult result = ws.run({"-i", "game.sfc"});
    EXPECT_EQ(result.console, lines(extractionBanner(image) + "Erro de escrita de " + shownGraphicPath(0) + "\n"));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(ws.readText("log.txt"), "");
}

// Broken images, which stop the run at a graphic: BrokenImageTest.cpp.

TEST(ExtractionLog, EndOffsetIsTheByteAfterTheDataReadAcrossBankEnds) {
    // 20000 literal-heavy bytes starting just before the end of bank $88:
    // the data crosses into bank $89 and ends far past its first 32 KiB.
    std::vector<uint8_t> decoded(20000);
    for (size_t i = 0; i < decoded.size(); ++i) decoded[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    const std::vector<uint8_t> stream = compressGraphic(decoded.data(), decoded.size());
    const uint32_t start = 0x047FF0;  // $88:FFF0
    ImageBuilder builder;
    builder.fillDirectory(0x30000).bytes(start, stream).record(0, 20000, 0x88FFF0);
    builder.bytes(0x60000, stream).record(1, 20000, 0x8C8000);
    Workspace ws;
    ws.write("game.sfc", builder.image);
    ASSERT_EQ(ws.run({"-i", "game.sfc"}).status, 0);
    char expected[128];
    std::snprintf(expected, sizeof expected, "grafico_000.bin 88fff0 %04zx %06zx\ngrafico_001.bin 8c8000 %04zx %06zx\n",
                  stream.size(), start + stream.size(), stream.size(), 0x60000 + stream.size());
    EXPECT_EQ(ws.readText("log.txt").substr(0, lines(expected).size()), lines(expected));
    EXPECT_EQ(ws.read("arquivos/grafico_000.bin"), decoded);
}

}  // namespace
