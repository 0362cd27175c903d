// Broken images of the expected game: each run stops with a read error at
// the first graphic whose record or compressed data do not lie inside the
// ROM data, with status 1, and leaves the files and log lines of the
// graphics before it complete.
//
// Images too short to hold an internal header (0, 1, 0x7FD5 bytes) never
// reach the directory; RunSequenceTest.cpp covers them
// (Refusals.AnImageWithoutRecognisableHeaderShowsAnEmptyTitle).
#include "tests/e2e/Harness.h"
#include "graphics/GameLayout.h"
#include "rom/RomImage.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

const std::string SUCCESS = "Brelquim v1.0\nchecksum: 5a3c\n";

constexpr uint32_t SMALL_GRAPHIC = 0x40000;           // $88:8000: one group, eight bytes 5A
constexpr uint32_t SMALL_GRAPHIC_IN_BANK_86 = 0x30000;  // $86:8000, for images that end before $88
constexpr size_t ONE_MIB = 1 << 20;
// 65535 bytes from zero bytes alone (control 00, fill 00): 8192 groups of
// two stream bytes.
constexpr uint16_t LARGEST_SIZE = 65535;
constexpr uint32_t LARGEST_ZERO_STREAM = 0x4000;

struct Written {
    std::vector<uint8_t> bytes;
    std::string logLine;  // with "\n"
};

struct BrokenImage {
    std::string name;
    std::string fileName;
    std::vector<uint8_t> file;
    int stopsAt;                   // the graphic that gets the read error
    std::vector<Written> written;  // graphics 0 to stopsAt - 1
};

void PrintTo(const BrokenImage& image, std::ostream* out) {
    *out << image.name;
}

std::string logLine(int graphic, uint32_t dataAddress, uint32_t packedLength, uint32_t endOffset) {
    char line[64];
    std::snprintf(line, sizeof line, LOG_LINE_FORMAT, graphic, dataAddress, packedLength,
                  endOffset);
    return line;
}

// What graphics 0 to count - 1 of an image made by fillDirectory(offset)
// leave behind.
std::vector<Written> smallGraphics(int count, uint32_t offset) {
    std::vector<Written> written;
    for (int graphic = 0; graphic < count; ++graphic) {
        written.push_back({std::vector<uint8_t>(8, 0x5A), logLine(graphic, fileToLoRom(offset), 2, offset + 2)});
    }
    return written;
}

// A 1 MiB image whose graphic 3 has this record; the others are small.
BrokenImage graphicThreeAt(const std::string& name, uint16_t unpackedSize, uint32_t dataAddress,
                           bool copierHeader = false) {
    ImageBuilder builder(ONE_MIB);
    builder.fillDirectory(SMALL_GRAPHIC).record(3, unpackedSize, dataAddress);
    return {name, copierHeader ? "game.smc" : "game.sfc",
            copierHeader ? withCopierHeader(builder.image) : builder.image, 3, smallGraphics(3, SMALL_GRAPHIC)};
}

// ROM data of romSize bytes, whose last 0x4000 bytes are zero: graphic 3
// decodes 65535 bytes from exactly those and ends on the image's last
// byte; graphic 4 starts one byte later and needs one byte more than the
// image holds.
BrokenImage largestGraphicAtTheEnd(const std::string& name, size_t romSize, bool copierHeader) {
    ImageBuilder builder(romSize);
    const uint32_t start = static_cast<uint32_t>(romSize) - LARGEST_ZERO_STREAM;
    builder.fillDirectory(SMALL_GRAPHIC_IN_BANK_86)
        .bytes(start, std::vector<uint8_t>(LARGEST_ZERO_STREAM, 0))
        .record(3, LARGEST_SIZE, fileToLoRom(start))
        .record(4, LARGEST_SIZE, fileToLoRom(start + 1));
    std::vector<Written> written = smallGraphics(3, SMALL_GRAPHIC_IN_BANK_86);
    written.push_back({std::vector<uint8_t>(LARGEST_SIZE, 0),
                       logLine(3, fileToLoRom(start), LARGEST_ZERO_STREAM, static_cast<uint32_t>(romSize))});
    return {name, copierHeader ? "game.smc" : "game.sfc",
            copierHeader ? withCopierHeader(builder.image) : builder.image, 4, written};
}

