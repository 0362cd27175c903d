// The command line of brelquim-insert: what it takes and what it refuses.
#include "insert/Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool parse(std::vector<std::string> args, InsertOptions& options) {
    args.insert(args.begin(), "brelquim-insert");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    return parseInsertOptions(static_cast<int>(argv.size()), argv.data(), options);
}

TEST(InsertOptions, TakesEveryOptionInAnyOrder) {
    InsertOptions options;
    ASSERT_TRUE(parse({"--free", "0x80000:0X9aBc0", "-o", "new.sfc", "--allow-resize", "--dir", "edits", "-i",
                       "game.sfc", "--free", "100:200"},
                      options));
    EXPECT_EQ(options.input, "game.sfc");
    EXPECT_EQ(options.output, "new.sfc");
    EXPECT_EQ(options.folder, "edits");
    EXPECT_TRUE(options.allowResize);
    ASSERT_EQ(options.freeRanges.size(), 2u);
    EXPECT_EQ(options.freeRanges[0].start, 0x80000u);
    EXPECT_EQ(options.freeRanges[0].end, 0x9ABC0u);
    EXPECT_EQ(options.freeRanges[1].start, 0x100u);
    EXPECT_EQ(options.freeRanges[1].end, 0x200u);
}

TEST(InsertOptions, TheFolderDefaultsToTheExtractionsAndNothingIsFree) {
    InsertOptions options;
    ASSERT_TRUE(parse({"-i", "a", "-o", "b"}, options));
    EXPECT_EQ(options.folder, "arquivos");
    EXPECT_FALSE(options.allowResize);
    EXPECT_TRUE(options.freeRanges.empty());
}

TEST(InsertOptions, RefusesWhatIsMissingUnknownTwiceOrMalformed) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"-i", "a"},
        {"-o", "b"},
        {"-i", "a", "-o"},
        {"-i", "a", "-o", "b", "-x"},
        {"-i", "a", "-o", "b", "extra"},
        {"-i", "a", "-i", "c", "-o", "b"},
        {"-i", "a", "-o", "b", "-o", "c"},
        {"-i", "a", "-o", "b", "--dir", "x", "--dir", "y"},
        {"-i", "a", "-o", "b", "--allow-resize", "--allow-resize"},
        {"-i", "", "-o", "b"},
        {"-i", "a", "-o", "b", "--free"},
        {"-i", "a", "-o", "b", "--free", "100"},
        {"-i", "a", "-o", "b", "--free", "100:"},
        {"-i", "a", "-o", "b", "--free", ":100"},
        {"-i", "a", "-o", "b", "--free", "0x:100"},
        {"-i", "a", "-o", "b", "--free", "200:100"},
        {"-i", "a", "-o", "b", "--free", "100:100"},
        {"-i", "a", "-o", "b", "--free", "10g:100"},
        {"-i", "a", "-o", "b", "--free", "1:2:3"},
        {"-i", "a", "-o", "b", "--free", "100000000:200000000"},
        {"-i", "a", "-o", "b", "--free", " 1:2"},
        {"-i", "a", "-o", "b", "--Free", "1:2"},
    };
    for (const auto& args : wrong) {
        InsertOptions options;
        std::string shown;
        for (const std::string& arg : args) shown += "[" + arg + "]";
        EXPECT_FALSE(parse(args, options)) << shown;
    }
}

}  // namespace
