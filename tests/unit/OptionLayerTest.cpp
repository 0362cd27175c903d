// The option layer: what each command line gives back, by a table, and the
// option table of the usage made from the declarations.
#include "cli/Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool isNumber(const std::string& value) {
    return !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
}

cli::Spec exampleSpec(bool positionals) {
    cli::Spec spec;
    spec.positionals = positionals;
    cli::Option input{{"-i", "--input"}, "<rom>", "the image"};
    input.required = true;
    cli::Option count{{"--count"}, "N", "how many"};
    count.check = isNumber;
    cli::Option free{{"--free"}, "<a>:<b>", "a range\nrepeatable"};
    free.repeatable = true;
    spec.options = {input, count, free, cli::Option{{"--quiet"}, "", "say less"}, cli::helpOption("help"),
                    cli::versionOption("version")};
    return spec;
}

cli::Parse run(const cli::Spec& spec, std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    return cli::parse(spec, static_cast<int>(argv.size()), argv.data());
}

struct Case {
    std::vector<std::string> words;
    bool positionals;
    cli::Parse::Outcome outcome;
    std::string entry;
    std::string value;
};

TEST(OptionLayer, EachCommandLineGivesItsOutcomeAndTheEntryConcerned) {
    using P = cli::Parse;
    const Case table[] = {
        {{"-i", "a"}, false, P::Parsed, "", ""},
        {{"--input", "a", "--quiet", "--free", "1:2", "--free", "3:4"}, false, P::Parsed, "", ""},
        {{}, false, P::MissingOption, "-i", ""},
        {{"--quiet"}, false, P::MissingOption, "-i", ""},
        {{"-i"}, false, P::MissingValue, "-i", ""},
        {{"-i", "a", "--count"}, false, P::MissingValue, "--count", ""},
        {{"-i", "a", "-i", "b"}, false, P::RepeatedOption, "-i", ""},
        {{"-i", "a", "--input", "b"}, false, P::RepeatedOption, "--input", ""},
        {{"-i", "a", "--quiet", "--quiet"}, false, P::RepeatedOption, "--quiet", ""},
        {{"-i", "a", "--count", "x1"}, false, P::MalformedValue, "--count", "x1"},
        {{"-i", "a", "--cont", "1"}, false, P::UnknownOption, "--cont", ""},
        {{"-i", "a", "file"}, false, P::UnexpectedArgument, "file", ""},
        {{"-i", "a", "--", "file"}, false, P::UnknownOption, "--", ""},
        {{"-i", "a", "-"}, false, P::UnexpectedArgument, "-", ""},
        {{"-h"}, false, P::HelpAsked, "-h", ""},
        {{"--bogus", "--help"}, false, P::UnknownOption, "--bogus", ""},
        {{"-i", "a", "--help"}, false, P::HelpAsked, "--help", ""},
        {{"--version"}, false, P::VersionAsked, "--version", ""},
        {{"-i", "-h"}, false, P::Parsed, "", ""},  // a value is any word
        {{"x", "-i", "a", "--", "-y", "--quiet"}, true, P::Parsed, "", ""},
    };
    for (const Case& c : table) {
        const cli::Spec spec = exampleSpec(c.positionals);
        const cli::Parse parse = run(spec, c.words);
        std::string shown;
        for (const std::string& word : c.words) shown += "[" + word + "]";
        EXPECT_EQ(parse.outcome, c.outcome) << shown;
        EXPECT_EQ(parse.entry, c.entry) << shown;
        EXPECT_EQ(parse.value, c.value) << shown;
    }
}

TEST(OptionLayer, ValuesComeBackByAnyNameInTheirOrder) {
    const cli::Spec spec = exampleSpec(true);
    const cli::Parse parse =
        run(spec, {"one", "--free", "1:2", "--input", "game.sfc", "-", "--free", "3:4", "--", "--quiet", "-i"});
    ASSERT_EQ(parse.outcome, cli::Parse::Parsed);
    EXPECT_EQ(parse.last("-i"), "game.sfc");
    EXPECT_EQ(parse.last("--input"), "game.sfc");
    EXPECT_EQ(parse.all("--free"), (std::vector<std::string>{"1:2", "3:4"}));
    EXPECT_FALSE(parse.has("--quiet"));
    EXPECT_FALSE(parse.has("--count"));
    EXPECT_EQ(parse.last("--count"), "");
    EXPECT_FALSE(parse.has("--nothing"));
    EXPECT_EQ(parse.positionals, (std::vector<std::string>{"one", "-", "--quiet", "-i"}));
}

TEST(OptionLayer, SubCommandsTakeTheFirstWord) {
    const cli::Spec dump = exampleSpec(false), insert = exampleSpec(true);
    const std::vector<cli::Command> commands = {{"dump", &dump}, {"insert", &insert}};
    auto parseWords = [&](std::vector<std::string> words) {
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        return cli::parseCommand(commands, static_cast<int>(argv.size()), argv.data());
    };
    cli::CommandParse parsed = parseWords({"insert", "-i", "a", "b.txt"});
    EXPECT_EQ(parsed.command, 1);
    EXPECT_EQ(parsed.parse.outcome, cli::Parse::Parsed);
    EXPECT_EQ(parsed.parse.positionals, std::vector<std::string>{"b.txt"});
    parsed = parseWords({"dump", "-i", "a", "b.txt"});
    EXPECT_EQ(parsed.command, 0);
    EXPECT_EQ(parsed.parse.outcome, cli::Parse::UnexpectedArgument);
    EXPECT_EQ(parseWords({}).parse.outcome, cli::Parse::MissingCommand);
    EXPECT_EQ(parseWords({"list"}).parse.outcome, cli::Parse::UnknownCommand);
    EXPECT_EQ(parseWords({"--list"}).parse.outcome, cli::Parse::UnknownOption);
    EXPECT_EQ(parseWords({"--help"}).parse.outcome, cli::Parse::HelpAsked);
    EXPECT_EQ(parseWords({"--version"}).command, -1);
}

TEST(OptionLayer, TheOptionTableLinesUpEveryHelpLine) {
    EXPECT_EQ(cli::optionTable(exampleSpec(false)),
              "  -i, --input <rom>  the image\n"
              "  --count N          how many\n"
              "  --free <a>:<b>     a range\n"
              "                     repeatable\n"
              "  --quiet            say less\n"
              "  -h, --help         help\n"
              "  --version          version\n");
}

}  // namespace
