#include "project/Project.h"

#include "graphics/GameLayout.h"
#include "rom/Position.h"

#define TOML_EXCEPTIONS 0
#define TOML_ENABLE_FORMATTERS 0
#include <toml++/toml.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>

namespace {

constexpr uint32_t HIGHEST_BPP = 8;
constexpr uint32_t MOST_COLUMNS = 256;
constexpr uint32_t HIGHEST_PALETTE_ROW = 65535;
constexpr uint32_t LARGEST_BOX = MOST_BOX_PIXELS;
constexpr size_t DIGEST_DIGITS = 64;

using Problem = ProjectProblem;

uint32_t lineOf(const toml::source_region& region) { return static_cast<uint32_t>(region.begin.line); }

// Walks the file's tables, checking every key against what it may be; the
// first problem stops the walk.
class Reader {
public:
    explicit Reader(Project& project) : project(project) {}
    Problem problem;

    bool fail(Problem::Kind kind, uint32_t line, const std::string& key, Problem::Type expected = Problem::Text,
              const std::string& value = {}) {
        problem.kind = kind;
        problem.line = line;
        problem.key = key;
        problem.expected = expected;
        problem.value = value;
        return false;
    }

    // Each key of table, by the handler of its name; a name without one is
    // refused.
    using Handler = std::function<bool(const toml::node&, const std::string& key)>;
    bool walk(const toml::table& table, const std::string& prefix, const std::map<std::string, Handler>& handlers) {
        for (auto&& [name, node] : table) {
            const std::string key = prefix + std::string(name.str());
            const auto handler = handlers.find(std::string(name.str()));
            if (handler == handlers.end()) return fail(Problem::UnknownKey, lineOf(name.source()), key);
            if (!handler->second(node, key)) return false;
        }
        return true;
    }

    bool text(const toml::node& node, const std::string& key, std::string& out) {
        const auto* value = node.as_string();
        if (!value) return fail(Problem::WrongType, lineOf(node.source()), key, Problem::Text);
        out = value->get();
        if (out.empty()) return fail(Problem::BadValue, lineOf(node.source()), key);
        return true;
    }
    bool flag(const toml::node& node, const std::string& key, bool& out) {
        const auto* value = node.as_boolean();
        if (!value) return fail(Problem::WrongType, lineOf(node.source()), key, Problem::Boolean);
        out = value->get();
        return true;
    }
    bool number(const toml::node& node, const std::string& key, int64_t low, int64_t high, uint32_t& out) {
        const auto* value = node.as_integer();
        if (!value) return fail(Problem::WrongType, lineOf(node.source()), key, Problem::Integer);
        if (value->get() < low || value->get() > high) return fail(Problem::BadValue, lineOf(node.source()), key);
        out = static_cast<uint32_t>(value->get());
        return true;
    }
    // A list of texts, each checked by check (which may fail itself).
    bool texts(const toml::node& node, const std::string& key,
               const std::function<bool(const std::string&, uint32_t line)>& check) {
        const auto* list = node.as_array();
        if (!list) return fail(Problem::WrongType, lineOf(node.source()), key, Problem::List);
        for (const toml::node& item : *list) {
            const auto* value = item.as_string();
            if (!value) return fail(Problem::WrongType, lineOf(item.source()), key, Problem::Text);
            if (!check(value->get(), lineOf(item.source()))) return false;
        }
        return true;
    }
    const toml::table* section(const toml::node& node, const std::string& key) {
        const auto* table = node.as_table();
        if (!table) fail(Problem::WrongType, lineOf(node.source()), key, Problem::Table);
        return table;
    }

