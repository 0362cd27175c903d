// The option layer: what each command line gives back, by a table, and the
// usage (synopsis, option table, notes) made from the declarations.
#include "cli/Mistake.h"
#include "cli/Options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

bool isNumber(const std::string& value) {
    return !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
}

// Positional words: none, any number of files, or a source and a target
// (a number) then any number of others.
enum class Words { None, Files, Named };

cli::Spec exampleSpec(Words words) {
    cli::Spec spec;
    cli::Option input{{"-i", "--input"}, "<rom>", "the image"};
    input.required = true;
    cli::Option count{{"--count"}, "N", "how many"};
    count.check = isNumber;
    cli::Option free{{"--free"}, "<a>:<b>", "a range\nrepeatable"};
    free.repeatable = true;
    spec.options = {input, count, free, cli::Option{{"--quiet"}, "", "say less"}, cli::helpOption("help"),
                    cli::versionOption("version")};
    if (words == Words::Files) spec.positionals = {{"<file>", false, true}};
    if (words == Words::Named) {
        spec.positionals = {{"<source>"}, {"<target>", true, false, isNumber}, {"<other>", false, true}};
    }
    return spec;
}

cli::Parse run(const cli::Spec& spec, std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    return cli::parse(spec, static_cast<int>(argv.size()), argv.data());
}

std::string shown(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += "[" + word + "]";
    return text;
}

struct Case {
    std::vector<std::string> words;
    Words positionals;
    cli::Parse::Outcome outcome;
    std::string entry;
    std::string value;
};

TEST(OptionLayer, EachCommandLineGivesItsOutcomeAndTheEntryConcerned) {
    using P = cli::Parse;
    const Words N = Words::None, F = Words::Files, W = Words::Named;
    const Case table[] = {
        {{"-i", "a"}, N, P::Parsed, "", ""},
        {{"--input", "a", "--quiet", "--free", "1:2", "--free", "3:4"}, N, P::Parsed, "", ""},
        {{}, N, P::MissingOption, "-i", ""},
        {{"--quiet"}, N, P::MissingOption, "-i", ""},
        {{"-i"}, N, P::MissingValue, "-i", ""},
        {{"-i", "a", "--count"}, N, P::MissingValue, "--count", ""},
        {{"-i", "a", "-i", "b"}, N, P::RepeatedOption, "-i", ""},
        {{"-i", "a", "--input", "b"}, N, P::RepeatedOption, "--input", ""},
        {{"-i", "a", "--quiet", "--quiet"}, N, P::RepeatedOption, "--quiet", ""},
        {{"-i", "a", "--count", "x1"}, N, P::MalformedValue, "--count", "x1"},
        {{"-i", "a", "--cont", "1"}, N, P::UnknownOption, "--cont", ""},
        {{"-i", "a", "file"}, N, P::UnexpectedArgument, "file", ""},
        {{"-i", "a", "--", "file"}, N, P::UnknownOption, "--", ""},
        {{"-i", "a", "-"}, N, P::UnexpectedArgument, "-", ""},
        {{"-h"}, N, P::HelpAsked, "-h", ""},
        {{"--bogus", "--help"}, N, P::UnknownOption, "--bogus", ""},
        {{"-i", "a", "--help"}, N, P::HelpAsked, "--help", ""},
        {{"--version"}, N, P::VersionAsked, "--version", ""},
        {{"-i", "-h"}, N, P::Parsed, "", ""},  // a value is any word
        {{"x", "-i", "a", "--", "-y", "--quiet"}, F, P::Parsed, "", ""},
        {{"-i", "a"}, F, P::Parsed, "", ""},
        // Named positional words: each missing one by its name, extras,
        // malformed ones; the options are checked first.
        {{"-i", "a", "src", "12"}, W, P::Parsed, "", ""},
        {{"src", "12", "x", "y", "-i", "a"}, W, P::Parsed, "", ""},
        {{"-i", "a"}, W, P::MissingArgument, "<source>", ""},
        {{"-i", "a", "src"}, W, P::MissingArgument, "<target>", ""},
        {{"-i", "a", "src", "twelve"}, W, P::MalformedValue, "<target>", "twelve"},
        {{"src"}, W, P::MissingOption, "-i", ""},
        {{"src", "--cont"}, W, P::UnknownOption, "--cont", ""},
        {{"-i", "a", "--", "-src", "-12"}, W, P::MalformedValue, "<target>", "-12"},
    };
    for (const Case& c : table) {
        const cli::Spec spec = exampleSpec(c.positionals);
        const cli::Parse parse = run(spec, c.words);
        EXPECT_EQ(parse.outcome, c.outcome) << shown(c.words);
        EXPECT_EQ(parse.entry, c.entry) << shown(c.words);
        EXPECT_EQ(parse.value, c.value) << shown(c.words);
    }
}

