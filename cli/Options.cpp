#include "cli/Options.h"

#include <algorithm>
#include <utility>

namespace cli {

namespace {

constexpr char END_OF_OPTIONS[] = "--";
constexpr char INDENT[] = "  ";
constexpr char GAP[] = "  ";
constexpr char CONTINUATION[] = "    ";
constexpr size_t SYNOPSIS_WIDTH = 100;

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

// Hands the positional words to the declarations in their order, once
// every option is known to be right.
Parse placePositionals(Parse parse, const Spec& spec, bool projectAround) {
    const std::vector<std::string>& words = parse.positionals;
    for (const Option& option : spec.options) {
        if (!option.form || !parse.has(option.names.front())) continue;
        if (words.empty()) return parse;
        const std::string extra = words.front();
        return stop(std::move(parse), Parse::UnexpectedArgument, extra);
    }
    size_t next = 0;
    for (const Positional& positional : spec.positionals) {
        const size_t left = words.size() - next;
        const size_t takes = positional.repeatable ? left : std::min<size_t>(left, 1);
        if (takes == 0 && positional.required && !(projectAround && positional.projectGives)) return stop(std::move(parse), Parse::MissingArgument, positional.name);
        for (size_t i = next; i < next + takes; ++i) {
            if (positional.check && !positional.check(words[i])) {
                const std::string word = words[i];
                return stop(std::move(parse), Parse::MalformedValue, positional.name, word);
            }
        }
        next += takes;
    }
    if (next < words.size()) {
        const std::string extra = words[next];
        return stop(std::move(parse), Parse::UnexpectedArgument, extra);
    }
    return parse;
}

// An option as the synopsis shows it: its first name and its value.
std::string shown(const Option& option) {
    return option.value.empty() ? option.names.front() : option.names.front() + " " + option.value;
}

std::string leftColumn(const Option& option) {
    std::string text;
    for (const std::string& name : option.names) text += (text.empty() ? "" : ", ") + name;
    return option.value.empty() ? text : text + " " + option.value;
}

// One synopsis: start, then the items, on as many lines as they need.
std::string wrapped(const std::string& start, const std::vector<std::string>& items) {
    std::string text, line = start;
    for (const std::string& item : items) {
        if (line.size() + 1 + item.size() > SYNOPSIS_WIDTH) {
            text += line + "\n";
            line = CONTINUATION + item;
        } else {
            line += " " + item;
        }
    }
    return text + line + "\n";
}

// The synopsis of the spec alone (form: nullptr) or of one of its forms.
std::string synopsisLine(const std::string& start, const Spec& spec, const Option* form) {
    std::vector<std::string> items;
    if (form) items.push_back(shown(*form));
    for (const Option& option : spec.options) {
        if (option.role != Option::Plain || option.form) continue;
        const std::string item = option.required ? shown(option) : "[" + shown(option) + "]";
        items.push_back(option.repeatable ? item + "..." : item);
    }
    for (const Positional& positional : form ? std::vector<Positional>() : spec.positionals) {
        const std::string item = positional.required ? positional.name : "[" + positional.name + "]";
        items.push_back(positional.repeatable ? item + "..." : item);
    }
    return wrapped(start, items);
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

bool Parse::has(const std::string& name) const { return !inOrder({name}).empty(); }

std::string Parse::last(const std::string& name) const {
    const std::vector<Given> values = inOrder({name});
    return values.empty() ? std::string() : values.back().value;
}

std::vector<std::string> Parse::all(const std::string& name) const {
    std::vector<std::string> values;
    for (const Given& option : inOrder({name})) values.push_back(option.value);
    return values;
}

std::vector<Parse::Given> Parse::inOrder(const std::vector<std::string>& names) const {
    std::vector<std::string> firstNames;
    for (const std::string& name : names) {
        const int index = spec ? optionNamed(*spec, name) : -1;
        if (index >= 0) firstNames.push_back(spec->options[index].names.front());
    }
    std::vector<Given> found;
    for (const Given& option : given) {
        if (std::find(firstNames.begin(), firstNames.end(), option.option) != firstNames.end()) found.push_back(option);
    }
    return found;
}

Parse parse(const Spec& spec, int argc, char* const* argv, bool projectAround) {
    Parse result;
    result.spec = &spec;
    const bool takesPositionals = !spec.positionals.empty();
    bool onlyPositionals = false;
    for (int i = 0; i < argc; ++i) {
        const std::string word = argv[i];
        if (onlyPositionals || isPositional(word)) {
            if (!takesPositionals) return stop(std::move(result), Parse::UnexpectedArgument, word);
            result.positionals.push_back(word);
            continue;
        }
        if (word == END_OF_OPTIONS && takesPositionals) {
            onlyPositionals = true;
            continue;
        }
        const int index = optionNamed(spec, word);
        if (index < 0) return stop(std::move(result), Parse::UnknownOption, word);
        const Option& option = spec.options[index];
        if (option.role == Option::Help) return stop(std::move(result), Parse::HelpAsked, word);
        if (option.role == Option::Version) return stop(std::move(result), Parse::VersionAsked, word);
        if (!option.repeatable && !option.lastHolds && result.has(word)) return stop(std::move(result), Parse::RepeatedOption, word);
        // A flag keeps an empty value for each time it came.
        std::string value;
        if (!option.value.empty()) {
            if (i + 1 >= argc) return stop(std::move(result), Parse::MissingValue, word);
            value = argv[++i];
            if (option.check && !option.check(value)) return stop(std::move(result), Parse::MalformedValue, word, value);
        }
        result.given.push_back({option.names.front(), std::move(value)});
    }
    for (const Option& option : spec.options) {
        if (option.required && !(projectAround && option.projectGives) && !result.has(option.names.front())) {
            return stop(std::move(result), Parse::MissingOption, option.names.front());
        }
    }
    for (const std::vector<std::string>& group : spec.oneRequired) {
        const int first = group.empty() ? -1 : optionNamed(spec, group.front());
        if (projectAround && first >= 0 && spec.options[first].projectGives) continue;
        if (!group.empty() && result.inOrder(group).empty()) {
            return stop(std::move(result), Parse::MissingOption, group.front());
        }
    }
    return placePositionals(std::move(result), spec, projectAround);
}

CommandParse parseCommand(const Program& program, int argc, char* const* argv, bool projectAround) {
    CommandParse result;
    if (program.commands.empty()) {
        result.parse = parse(*program.spec, argc, argv, projectAround);
        return result;
    }
    if (argc < 1) {
        result.parse.outcome = Parse::MissingCommand;
        return result;
    }
    const std::string word = argv[0];
    for (size_t i = 0; i < program.commands.size(); ++i) {
        if (program.commands[i].name != word) continue;
        result.command = static_cast<int>(i);
        result.parse = parse(*program.commands[i].spec, argc - 1, argv + 1, projectAround);
        return result;
    }
    if (isPositional(word)) {
        result.parse.outcome = Parse::UnknownCommand;
        result.parse.entry = word;
        return result;
    }
    // An option in the first place is the program's own.
    result.parse = parse(*program.spec, argc, argv);
    if (result.parse.outcome == Parse::Parsed) result.parse.outcome = Parse::MissingCommand;
    return result;
}

std::string synopsis(const std::string& start, const Spec& spec) {
    std::string text = synopsisLine(start, spec, nullptr);
    for (const Option& option : spec.options) {
        if (option.form) text += synopsisLine(start, spec, &option);
    }
    return text;
}

std::string optionTable(const Spec& spec, const std::vector<Command>& commands) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const Command& command : commands) rows.emplace_back(command.name, command.help);
    for (const Option& option : spec.options) rows.emplace_back(leftColumn(option), option.help);
    size_t width = 0;
    for (const auto& row : rows) width = std::max(width, row.first.size());
    const std::string under(sizeof INDENT - 1 + width + sizeof GAP - 1, ' ');
    std::string table;
    for (const auto& [left, help] : rows) {
        table += INDENT + left + std::string(width - left.size(), ' ') + GAP;
        for (const char c : help) table += c == '\n' ? "\n" + under : std::string(1, c);
        table += '\n';
    }
    return table;
}

bool nonEmpty(const std::string& value) { return !value.empty(); }

}  // namespace cli