    bool image(const toml::node& node, const std::string& key) {
        const toml::table* table = section(node, key);
        if (!table) return false;
        bool hasOriginal = false, hasDigest = false;
        if (!walk(*table, "image.",
                  {{"original", [&](const toml::node& n, const std::string& k) {
                        hasOriginal = true;
                        return text(n, k, project.original);
                    }},
                   {"sha256", [&](const toml::node& n, const std::string& k) {
                        hasDigest = true;
                        return text(n, k, project.sha256) && digest(n, k);
                    }},
                   {"output", [&](const toml::node& n, const std::string& k) { return text(n, k, project.output); }},
                   {"patches", [&](const toml::node& n, const std::string& k) { return patches(n, k); }},
                   {"free", [&](const toml::node& n, const std::string& k) { return freeRanges(n, k); }}})) {
            return false;
        }
        if (!hasOriginal) return fail(Problem::MissingKey, 0, "image.original");
        if (!hasDigest) return fail(Problem::MissingKey, 0, "image.sha256");
        return true;
    }
    bool digest(const toml::node& node, const std::string& key) {
        std::string& digits = project.sha256;
        bool hex = digits.size() == DIGEST_DIGITS;
        for (char& c : digits) {
            if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
            hex = hex && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));
        }
        return hex || fail(Problem::BadValue, lineOf(node.source()), key);
    }
    bool patches(const toml::node& node, const std::string& key) {
        project.patches.clear();
        return texts(node, key, [&](const std::string& name, uint32_t line) {
            const size_t dot = name.rfind('.');
            std::string ending = dot == std::string::npos ? "" : name.substr(dot);
            for (char& c : ending) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            if (ending != ".bps" && ending != ".ips") return fail(Problem::BadValue, line, key, Problem::Text, name);
            project.patches.push_back(name);
            return true;
        });
    }
    bool freeRanges(const toml::node& node, const std::string& key) {
        return texts(node, key, [&](const std::string& range, uint32_t line) {
            Position start, end;
            if (parseRange(range, start, end) != PositionParse::Parsed) {
                return fail(Problem::BadPosition, line, key, Problem::Text, range);
            }
            project.freeRanges.push_back({start.offset, end.offset});
            project.freeTexts.push_back(range);
            return true;
        });
    }

    bool format(const toml::node& node, const std::string& key, GraphicFormat& format) {
        const toml::table* table = section(node, key);
        if (!table) return false;
        bool mode7 = false, bppGiven = false;
        uint32_t number = 0;
        if (!walk(*table, key + ".",
                  {{"bpp", [&](const toml::node& n, const std::string& k) {
                        bppGiven = true;
                        if (!this->number(n, k, 1, HIGHEST_BPP, number)) return false;
                        static const std::map<uint32_t, TileFormat> formats{{1, TileFormat::Bpp1},
                                                                            {2, TileFormat::Bpp2},
                                                                            {3, TileFormat::Bpp3},
                                                                            {4, TileFormat::Bpp4},
                                                                            {8, TileFormat::Bpp8}};
                        const auto found = formats.find(number);
                        if (found == formats.end()) return fail(Problem::BadValue, lineOf(n.source()), k);
                        if (!format.format) format.format = found->second;
                        return true;
                    }},
                   {"mode7", [&](const toml::node& n, const std::string& k) { return flag(n, k, mode7); }},
                   {"columns", [&](const toml::node& n, const std::string& k) {
                        if (!this->number(n, k, 1, MOST_COLUMNS, number)) return false;
                        format.columns = number;
                        return true;
                    }},
                   {"blocks16", [&](const toml::node& n, const std::string& k) {
                        bool value = false;
                        if (!flag(n, k, value)) return false;
                        format.blocks16 = value;
                        return true;
                    }},
                   {"palette", [&](const toml::node& n, const std::string& k) {
                        std::string path;
                        if (!text(n, k, path)) return false;
                        format.palette = path;
                        return true;
                    }},
                   {"palette-row", [&](const toml::node& n, const std::string& k) {
                        if (!this->number(n, k, 0, HIGHEST_PALETTE_ROW, number)) return false;
                        format.paletteRow = number;
                        return true;
                    }}})) {
            return false;
        }
        if (mode7) {
            // Mode 7 has its own depth: a bpp beside it contradicts it.
            if (bppGiven) return fail(Problem::BadValue, lineOf(table->source()), key + ".mode7");
            format.format = TileFormat::Mode7;
        }
        if (format.blocks16.value_or(false) && format.columns.value_or(16) % 2 != 0) {
            return fail(Problem::BadValue, lineOf(table->source()), key + ".blocks16");
        }
        return true;
    }
    bool graphics(const toml::node& node, const std::string& key) {
        const toml::table* table = section(node, key);
        if (!table) return false;
        return walk(*table, "graphics.",
                    {{"folder", [&](const toml::node& n, const std::string& k) {
                          return text(n, k, project.graphicsFolder);
                      }},
                     {"allow-resize", [&](const toml::node& n, const std::string& k) {
                          return flag(n, k, project.allowResize);
                      }},
                     {"default", [&](const toml::node& n, const std::string& k) {
                          return format(n, k, project.defaultFormat);
                      }},
                     {"format", [&](const toml::node& n, const std::string& k) { return formats(n, k); }}});
    }
    bool formats(const toml::node& node, const std::string& key) {
        const toml::table* table = section(node, key);
        if (!table) return false;
        for (auto&& [name, value] : *table) {
            const std::string digits(name.str());
            uint32_t graphic = 0;
            bool valid = !digits.empty() && digits.size() <= 3;
            for (char c : digits) {
                valid = valid && c >= '0' && c <= '9';
                graphic = graphic * 10 + uint32_t(c - '0');
            }
            const std::string graphicKey = key + "." + digits;
            if (!valid || graphic >= uint32_t(GRAPHICS_COUNT)) {
                return fail(Problem::BadGraphic, lineOf(name.source()), graphicKey);
            }
            if (!format(value, graphicKey, project.formats[static_cast<int>(graphic)])) return false;
        }
        return true;
    }

    bool pointerTables(const toml::node& node, const std::string& key, bool isLong) {
        return texts(node, key, [&](const std::string& written, uint32_t line) {
            Position at;
            uint32_t count = 0;
            if (parseAtCount(written, at, count) != PositionParse::Parsed) {
                return fail(Problem::BadPosition, line, key, Problem::Text, written);
            }
            project.pointerTables.push_back({at.offset, count, isLong});
            return true;
        });
    }
    bool textSection(const toml::node& node, const std::string& key) {
        const toml::table* table = section(node, key);
        if (!table) return false;
        if (!walk(*table, "text.",
                  {{"table", [&](const toml::node& n, const std::string& k) { return text(n, k, project.table); }},
                   {"script", [&](const toml::node& n, const std::string& k) { return text(n, k, project.script); }},
                   {"labels", [&](const toml::node& n, const std::string& k) { return text(n, k, project.labels); }},
                   {"pointers", [&](const toml::node&, const std::string&) { return true; }},
                   {"long-pointers", [&](const toml::node&, const std::string&) { return true; }}})) {
            return false;
        }
        // The tables in the file's order of the two keys: short ones first.
        if (const toml::node* shortOnes = table->get("pointers")) {
            if (!pointerTables(*shortOnes, "text.pointers", false)) return false;
        }
        if (const toml::node* longOnes = table->get("long-pointers")) {
            if (!pointerTables(*longOnes, "text.long-pointers", true)) return false;
        }
        if (!project.script.empty() && project.table.empty()) return fail(Problem::MissingKey, 0, "text.table");
        return true;
    }

    // A number of lo to hi into a field of the preview's settings.
    bool setting(const toml::node& n, const std::string& k, uint32_t lo, uint32_t hi, int& field) {
        uint32_t value = 0;
        if (!number(n, k, lo, hi, value)) return false;
        field = static_cast<int>(value);
        return true;
    }

    bool font(const toml::node& node, const std::string& key) {
        const toml::table* table = section(node, key);
        if (!table) return false;
        project.hasFont = true;
        FontSettings& f = project.preview.font;
        return walk(*table, "font.",
                    {{"graphic", [&](const toml::node& n, const std::string& k) {
                          return setting(n, k, 0, GRAPHICS_COUNT - 1, f.graphic);
                      }},
                     {"bpp", [&](const toml::node& n, const std::string& k) {
                          if (!setting(n, k, 1, HIGHEST_BPP, f.bpp)) return false;
                          return f.bpp == 2 || f.bpp == 4 || f.bpp == 8 || fail(Problem::BadValue, lineOf(n.source()), k);
                      }},
                     {"first", [&](const toml::node& n, const std::string& k) { return setting(n, k, 0, 255, f.first); }},
                     {"advance", [&](const toml::node& n, const std::string& k) {
                          if (const auto* word = n.as_string()) {
                              f.measured = word->get() == "glyph";
                              return f.measured || fail(Problem::BadValue, lineOf(n.source()), k);
                          }
                          if (!n.is_integer()) return fail(Problem::WrongType, lineOf(n.source()), k, Problem::IntegerOrGlyph);
                          f.measured = false;
                          return setting(n, k, 1, LARGEST_BOX, f.advance);
                      }},
                     {"spacing", [&](const toml::node& n, const std::string& k) { return setting(n, k, 0, 255, f.spacing); }}});
    }
    bool box(const toml::node& node, const std::string& key) {
        const toml::table* table = section(node, key);
        if (!table) return false;
        project.hasBox = true;
        BoxSettings& b = project.preview.box;
        return walk(*table, "box.",
                    {{"width", [&](const toml::node& n, const std::string& k) { return setting(n, k, 1, LARGEST_BOX, b.width); }},
                     {"lines", [&](const toml::node& n, const std::string& k) { return setting(n, k, 1, MOST_BOX_LINES, b.lines); }},
                     {"line-height", [&](const toml::node& n, const std::string& k) {
                          return setting(n, k, 1, MOST_LINE_HEIGHT, b.lineHeight);
                      }},
                     {"break", [&](const toml::node& n, const std::string& k) {
                          b.breaks.clear();
                          return texts(n, k, [&](const std::string& entry, uint32_t line) {
                              if (entry.empty()) return fail(Problem::BadValue, line, k);
                              b.breaks.push_back(entry);
                              return true;
                          });
                      }}});
    }

    bool file(const toml::table& root) {
        bool hasImage = false;
        for (auto&& [name, node] : root) {
            const std::string key(name.str());
            if (key == "image") {
                hasImage = true;
                if (!image(node, key)) return false;
            } else if (key == "graphics") {
                if (!graphics(node, key)) return false;
            } else if (key == "text") {
                if (!textSection(node, key)) return false;
            } else if (key == "font") {
                if (!font(node, key)) return false;
            } else if (key == "box") {
                if (!box(node, key)) return false;
            } else {
                return fail(node.is_table() ? Problem::UnknownSection : Problem::UnknownKey, lineOf(name.source()), key);
            }
        }
        return hasImage || fail(Problem::MissingKey, 0, "image.original");
    }