TEST(OptionLayer, WordsPastTheLastPositionalAreUnexpected) {
    cli::Spec spec;
    spec.positionals = {{"<patch>"}, {"<original>"}};
    const struct {
        std::vector<std::string> words;
        cli::Parse::Outcome outcome;
        std::string entry;
    } table[] = {
        {{"p", "o"}, cli::Parse::Parsed, ""},
        {{"p", "o", "x", "y"}, cli::Parse::UnexpectedArgument, "x"},
        {{"p"}, cli::Parse::MissingArgument, "<original>"},
        {{}, cli::Parse::MissingArgument, "<patch>"},
        {{"", "o"}, cli::Parse::Parsed, ""},  // no check: an empty word is a word
    };
    for (const auto& c : table) {
        const cli::Parse parse = run(spec, c.words);
        EXPECT_EQ(parse.outcome, c.outcome) << shown(c.words);
        EXPECT_EQ(parse.entry, c.entry) << shown(c.words);
    }
}

TEST(OptionLayer, ValuesComeBackByAnyNameInTheirOrder) {
    const cli::Spec spec = exampleSpec(Words::Files);
    const cli::Parse parse = run(spec, {"one", "--free", "1:2", "--input", "game.sfc", "-", "--count", "7", "--free",
                                        "3:4", "--", "--quiet", "-i"});
    ASSERT_EQ(parse.outcome, cli::Parse::Parsed);
    EXPECT_EQ(parse.last("-i"), "game.sfc");
    EXPECT_EQ(parse.last("--input"), "game.sfc");
    EXPECT_EQ(parse.all("--free"), (std::vector<std::string>{"1:2", "3:4"}));
    EXPECT_FALSE(parse.has("--quiet"));
    EXPECT_EQ(parse.last("--count"), "7");
    EXPECT_FALSE(parse.has("--nothing"));
    EXPECT_EQ(parse.last("--nothing"), "");
    EXPECT_EQ(parse.positionals, (std::vector<std::string>{"one", "-", "--quiet", "-i"}));
    // Across options, in the order of the line, each by its first name.
    std::vector<std::string> order;
    for (const cli::Parse::Given& given : parse.inOrder({"--count", "--input", "--free"})) {
        order.push_back(given.option + "=" + given.value);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"--free=1:2", "-i=game.sfc", "--count=7", "--free=3:4"}));
}