BrokenImage endsInsideTheDirectory() {
    // 0x37700 bytes hold the first record whole and four bytes of the
    // second. The length is no whole number of 32 KiB blocks, so the image
    // is read as having a copier header, and gets one.
    ImageBuilder builder(0x37700);
    builder.bytes(SMALL_GRAPHIC_IN_BANK_86, {0x00, 0x5A})
        .record(0, 8, fileToLoRom(SMALL_GRAPHIC_IN_BANK_86))
        .bytes(0x376FC, {8, 0, 0, 0x80});
    return {"EndsInsideTheDirectory", "game.smc", withCopierHeader(builder.image), 1,
            smallGraphics(1, SMALL_GRAPHIC_IN_BANK_86)};
}

std::vector<BrokenImage> brokenImages() {
    return {
        endsInsideTheDirectory(),
        graphicThreeAt("DataPastTheEnd", 8, 0xA08000),  // first byte after 1 MiB
        graphicThreeAt("DataInABankBelow80", 8, 0x068000),
        // The cursor lands 0x100 short of 2^32; its stream would wrap into
        // the image's first bytes, which still is not data of this graphic.
        graphicThreeAt("DataInTheLowerHalfOfBank80", LARGEST_SIZE, 0x807F00),
        // With a copier header the same cursor wraps into the header's
        // bytes, which are no ROM data either.
        graphicThreeAt("DataInTheLowerHalfOfBank80WithCopierHeader", 8, 0x807F00, true),
        // 65535 bytes of zero control bytes need 16384 stream bytes; 100 remain.
        graphicThreeAt("AStreamThatRunsOffTheEnd", LARGEST_SIZE, fileToLoRom(ONE_MIB - 100)),
        largestGraphicAtTheEnd("LargestSizeAtTheLastBytes", ONE_MIB, false),
        // 0x401FF bytes: a copier header and ROM data one byte short of
        // eight whole banks.
        largestGraphicAtTheEnd("CopierHeaderAndOneByteShortOfABank", 0x3FFFF, true),
    };
}

class BrokenImageRun : public testing::TestWithParam<BrokenImage> {};

TEST_P(BrokenImageRun, StopsWithAReadErrorAfterTheGraphicsBefore) {
    const BrokenImage& broken = GetParam();
    Workspace ws;
    ws.write(broken.fileName, broken.file);
    const RunResult result = ws.run({"-i", broken.fileName});
    EXPECT_EQ(result.console, lines(SUCCESS + "Erro de leitura de " + shownGraphicPath(broken.stopsAt) + "\n"));
    EXPECT_EQ(result.status, 1);

    ASSERT_EQ(broken.written.size(), static_cast<size_t>(broken.stopsAt));
    std::vector<std::string> names;
    std::string log;
    for (int graphic = 0; graphic < broken.stopsAt; ++graphic) {
        names.push_back(graphicName(graphic));
        log += broken.written[graphic].logLine;
        EXPECT_EQ(ws.read("arquivos/" + graphicName(graphic)), broken.written[graphic].bytes) << graphic;
    }
    EXPECT_EQ(ws.list("arquivos"), names);
    EXPECT_EQ(ws.readText("log.txt"), lines(log));
    EXPECT_EQ(ws.list(), (std::vector<std::string>{"arquivos", broken.fileName, "log.txt"}));
}

INSTANTIATE_TEST_SUITE_P(Table, BrokenImageRun, testing::ValuesIn(brokenImages()),
                         [](const testing::TestParamInfo<BrokenImage>& info) { return info.param.name; });

}  // namespace