private:
    Project& project;
};

// The byte offset in text of a 1-based line and column (columns count
// characters, as the TOML reader does).
size_t offsetOf(const std::string& text, uint32_t line, uint32_t column) {
    size_t at = 0;
    for (uint32_t l = 1; l < line && at < text.size(); ++l) {
        const size_t end = text.find('\n', at);
        at = end == std::string::npos ? text.size() : end + 1;
    }
    for (uint32_t c = 1; c < column && at < text.size(); ++c) {
        ++at;
        while (at < text.size() && (static_cast<uint8_t>(text[at]) & 0xC0) == 0x80) ++at;
    }
    return at;
}

// A TOML basic string of text: quotes, backslashes and control bytes
// escaped.
std::string tomlString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<uint8_t>(c) < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(static_cast<uint8_t>(c)));
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string quotedList(const std::vector<std::string>& items) {
    std::string list;
    for (const std::string& item : items) list += (list.empty() ? "" : ", ") + tomlString(item);
    return list;
}

}  // namespace

std::string Project::path(const std::string& relative) const {
    const bool absolute = !relative.empty() && (relative[0] == '/' || relative[0] == '\\' ||
                                                (relative.size() > 1 && relative[1] == ':'));
    return absolute ? relative : folder + relative;
}

GraphicFormat Project::formatOf(int graphic) const {
    GraphicFormat format = defaultFormat;
    const auto own = formats.find(graphic);
    if (own == formats.end()) return format;
    const GraphicFormat& mine = own->second;
    if (mine.format) format.format = mine.format;
    if (mine.columns) format.columns = mine.columns;
    if (mine.blocks16) format.blocks16 = mine.blocks16;
    if (mine.palette) format.palette = mine.palette;
    if (mine.paletteRow) format.paletteRow = mine.paletteRow;
    return format;
}