// One of two options required; an option whose last value holds; a form
// that takes no positional words.
TEST(OptionLayer, GroupsLastValuesAndForms) {
    cli::Spec spec;
    cli::Option shortTable{{"--pointers"}, "T", ""}, longTable{{"--long-pointers"}, "T", ""};
    shortTable.repeatable = longTable.repeatable = true;
    cli::Option columns{{"--columns"}, "N", ""};
    columns.lastHolds = true;
    cli::Option gallery{{"--gallery"}, "", ""};
    gallery.form = true;
    spec.options = {shortTable, longTable, columns, gallery};
    spec.oneRequired = {{"--pointers", "--long-pointers"}};
    spec.positionals = {{"FILE", true, true}};
    using P = cli::Parse;
    const struct {
        std::vector<std::string> words;
        P::Outcome outcome;
        std::string entry;
    } table[] = {
        {{"a"}, P::MissingOption, "--pointers"},
        {{"--long-pointers", "1", "a"}, P::Parsed, ""},
        {{"--pointers", "1", "--pointers", "2", "a", "b"}, P::Parsed, ""},
        {{"--pointers", "1", "--columns", "2", "--columns", "3", "a"}, P::Parsed, ""},
        {{"--pointers", "1"}, P::MissingArgument, "FILE"},
        {{"--pointers", "1", "--gallery"}, P::Parsed, ""},
        {{"--pointers", "1", "--gallery", "a"}, P::UnexpectedArgument, "a"},
        {{"--pointers", "1", "--gallery", "--gallery"}, P::RepeatedOption, "--gallery"},
    };
    for (const auto& c : table) {
        const P parse = run(spec, c.words);
        EXPECT_EQ(parse.outcome, c.outcome) << shown(c.words);
        EXPECT_EQ(parse.entry, c.entry) << shown(c.words);
    }
    EXPECT_EQ(run(spec, {"--columns", "2", "--pointers", "1", "--columns", "3", "a"}).last("--columns"), "3");
}

TEST(OptionLayer, SubCommandsTakeTheFirstWord) {
    const cli::Spec dump = exampleSpec(Words::None), insert = exampleSpec(Words::Files);
    cli::Spec own;
    own.options = {cli::helpOption("help"), cli::versionOption("version")};
    const cli::Program program{"tool", "Tool", &own, {{"dump", &dump, ""}, {"insert", &insert, ""}}};
    auto parseWords = [&](std::vector<std::string> words) {
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        return cli::parseCommand(program, static_cast<int>(argv.size()), argv.data());
    };
    cli::CommandParse parsed = parseWords({"insert", "-i", "a", "b.txt"});
    EXPECT_EQ(parsed.command, 1);
    EXPECT_EQ(parsed.parse.outcome, cli::Parse::Parsed);
    EXPECT_EQ(parsed.parse.positionals, std::vector<std::string>{"b.txt"});
    parsed = parseWords({"dump", "-i", "a", "b.txt"});
    EXPECT_EQ(parsed.command, 0);
    EXPECT_EQ(parsed.parse.outcome, cli::Parse::UnexpectedArgument);
    parsed = parseWords({"dump", "--help"});
    EXPECT_EQ(parsed.command, 0);
    EXPECT_EQ(parsed.parse.outcome, cli::Parse::HelpAsked);
    const struct {
        std::vector<std::string> words;
        cli::Parse::Outcome outcome;
        std::string entry;
    } table[] = {
        {{}, cli::Parse::MissingCommand, ""},
        {{"list"}, cli::Parse::UnknownCommand, "list"},
        {{"list", "--help"}, cli::Parse::UnknownCommand, "list"},
        {{"--list"}, cli::Parse::UnknownOption, "--list"},
        {{"--help"}, cli::Parse::HelpAsked, "--help"},
        {{"-h", "dump"}, cli::Parse::HelpAsked, "-h"},
        {{"--version"}, cli::Parse::VersionAsked, "--version"},
        {{"--", "dump"}, cli::Parse::UnknownOption, "--"},
    };
    for (const auto& c : table) {
        parsed = parseWords(c.words);
        EXPECT_EQ(parsed.command, -1) << shown(c.words);
        EXPECT_EQ(parsed.parse.outcome, c.outcome) << shown(c.words);
        EXPECT_EQ(parsed.parse.entry, c.entry) << shown(c.words);
    }
    // A program without commands parses every word by its spec.
    const cli::Program single{"one", "One", &insert, {}};
    std::vector<std::string> words = {"dump", "-i", "a"};
    std::vector<char*> argv = {words[0].data(), words[1].data(), words[2].data()};
    parsed = cli::parseCommand(single, 3, argv.data());
    EXPECT_EQ(parsed.command, -1);
    EXPECT_EQ(parsed.parse.outcome, cli::Parse::Parsed);
    EXPECT_EQ(parsed.parse.positionals, std::vector<std::string>{"dump"});
}

