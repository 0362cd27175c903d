#include "cli/Options.h"

#include <algorithm>
#include <utility>

namespace cli {

namespace {

constexpr char END_OF_OPTIONS[] = "--";
constexpr char INDENT[] = "  ";
constexpr char GAP[] = "  ";

int optionNamed(const Spec& spec, const std::string& name) {
    for (size_t i = 0; i < spec.options.size(); ++i) {
        const std::vector<std::string>& names = spec.options[i].names;
        if (std::find(names.begin(), names.end(), name) != names.end()) return static_cast<int>(i);
    }
    return -1;
}

bool isPositional(const std::string& word) { return word.empty() || word[0] != '-' || word == "-"; }

Parse stop(Parse parse, Parse::Outcome outcome, std::string entry, std::string value = "") {
    parse.outcome = outcome;
    parse.entry = std::move(entry);
    parse.value = std::move(value);
    return parse;
}

std::string leftColumn(const Option& option) {
    std::string text;
    for (const std::string& name : option.names) text += (text.empty() ? "" : ", ") + name;
    return option.value.empty() ? text : text + " " + option.value;
}

}  // namespace

Option helpOption(std::string help) {
    Option option;
    option.names = {"-h", "--help"};
    option.help = std::move(help);
    option.role = Option::Help;
    return option;
}

Option versionOption(std::string help) {
    Option option;
    option.names = {"--version"};
    option.help = std::move(help);
    option.role = Option::Version;
    return option;
}

int Parse::indexOf(const std::string& name) const { return spec ? optionNamed(*spec, name) : -1; }

bool Parse::has(const std::string& name) const {
    const int index = indexOf(name);
    return index >= 0 && !values[index].empty();
}

std::string Parse::last(const std::string& name) const {
    const int index = indexOf(name);
    return index >= 0 && !values[index].empty() ? values[index].back() : std::string();
}

std::vector<std::string> Parse::all(const std::string& name) const {
    const int index = indexOf(name);
    return index >= 0 ? values[index] : std::vector<std::string>();
}

Parse parse(const Spec& spec, int argc, char* const* argv) {
    Parse result;
    result.spec = &spec;
    result.values.assign(spec.options.size(), {});
    bool onlyPositionals = false;
    for (int i = 0; i < argc; ++i) {
        const std::string word = argv[i];
        if (onlyPositionals || isPositional(word)) {
            if (!spec.positionals) return stop(std::move(result), Parse::UnexpectedArgument, word);
            result.positionals.push_back(word);
            continue;
        }
        if (word == END_OF_OPTIONS && spec.positionals) {
            onlyPositionals = true;
            continue;
        }
        const int index = optionNamed(spec, word);
        if (index < 0) return stop(std::move(result), Parse::UnknownOption, word);
        const Option& option = spec.options[index];
        if (option.role == Option::Help) return stop(std::move(result), Parse::HelpAsked, word);
        if (option.role == Option::Version) return stop(std::move(result), Parse::VersionAsked, word);
        if (!option.repeatable && !result.values[index].empty()) {
            return stop(std::move(result), Parse::RepeatedOption, word);
        }
        // A flag keeps an empty value for each time it came.
        std::string value;
        if (!option.value.empty()) {
            if (i + 1 >= argc) return stop(std::move(result), Parse::MissingValue, word);
            value = argv[++i];
            if (option.check && !option.check(value)) return stop(std::move(result), Parse::MalformedValue, word, value);
        }
        result.values[index].push_back(std::move(value));
    }
    for (size_t i = 0; i < spec.options.size(); ++i) {
        if (spec.options[i].required && result.values[i].empty()) {
            return stop(std::move(result), Parse::MissingOption, spec.options[i].names.front());
        }
    }
    return result;
}

CommandParse parseCommand(const std::vector<Command>& commands, int argc, char* const* argv) {
    CommandParse result;
    if (argc < 1) {
        result.parse.outcome = Parse::MissingCommand;
        return result;
    }
    const std::string word = argv[0];
    for (size_t i = 0; i < commands.size(); ++i) {
        if (commands[i].name != word) continue;
        result.command = static_cast<int>(i);
        result.parse = parse(*commands[i].spec, argc - 1, argv + 1);
        return result;
    }
    const Option help = helpOption(""), version = versionOption("");
    const auto names = [&](const Option& option) {
        return std::find(option.names.begin(), option.names.end(), word) != option.names.end();
    };
    result.parse.outcome = names(help) ? Parse::HelpAsked : names(version) ? Parse::VersionAsked
                           : isPositional(word)        ? Parse::UnknownCommand
                                                       : Parse::UnknownOption;
    result.parse.entry = word;
    return result;
}

std::string optionTable(const Spec& spec) {
    size_t width = 0;
    for (const Option& option : spec.options) width = std::max(width, leftColumn(option).size());
    const std::string under(sizeof INDENT - 1 + width + sizeof GAP - 1, ' ');
    std::string table;
    for (const Option& option : spec.options) {
        const std::string left = leftColumn(option);
        table += INDENT + left + std::string(width - left.size(), ' ') + GAP;
        for (const char c : option.help) table += c == '\n' ? "\n" + under : std::string(1, c);
        table += '\n';
    }
    return table;
}

bool nonEmpty(const std::string& value) { return !value.empty(); }

}  // namespace cli
