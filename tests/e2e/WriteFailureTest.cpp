// Runs whose writes fail part way: a full disk under the log or under one
// graphic's file, and a file size limit that cuts a graphic or the log.
// Each stops with status 1 and its message; the graphics before the
// failure stay whole, with their log lines.
#include "tests/e2e/Harness.h"
#include "tests/sample/SampleRom.h"
#include "graphics/GameLayout.h"
#include "rom/RomImage.h"

#include <gtest/gtest.h>

#include <functional>

namespace fs = std::filesystem;

namespace {

constexpr int NOT_A_GRAPHIC = -1;

// The sample, or the same game with every graphic 8 bytes long, so that
// the log is the largest file a run writes.
SampleRom smallGraphics() {
    constexpr uint32_t STREAM_OFFSET = 0x40000;
    SampleRom game;
    game.image = ImageBuilder().fillDirectory(STREAM_OFFSET).image;
    const SampleGraphic eightFillBytes{std::vector<uint8_t>(8, 0x5A), 8, fileToLoRom(STREAM_OFFSET), STREAM_OFFSET,
                                       {0x00, 0x5A}, 2};
    game.graphics.assign(GRAPHICS_COUNT, eightFillBytes);
    return game;
}

// First graphic of the game whose file is larger than limit.
int firstLargerThan(const SampleRom& game, size_t limit) {
    for (int graphic = 0; graphic < GRAPHICS_COUNT; ++graphic) {
        if (game.graphics[graphic].decoded.size() > limit) return graphic;
    }
    return NOT_A_GRAPHIC;
}

void linkToFullDisk(const Workspace& ws, const std::string& name) {
    fs::create_directories((ws.path() / name).parent_path());
    fs::create_symlink("/dev/full", ws.path() / name);
}

struct WriteFailure {
    const char* situation;
    bool sample;                 // the sample, else smallGraphics()
    uint64_t fileSizeLimit;      // 0: none
    std::function<int(const Workspace&, const SampleRom&)> prepare;  // the graphic that fails, or NOT_A_GRAPHIC
};

const WriteFailure CASES[] = {
    {"the log is on a full disk", true, 0,
     [](const Workspace& ws, const SampleRom&) {
         linkToFullDisk(ws, LOG_FILE);
         return NOT_A_GRAPHIC;
     }},
    {"graphic 5's file is on a full disk", true, 0,
     [](const Workspace& ws, const SampleRom&) {
         linkToFullDisk(ws, std::string(OUTPUT_FOLDER) + "/" + graphicName(5));
         return 5;
     }},
    {"a file size limit cuts a graphic", true, 4096,
     [](const Workspace&, const SampleRom& game) { return firstLargerThan(game, 4096); }},
    {"a file size limit cuts the log", false, 4096,
     [](const Workspace&, const SampleRom&) { return NOT_A_GRAPHIC; }},
};

TEST(WriteFailures, StopTheRunWithTheirMessageAndKeepWhatWasWrittenBefore) {
    for (const WriteFailure& c : CASES) {
        SCOPED_TRACE(c.situation);
        const SampleRom game = c.sample ? buildSampleRom() : smallGraphics();
        Workspace ws;
        ws.write("game.sfc", game.image);
        const int failing = c.prepare(ws, game);
        ws.limitFileSize(c.fileSizeLimit);
        const RunResult result = ws.run({"-i", "game.sfc"});

        const bool graphicFails = failing != NOT_A_GRAPHIC;
        const std::string message =
            graphicFails ? "Erro de escrita de " + shownGraphicPath(failing) + "\n" : "Erro de escrita.\n";
        EXPECT_EQ(result.console, lines(extractionBanner(game.image) + message));
        EXPECT_EQ(result.status, 1);

        // Every graphic before the failure is whole, none after it exists.
        const int whole = graphicFails ? failing : GRAPHICS_COUNT;
        std::vector<std::string> names;
        std::string log;
        for (int graphic = 0; graphic < whole; ++graphic) {
            names.push_back(graphicName(graphic));
            log += expectedLogLine(graphic, game.graphics[graphic]);
            ASSERT_EQ(ws.read(std::string(OUTPUT_FOLDER) + "/" + graphicName(graphic)), game.graphics[graphic].decoded)
                << graphic;
        }
        if (graphicFails) names.push_back(graphicName(failing));
        EXPECT_EQ(ws.list(OUTPUT_FOLDER), names);

        // The log holds the lines of those graphics; a log that could not
        // be written whole holds no more than its beginning.
        if (fs::is_symlink(ws.path() / LOG_FILE)) continue;
        const std::string written = ws.readText(LOG_FILE);
        if (graphicFails) {
            EXPECT_EQ(written, lines(log));
        } else {
            EXPECT_LT(written.size(), lines(log).size());
            EXPECT_EQ(written, lines(log).substr(0, written.size()));
        }
    }
}

}  // namespace