TEST(OptionLayer, TheOptionTableLinesUpEveryHelpLine) {
    EXPECT_EQ(cli::optionTable(exampleSpec(Words::None)),
              "  -i, --input <rom>  the image\n"
              "  --count N          how many\n"
              "  --free <a>:<b>     a range\n"
              "                     repeatable\n"
              "  --quiet            say less\n"
              "  -h, --help         help\n"
              "  --version          version\n");
    cli::Spec own;
    own.options = {cli::helpOption("help")};
    EXPECT_EQ(cli::optionTable(own, {{"dump", &own, "writes the script"}, {"insert", &own, "reads it\nback"}}),
              "  dump        writes the script\n"
              "  insert      reads it\n"
              "              back\n"
              "  -h, --help  help\n");
}

TEST(OptionLayer, TheSynopsisShowsWhatIsRequiredRepeatableAndEachForm) {
    EXPECT_EQ(cli::synopsis("tool", exampleSpec(Words::None)), "tool -i <rom> [--count N] [--free <a>:<b>]... [--quiet]\n");
    EXPECT_EQ(cli::synopsis("tool run", exampleSpec(Words::Named)),
              "tool run -i <rom> [--count N] [--free <a>:<b>]... [--quiet] <source> <target> [<other>]...\n");
    cli::Spec forms;
    cli::Option gallery{{"--gallery", "-g"}, "", ""}, columns{{"--columns"}, "N", ""};
    gallery.form = true;
    columns.lastHolds = true;
    forms.options = {gallery, columns, cli::helpOption("")};
    forms.positionals = {{"FILE", true, true}};
    EXPECT_EQ(cli::synopsis("png", forms), "png [--columns N] FILE...\npng --gallery [--columns N]\n");
}

// Past 100 columns, a synopsis goes on under four spaces, each item whole.
TEST(OptionLayer, ALongSynopsisGoesOnUnderFourSpaces) {
    cli::Spec spec;
    for (const char* name : {"--alpha", "--bravo", "--charlie", "--delta", "--echo", "--foxtrot", "--golf"}) {
        spec.options.push_back({{name}, "<value>", ""});
    }
    const std::string synopsis = cli::synopsis("program", spec);
    EXPECT_EQ(synopsis,
              "program [--alpha <value>] [--bravo <value>] [--charlie <value>] [--delta <value>] [--echo <value>]\n"
              "    [--foxtrot <value>] [--golf <value>]\n");
    std::istringstream lines(synopsis);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 100u) << line;
}

TEST(OptionLayer, TheUsageOfAProgramOfCommandsShowsEachCommandThenOneTable) {
    cli::Spec own, create, apply;
    own.options = create.options = apply.options = {cli::helpOption("shows this"), cli::versionOption("version")};
    own.notes = create.notes = "The format follows the name.";
    create.positionals = {{"<a>"}, {"<b>"}};
    apply.positionals = {{"<patch>"}};
    const cli::Program program{"tool", "Tool", &own, {{"create", &create, "makes"}, {"apply", &apply, "applies"}}};
    const std::string table = cli::optionTable(own, program.commands);
    EXPECT_EQ(cli::usage(program, -1, "tool.exe"), "Uso:\n"
                                                   "tool.exe create <a> <b>\n"
                                                   "tool.exe apply <patch>\n" +
                                                       table + "The format follows the name.\n\n");
    EXPECT_EQ(cli::usage(program, 0, "tool"),
              "Uso:\ntool create <a> <b>\n" + cli::optionTable(create) + "The format follows the name.\n\n");
    EXPECT_EQ(cli::usage(program, 1, "tool"), "Uso:\ntool apply <patch>\n" + cli::optionTable(apply) + "\n");
    const cli::Program single{"one", "One", &apply, {}};
    EXPECT_EQ(cli::usage(single, -1, "one"), "Uso:\none <patch>\n" + cli::optionTable(apply) + "\n");
}

}  // namespace
