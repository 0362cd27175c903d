// The command line of brelquim-insert: what it takes and what it refuses.
#include "programs/brelquim-insert/Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace insert_program;

namespace {

bool parse(std::vector<std::string> args, InsertOptions& options) {
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    const cli::Parse parse = cli::parse(insertOptionSpec(), static_cast<int>(argv.size()), argv.data());
    if (parse.outcome != cli::Parse::Parsed) return false;
    options = insertOptionsOf(parse);
    return true;
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

TEST(InsertOptions, RefusesWhatIsMissingUnknownTwiceOrMalformed) {
    const std::vector<std::vector<std::string>> incomplete = {
        {}, {"-i", "a"}, {"-i", "a", "-o"}, {"-i", "a", "-i", "c", "-o", "b"}, {"-i", "", "-o", "b"}};
    // Each after a command line that is otherwise right: -i a -o b.
    const std::vector<std::vector<std::string>> after = {
        {"-x"}, {"extra"}, {"-o", "c"}, {"--dir", "x", "--dir", "y"}, {"--allow-resize", "--allow-resize"},
        {"--free"}, {"--free", "100"}, {"--free", "100:"}, {"--free", ":100"}, {"--free", "0x:100"},
        {"--free", "200:100"}, {"--free", "100:100"}, {"--free", "10g:100"}, {"--free", "1:2:3"},
        {"--free", "100000000:200000000"}, {"--free", " 1:2"}, {"--Free", "1:2"}};
    InsertOptions options;
    ASSERT_TRUE(parse({"-i", "a", "-o", "b"}, options));
    EXPECT_EQ(options.folder, "arquivos");
    EXPECT_FALSE(options.allowResize);
    EXPECT_TRUE(options.freeRanges.empty());
    std::vector<std::vector<std::string>> wrong = incomplete;
    for (std::vector<std::string> args : after) {
        args.insert(args.begin(), {"-i", "a", "-o", "b"});
        wrong.push_back(args);
    }
    for (const auto& args : wrong) {
        InsertOptions fresh;
        std::string shown;
        for (const std::string& arg : args) shown += "[" + arg + "]";
        EXPECT_FALSE(parse(args, fresh)) << shown;
    }
}

}  // namespace