std::string projectFolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

ProjectProblem readProject(const std::string& text, const std::string& folder, Project& project) {
    project = Project{};
    project.folder = folder;
    toml::parse_result parsed = toml::parse(std::string_view(text));
    if (!parsed) {
        ProjectProblem problem;
        problem.kind = ProjectProblem::Syntax;
        problem.line = lineOf(parsed.error().source());
        return problem;
    }
    Reader reader(project);
    reader.file(parsed.table());
    return reader.problem;
}

std::string formatPointerTable(const PointerTable& table) {
    return formatBusAddress(table.offset) + ":" + std::to_string(table.count);
}

std::string newProjectText(const std::string& original, const std::string& sha256, const std::string& table) {
    std::string text =
        "# O projeto da tradu\xC3\xA7\xC3\xA3o: brelquim-build l\xC3\xAA este arquivo e grava a imagem traduzida\n"
        "# e os patches. Os caminhos s\xC3\xA3o relativos a este arquivo.\n"
        "\n"
        "[image]\n"
        "original = " + tomlString(original) + "\n"
        "sha256 = " + tomlString(sha256) + "\n"
        "output = \"traduzido.sfc\"\n"
        "patches = [\"traducao.bps\"]\n"
        "# faixas que o jogo n\xC3\xA3o usa, para gr\xC3\xA1""ficos e textos (fim exclusivo):\n"
        "free = []\n"
        "# free = [\"$98:E000:$99:8000\"]\n"
        "\n"
        "[graphics]\n"
        "folder = \"" + std::string(OUTPUT_FOLDER) + "\"\n"
        "allow-resize = false\n"
        "default = { bpp = 4 }\n"
        "\n"
        "[graphics.format]\n"
        "# o formato de cada gr\xC3\xA1""fico que n\xC3\xA3o \xC3\xA9 o padr\xC3\xA3o:\n"
        "# 9 = { bpp = 2 }\n"
        "# 12 = { bpp = 4, columns = 16, palette = \"paleta.pal\", palette-row = 1 }\n"
        "\n";
    if (table.empty()) {
        text += "# [text]\n"
                "# table = \"jogo.tbl\"\n";
    } else {
        text += "[text]\n"
                "table = " + tomlString(table) + "\n";
    }
    text += "# script = \"textos.txt\"\n"
            "# pointers = [\"$98:8000:7\"]\n"
            "# long-pointers = [\"$99:8000:4\"]\n"
            "# labels = \"rotulos.txt\"\n";
    return text;
}

bool addPointerTables(std::string& text, const std::vector<PointerTable>& tables, ProjectProblem& problem) {
    Project project;
    problem = readProject(text, "", project);
    if (problem.kind != ProjectProblem::None) return false;
    toml::parse_result parsed = toml::parse(std::string_view(text));
    const toml::table* section = parsed.table()["text"].as_table();

    // The new tables of each kind, each once.
    std::vector<std::string> added[2];
    std::set<std::pair<uint32_t, bool>> listed;
    for (const PointerTable& table : project.pointerTables) listed.insert({table.offset, table.isLong});
    for (const PointerTable& table : tables) {
        if (!listed.insert({table.offset, table.isLong}).second) continue;
        added[table.isLong ? 1 : 0].push_back(formatPointerTable(table));
    }

    // Edits from the end of the text backwards, so that earlier offsets hold.
    std::vector<std::pair<size_t, std::string>> edits;
    std::string newLines;
    static const char* const keys[2] = {"pointers", "long-pointers"};
    for (int kind = 0; kind < 2; ++kind) {
        if (added[kind].empty()) continue;
        const toml::array* list = section ? section->get_as<toml::array>(keys[kind]) : nullptr;
        if (!list) {
            newLines += std::string(keys[kind]) + " = [" + quotedList(added[kind]) + "]\n";
            continue;
        }
        // Before the closing bracket: after the last item (and its comma,
        // when it has one), or right after the opening one.
        const toml::source_position end = list->source().end;
        size_t close = offsetOf(text, end.line, end.column);
        while (close > 0 && text[close - 1] != ']') --close;
        --close;
        if (list->empty()) {
            edits.push_back({close, quotedList(added[kind])});
        } else {
            const toml::source_position last = list->back().source().end;
            size_t after = offsetOf(text, last.line, last.column);
            const size_t comma = text.find_first_not_of(" \t", after);
            const bool hasComma = comma != std::string::npos && comma < close && text[comma] == ',';
            if (hasComma) after = comma + 1;
            edits.push_back({after, (hasComma ? " " : ", ") + quotedList(added[kind])});
        }
    }
    if (!newLines.empty() && section && section->is_inline()) {
        // text = { ... }: the keys go inside its braces.
        const toml::source_position end = section->source().end;
        size_t close = offsetOf(text, end.line, end.column);
        while (close > 0 && text[close - 1] != '}') --close;
        --close;
        while (close > 0 && (text[close - 1] == ' ' || text[close - 1] == '\t')) --close;
        std::string keys;
        for (size_t at = 0; at < newLines.size();) {
            const size_t lineEnd = newLines.find('\n', at);
            keys += (keys.empty() && section->empty() ? " " : ", ") + newLines.substr(at, lineEnd - at);
            at = lineEnd + 1;
        }
        edits.push_back({close, keys});
    } else if (!newLines.empty()) {
        if (!section) {
            if (!text.empty() && text.back() != '\n') text += '\n';
            edits.push_back({text.size(), "\n[text]\n" + newLines});
        } else {
            // After the last line of [text] that holds a value.
            uint32_t lastLine = section->source().begin.line;
            for (auto&& [name, node] : *section) {
                lastLine = std::max<uint32_t>(lastLine, static_cast<uint32_t>(node.source().end.line));
                (void)name;
            }
            size_t at = offsetOf(text, lastLine + 1, 1);
            if (at == text.size() && !text.empty() && text.back() != '\n') {
                text += '\n';
                at = text.size();
            }
            edits.push_back({at, newLines});
        }
    }
    std::sort(edits.begin(), edits.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::string edited = text;
    for (const auto& [at, inserted] : edits) edited.insert(at, inserted);
    // A [text] made of dotted keys elsewhere in the file takes no new line:
    // the file stays as it was, and the problem the new line would make is
    // the answer.
    Project after;
    problem = readProject(edited, "", after);
    if (problem.kind != ProjectProblem::None) return false;
    text = edited;
    return true;
}
