// brelquim-text as a translator runs it on the sample image: the dump, the
// script put back unchanged (the same image, byte for byte), edited strings
// placed in place, in a free range, in bytes left by another string and in
// new space, shared strings and raw bytes kept, and every refusal leaving
// every file as it was.
#include "tests/e2e/Harness.h"
#include "rom/Checksum.h"
#include "rom/HeaderLayout.h"
#include "rom/RomImage.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

const std::string BANNER = "Brelquim-text v1.0\n";
const std::string NOTHING_WRITTEN = "Nada foi gravado.\n";

const SampleRom& sample() {
    static const SampleRom rom = buildSampleRom();
    return rom;
}

std::string tableArgument(const SamplePointerTable& table) {
    return table.busAddress + ":" + std::to_string(table.count);
}

// game.sfc, game.tbl and the dump of game.sfc in textos.txt.
std::vector<std::string> dumpArgs(const std::string& image = "game.sfc") {
    const SampleText& text = sample().text;
    return {"dump", "-i", image, "--table", "game.tbl", "--pointers", tableArgument(text.tables[0]),
            "--long-pointers", tableArgument(text.tables[1])};
}

void dumped(const Workspace& ws) {
    ws.write("game.sfc", sample().image);
    const std::string& table = sample().text.table;
    ws.write("game.tbl", Bytes(table.begin(), table.end()));
    ASSERT_EQ(ws.run(Program::Text, dumpArgs()).status, 0);
}

// The script with string n's text to edit replaced by text.
std::string edited(std::string script, int n, const std::string& text) {
    const size_t header = script.find("#[" + std::to_string(n) + "]");
    size_t start = script.find('\n', header) + 1;
    while (script[start] == '#') start = script.find('\n', start) + 1;
    size_t end = script.find("\n\n", start);
    if (end == std::string::npos) end = script.size() - 1;
    return script.replace(start, end - start, text);
}

// The texts to edit, by string number, as a script holds them.
std::map<int, std::string> texts(const std::string& script) {
    std::map<int, std::string> found;
    int n = 0;
    size_t start = 0;
    while (start < script.size()) {
        size_t end = script.find('\n', start);
        if (end == std::string::npos) end = script.size();
        const std::string line = script.substr(start, end - start);
        start = end + 1;
        if (line.rfind("#[", 0) == 0) n = std::stoi(line.substr(2));
        if (n > 0 && !line.empty() && line[0] != '#') found[n] += line;
    }
    return found;
}

TEST(TextDump, NamesWhatItWroteAndTheScriptGoesBackByteForByte) {
    Workspace ws;
    dumped(ws);
    size_t pointers = 0, bytes = 0;
    std::set<uint32_t> strings;
    for (const SamplePointerTable& table : sample().text.tables) {
        pointers += table.count;
        for (size_t i = 0; i < table.strings.size(); ++i) {
            if (strings.insert(table.stringOffsets[i]).second) bytes += table.strings[i].size();
        }
    }
    const RunResult again = ws.run(Program::Text, dumpArgs());
    EXPECT_EQ(again.console, lines(BANNER + std::to_string(strings.size()) + " textos, " + std::to_string(pointers) +
                                   " ponteiros, " + std::to_string(bytes) + " bytes -> textos.txt\n"));
    const RunResult back = ws.run(Program::Text, {"insert", "-i", "game.sfc", "-o", "new.sfc", "--table", "game.tbl",
                                                  "textos.txt"});
    EXPECT_EQ(back.status, 0) << back.console;
    EXPECT_EQ(ws.read("new.sfc"), sample().image);
    // The sample is a valid image: the same checksum as it states.
    EXPECT_NE(back.console.find(lines("Checksum da nova imagem: ")), std::string::npos);
}

// Two entries of the same bytes: the dump reads the first, and a warning
// names both lines, up to 20, then how many more.
TEST(TextDump, WarnsOfTableEntriesOfTheSameBytes) {
    for (const int copies : {1, 21}) {
        SCOPED_TRACE(copies);
        Workspace ws;
        ws.write("game.sfc", sample().image);
        std::string table = sample().text.table;
        const int firstLine = static_cast<int>(std::count(table.begin(), table.end(), '\n')) + 1;
        // The sample's code of the letter A, whatever it is.
        const std::string codeOfA = table.substr(table.find("=A\n") - 2, 2);
        for (int i = 0; i < copies; ++i) table += codeOfA + "=a\n";
        table += "8A20=o castelo\n";
        ws.write("game.tbl", Bytes(table.begin(), table.end()));
        // The line of an entry of the sample's table, from 1.
        const auto lineOf = [&](const std::string& entry) {
            const size_t at = table.find("\n" + entry + "\n") + 1;
            const auto end = table.begin() + static_cast<std::ptrdiff_t>(at);
            return static_cast<int>(std::count(table.begin(), end, '\n')) + 1;
        };
        const auto warning = [](int first, int second) {
            return "Aviso: tabela game.tbl, linhas " + std::to_string(first) + " e " + std::to_string(second) +
                   ": as duas entradas t\xEAm os mesmos bytes; vale a da linha " + std::to_string(first) + ".\n";
        };
        std::string expected = BANNER;
        for (int i = 0; i < std::min(copies, 20); ++i) expected += warning(lineOf(codeOfA + "=A"), firstLine + i);
        if (copies == 1) {
            expected += warning(lineOf("8A20=the castle"), firstLine + 1);
        } else {
            expected += "E mais 2 entradas com os bytes de outra.\n";
        }
        const RunResult result = ws.run(Program::Text, dumpArgs());
        EXPECT_EQ(result.console, lines(expected + "9 textos, 11 ponteiros, 142 bytes -> textos.txt\n"));
        EXPECT_EQ(result.status, 0);
        // The same script as through the table without the added lines.
        const std::string& plain = sample().text.table;
        ws.write("plain.tbl", Bytes(plain.begin(), plain.end()));
        std::vector<std::string> args = dumpArgs();
        args[4] = "plain.tbl";
        args.insert(args.end(), {"-o", "plain.txt"});
        ASSERT_EQ(ws.run(Program::Text, args).status, 0);
        EXPECT_EQ(ws.readText("textos.txt"), ws.readText("plain.txt"));
    }
}

TEST(TextDump, ShowsTheLabelOfEachFirstPointerOrItsPlaceholder) {
    Workspace ws;
    dumped(ws);
    // The third label is cut at its 31st byte, inside the UTF-8 "\xE1".
    const std::string labels = "988000 Ol\xE1\r\n988004 " + std::string(30, 'a') + "\xC3\xA1\r\n";
    ws.write("labels.txt", Bytes(labels.begin(), labels.end()));
    std::vector<std::string> args = dumpArgs();
    args.insert(args.end(), {"--labels", "labels.txt", "-o", "labelled.txt"});
    ASSERT_EQ(ws.run(Program::Text, args).status, 0);
    const std::string script = ws.readText("labelled.txt");
    // A Windows-1252 label in the UTF-8 script; a key without one.
    EXPECT_NE(script.find("(16 bits, tabela 1, n.\xC2\xBA 0)\n#  r\xC3\xB3tulo: Ol\xC3\xA1\n# Welcome"), std::string::npos);
    EXPECT_NE(script.find("(16 bits, tabela 1, n.\xC2\xBA 1)\n#  r\xC3\xB3tulo: {988002}\n"), std::string::npos);
    EXPECT_NE(script.find("(16 bits, tabela 1, n.\xC2\xBA 5)\n#  r\xC3\xB3tulo: " + std::string(30, 'a') + "\n"),
              std::string::npos);
    // The labels are comments: the script goes back unchanged.
    ASSERT_EQ(ws.run(Program::Text, {"insert", "-i", "game.sfc", "-o", "new.sfc", "--table", "game.tbl",
                                     "labelled.txt"}).status, 0);
    EXPECT_EQ(ws.read("new.sfc"), sample().image);
}

struct Edit {
    std::string name;
    std::map<int, std::string> texts;  // string number -> new text
    std::vector<std::string> more;     // further options of insert
    std::string where;                 // a line of the run: where a string went, what room is left
    uint32_t grownTo;                  // the new image's size, 0: as before
};

void PrintTo(const Edit& e, std::ostream* out) { *out << e.name; }

class TextEdit : public testing::TestWithParam<Edit> {};

TEST_P(TextEdit, ComesBackAndNothingElseChanges) {
    const Edit& e = GetParam();
    Workspace ws;
    dumped(ws);
    const std::string original = ws.readText("textos.txt");
    std::string script = original;
    for (const auto& [n, text] : e.texts) script = edited(script, n, text);
    ws.write("edited.txt", Bytes(script.begin(), script.end()));
    std::vector<std::string> args = {"insert", "-i", "game.sfc", "-o", "new.sfc", "--table", "game.tbl"};
    args.insert(args.end(), e.more.begin(), e.more.end());
    args.push_back("edited.txt");
    const RunResult run = ws.run(Program::Text, args);
    ASSERT_EQ(run.status, 0) << run.console;
    EXPECT_NE(run.console.find(e.where), std::string::npos) << run.console;
    EXPECT_NE(run.console.find(lines("Textos alterados: " + std::to_string(e.texts.size()) + "\n")), std::string::npos);

    // Dumped again: the edits, and every other string as it was.
    std::vector<std::string> again = dumpArgs("new.sfc");
    again.insert(again.end(), {"-o", "again.txt"});
    ASSERT_EQ(ws.run(Program::Text, again).status, 0);
    std::map<int, std::string> expected = texts(original);
    for (const auto& [n, text] : e.texts) expected[n] = text;
    EXPECT_EQ(texts(ws.readText("again.txt")), expected);

    // The image: its size, a checksum it really has, every graphic as before.
    const Bytes image = ws.read("new.sfc");
    EXPECT_EQ(image.size(), e.grownTo ? e.grownTo : sample().image.size());
    RomImage rom;
    ASSERT_EQ(rom.assign(image.data(), image.size()), 0);
    EXPECT_EQ(static_cast<uint32_t>(rom.checksum), romChecksum(image.data(), static_cast<uint32_t>(image.size())));
    ASSERT_EQ(ws.run({"-i", "new.sfc"}).status, 0);
    for (int g = 0; g < static_cast<int>(sample().graphics.size()); ++g) {
        EXPECT_EQ(ws.read("arquivos/" + graphicName(g)), sample().graphics[g].decoded) << g;
    }
}

const char FREE_IN_BANK_98[] = "$98:E000:$99:8000";

INSTANTIATE_TEST_SUITE_P(
    Sample, TextEdit,
    testing::Values(
        Edit{"a shorter string stays in place", {{3, "Po\xC3\xA7\xC3\xA3o<end>"}}, {}, "no mesmo lugar", 0},
        Edit{"a longer string moves into a free range of its bank",
             {{1, "Bem-vindo ao castelo, nobre viajante!<end>"}}, {"--free", FREE_IN_BANK_98},
             "$98:E000 38 movido para uma faixa livre", 0},
        Edit{"a longer string takes the bytes another one left",
             {{1, "Bem-vindo ao castelo, nobre viajante!<end>"}, {2, "Ganhou <color><$03>a Espada<color><$00>!<end>"}},
             {"--free", "$98:E000:$98:E026"}, "$98:800E 21 movido para espa\xE7o liberado", 0},
        Edit{"a string across two free ranges takes from each only what it covers",
             {{1, "Bem-vindo ao castelo, nobre viajante!<end>"}},
             {"--free", "$98:E000:$98:E010", "--free", "$98:E010:$99:8000"},
             "Faixa livre $98:E000:$98:E010: 0 bytes ainda livres", 0},
        Edit{"free ranges that overlap or repeat are one, its free bytes counted once",
             {{1, "Bem-vindo ao castelo, nobre viajante!<end>"}},
             {"--free", "$98:E000:$98:E030", "--free", "$98:E010:$99:8000", "--free", "$98:E000:$98:E030"},
             "Faixa livre $98:E000:$99:8000: 8154 bytes ainda livres", 0},
        Edit{"a string behind 24-bit pointers moves into new space",
             {{7, "Erva medicinal, a melhor do reino<end>"}}, {}, "movido para espa\xE7o novo no fim", 0x200000},
        Edit{"a line break and raw bytes are kept where written",
             {{4, "Onde est\xC3\xA1 a chave?<br>Pergunte ao guarda.<end>"}, {5, "Ouro<$9F>50<end>"}},
             {"--free", FREE_IN_BANK_98}, "movido para uma faixa livre", 0}));

struct Refusal {
    std::string name;
    std::vector<std::string> args;
    void (*prepare)(const Workspace&);
    std::string console;  // after the banner
};

void PrintTo(const Refusal& r, std::ostream* out) { *out << r.name; }

// Where the sample's boot program holds the directory's bus address (the
// operand of its load): a 24-bit pointer that leads onto the directory.
uint32_t directoryReference() {
    static const uint8_t operand[] = {0xF7, 0xF6, 0x86};
    const std::vector<uint8_t>& image = sample().image;
    return static_cast<uint32_t>(std::search(image.begin(), image.end(), operand, operand + 3) - image.begin());
}

std::string hexText(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
    return text;
}

std::string busText(uint32_t offset) {
    const uint32_t address = fileToLoRom(offset);
    char text[16];
    std::snprintf(text, sizeof text, "$%02X:%04X", static_cast<unsigned>(address >> 16),
                  static_cast<unsigned>(address & 0xFFFF));
    return text;
}

class TextRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(TextRefusal, NamesTheProblemAndWritesNothing) {
    const Refusal& r = GetParam();
    Workspace ws;
    dumped(ws);
    ws.write("new.sfc", Bytes(16, 0x77));
    r.prepare(ws);
    std::map<std::string, Bytes> before;
    for (const std::string& name : ws.list()) before[name] = ws.read(name);
    const RunResult result = ws.run(Program::Text, r.args);
    EXPECT_EQ(result.console, lines(BANNER + r.console));
    EXPECT_EQ(result.status, 1);
    std::map<std::string, Bytes> after;
    for (const std::string& name : ws.list()) after[name] = ws.read(name);
    EXPECT_EQ(after, before);
}

std::vector<std::string> insertArgs(std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"insert", "-i", "game.sfc", "-o", "new.sfc", "--table", "game.tbl"};
    args.insert(args.end(), more.begin(), more.end());
    args.push_back("script.txt");
    return args;
}

template <int N>
struct Script {
    static void with(const Workspace& ws, const std::string& text) {
        const std::string script = edited(ws.readText("textos.txt"), N, text);
        ws.write("script.txt", Bytes(script.begin(), script.end()));
    }
};

// Lines of the sample's table file.
size_t tableLines() {
    const std::string& table = sample().text.table;
    return static_cast<size_t>(std::count(table.begin(), table.end(), '\n'));
}

void writeScript(const Workspace& ws, const std::string& script) {
    ws.write("script.txt", Bytes(script.begin(), script.end()));
}

// game.sfc grown to the 4 MiB that LoROM can address, its header saying so.
void fullImage(const Workspace& ws) {
    Bytes image = sample().image;
    image.resize(LOROM_DATA_LIMIT, 0xFF);
    image[LOROM_HEADER_OFFSET + HEADER_ROM_SIZE] = 12;  // 2^12 KiB
    ws.write("game.sfc", image);
}

INSTANTIATE_TEST_SUITE_P(
    Sample, TextRefusal,
    testing::Values(
        Refusal{"a character the table does not cover", insertArgs(),
                [](const Workspace& ws) { Script<8>::with(ws, "The door is\nlocked #<end>"); },
                "Roteiro script.txt, linha 41, coluna 8 (texto 8): nenhuma entrada da tabela escreve o caractere "
                "'#' (U+0023); escreva-o como <$XX> se for um byte.\n" +
                    NOTHING_WRITTEN},
        // Every mistake in one run, in the order of the script.
        Refusal{"every text the table cannot write", insertArgs(),
                [](const Workspace& ws) {
                    std::string script = ws.readText("textos.txt");
                    script = edited(script, 1, "Ol\xC3\xA1 \xE2\x82\xAC<end>");  // the euro sign
                    script = edited(script, 3, "Po<$9F<end>");
                    script = edited(script, 5, "Gold<$ZZ>50<end>");
                    script = edited(script, 6, "<$123>Oi<end>");
                    script = edited(script, 7, "Herb \xE2\x86\x92<end>");  // an arrow, not in Windows-1252
                    script = edited(script, 8, "The door<end> is locked.<end>");
                    writeScript(ws, script);
                },
                "Roteiro script.txt, linha 10, coluna 5 (texto 1): nenhuma entrada da tabela escreve o caractere "
                "'\x80' (U+20AC); escreva-o como <$XX> se for um byte.\n"
                "Roteiro script.txt, linha 18, coluna 3 (texto 3): \"<$\" sem o \">\" que o fecha; um byte se "
                "escreve <$XX>.\n"
                "Roteiro script.txt, linha 28, coluna 5 (texto 5): \"<$\" pede dois d\xEDgitos hexadecimais; um byte "
                "se escreve <$XX>.\n"
                "Roteiro script.txt, linha 32, coluna 1 (texto 6): \"<$\" pede dois d\xEDgitos hexadecimais; um byte "
                "se escreve <$XX>.\n"
                "Roteiro script.txt, linha 36, coluna 6 (texto 7): nenhuma entrada da tabela escreve o caractere "
                "(U+2192); escreva-o como <$XX> se for um byte.\n"
                "Roteiro script.txt, linha 40, coluna 9 (texto 8): um fim de texto antes do fim do texto, seguido "
                "de \" is locked.<end>\".\n" +
                    NOTHING_WRITTEN},
        Refusal{"a table that marks no end of a string", dumpArgs(),
                [](const Workspace& ws) { ws.write("game.tbl", {'4', '1', '=', 'A', '\n'}); },
                "Tabela game.tbl: nenhuma entrada de fim de texto (\"/XX=...\", ou uma de texto \"@\"); sem ela "
                "n\xE3o se sabe onde os textos terminam.\n" +
                    NOTHING_WRITTEN},
        Refusal{"a string without its end", insertArgs(),
                [](const Workspace& ws) { Script<8>::with(ws, "The door is locked."); },
                "Roteiro script.txt, linha 40, coluna 20 (texto 8): o texto n\xE3o termina com um fim da tabela; "
                "sem ele o jogo leria al\xE9m do texto.\n" +
                    NOTHING_WRITTEN},
        Refusal{"a control code without its parameter", insertArgs(),
                [](const Workspace& ws) { Script<2>::with(ws, "You got <color>Magic Sword<end>"); },
                "Roteiro script.txt, linha 14, coluna 9 (texto 2): o c\xF3""digo de controle precisa dos seus "
                "par\xE2metros, cada um como <$XX>.\n" +
                    NOTHING_WRITTEN},
        Refusal{"a string that finds no room in its bank", insertArgs(),
                [](const Workspace& ws) { Script<1>::with(ws, std::string(300, 'a') + "<end>"); },
                "Texto 1, ponteiro $98:8000 (tabela 1, n.\xBA 0): precisa de 301 bytes, e o seu banco tem no "
                "m\xE1ximo 23 bytes livres juntos.\nIndique com --free espa\xE7o sem uso nesse banco.\n" +
                    NOTHING_WRITTEN},
        // With an entry that starts with the end token, "Potion<end>" cut
        // to "Pot<end>" in place would read on into the "on" left behind.
        Refusal{"a shorter string whose end reads on into the bytes after it", insertArgs(),
                [](const Workspace& ws) {
                    const std::string table = sample().text.table + "004E=<o>\n";
                    ws.write("game.tbl", Bytes(table.begin(), table.end()));
                    Script<3>::with(ws, "Pot<end>");
                },
                "Roteiro script.txt, linha 18, coluna 9 (texto 3): a tabela leria estes bytes como outro texto; "
                "escreva este trecho de outro modo ou com <$XX>.\n" +
                    NOTHING_WRITTEN},
        // With an entry that starts with the end token, "Potion<end>" would
        // read on into string 4 cut to "A<end>" in place right after it.
        Refusal{"a string that the unchanged one before it would read on into", insertArgs(),
                [](const Workspace& ws) {
                    const std::string table = sample().text.table + "0020=<a>\n";
                    ws.write("game.tbl", Bytes(table.begin(), table.end()));
                    Script<4>::with(ws, "A<end>");
                },
                "Roteiro script.txt, linha 23, coluna 1 (texto 4): a tabela leria estes bytes como outro texto; "
                "escreva este trecho de outro modo ou com <$XX>.\n" +
                    NOTHING_WRITTEN},
        Refusal{"a string longer than a bank", insertArgs(),
                [](const Workspace& ws) { Script<7>::with(ws, std::string(LOROM_BANK_SIZE, 'a') + "<end>"); },
                "Texto 7: 32769 bytes n\xE3o cabem num banco de 32 KiB.\n" + NOTHING_WRITTEN},
        Refusal{"a string that would take the image past 4 MiB", insertArgs(),
                [](const Workspace& ws) {
                    fullImage(ws);
                    Script<7>::with(ws, "Erva medicinal, a melhor do reino<end>");
                },
                "Texto 7: a imagem passaria de 4 MiB, o limite de um jogo LoROM.\n" + NOTHING_WRITTEN},
        Refusal{"a free range over a pointer table", insertArgs({"--free", "$98:8000:$98:8010"}),
                [](const Workspace& ws) { Script<1>::with(ws, std::string(30, 'a') + "<end>"); },
                "Faixa livre $98:8000:$98:8010 cobre a tabela de ponteiros 1.\n" + NOTHING_WRITTEN},
        Refusal{"a free range over a string", insertArgs({"--free", "$98:8030:$98:8040"}),
                [](const Workspace& ws) { Script<1>::with(ws, std::string(30, 'a') + "<end>"); },
                "Faixa livre $98:8030:$98:8040 cobre o texto 2.\n" + NOTHING_WRITTEN},
        // No bus address names an offset past 4 MiB: it is shown as given.
        Refusal{"a free range past 4 MiB", insertArgs({"--free", "3ffff0:400010"}),
                [](const Workspace& ws) { Script<1>::with(ws, std::string(30, 'a') + "<end>"); },
                "Faixa livre $FF:FFF0:400010 fora dos dados da ROM.\n" + NOTHING_WRITTEN},
        Refusal{"a header past the last string", insertArgs(),
                [](const Workspace& ws) {
                    const std::string script = ws.readText("textos.txt") + "\n#[10] nada\nNada<end>\n";
                    ws.write("script.txt", Bytes(script.begin(), script.end()));
                },
                "Roteiro script.txt, linha 48: a imagem tem s\xF3 9 textos nessas tabelas.\n" + NOTHING_WRITTEN},
        Refusal{"text before the first string", insertArgs(),
                [](const Workspace& ws) {
                    const std::string script = "Ol\xC3\xA1\n" + ws.readText("textos.txt");
                    ws.write("script.txt", Bytes(script.begin(), script.end()));
                },
                "Roteiro script.txt, linha 1: texto antes do primeiro cabe\xE7""alho \"#[n]\".\n" + NOTHING_WRITTEN},
        Refusal{"a header without its number", insertArgs(),
                [](const Workspace& ws) { writeScript(ws, "#!pointers $98:8000:7\n\n#[um] nada\nOi<end>\n"); },
                "Roteiro script.txt, linha 3: cabe\xE7""alho inv\xE1lido; o formato \xE9 \"#[n] ...\".\n" +
                    NOTHING_WRITTEN},
        Refusal{"a header whose number is 0", insertArgs(),
                [](const Workspace& ws) { writeScript(ws, "#!pointers $98:8000:7\n#[0]\nOi<end>\n"); },
                "Roteiro script.txt, linha 2: cabe\xE7""alho inv\xE1lido; o formato \xE9 \"#[n] ...\".\n" +
                    NOTHING_WRITTEN},
        Refusal{"a header given twice", insertArgs(),
                [](const Workspace& ws) { writeScript(ws, "#!pointers $98:8000:7\n#[2]\nOi<end>\n#[2]\nOla<end>\n"); },
                "Roteiro script.txt, linha 4: o mesmo texto aparece duas vezes.\n" + NOTHING_WRITTEN},
        Refusal{"a pointer table without its count", insertArgs(),
                [](const Workspace& ws) { writeScript(ws, "#!pointers $98:8000\n#[1]\nOi<end>\n"); },
                "Roteiro script.txt, linha 1: tabela de ponteiros inv\xE1lida; o formato \xE9 "
                "\"#!pointers $BB:AAAA:n\".\n" +
                    NOTHING_WRITTEN},
        Refusal{"a pointer table after the first string", insertArgs(),
                [](const Workspace& ws) {
                    writeScript(ws, "#!pointers $98:8000:7\n#[1]\nOi<end>\n#!long-pointers $99:8000:2\n");
                },
                "Roteiro script.txt, linha 4: as tabelas de ponteiros v\xEAm antes do primeiro texto.\n" +
                    NOTHING_WRITTEN},
        Refusal{"a script that names no pointer table", insertArgs(),
                [](const Workspace& ws) { writeScript(ws, "#[1]\nOi<end>\n"); },
                "Roteiro script.txt: nenhuma linha \"#!pointers\" ou \"#!long-pointers\" diz de onde v\xEAm os "
                "textos.\n" +
                    NOTHING_WRITTEN},
        Refusal{"a table line without its text", insertArgs(),
                [](const Workspace& ws) {
                    ws.write("game.tbl", {'4', '1', '=', 'A', '\n', '4', '2', '=', '\n'});
                    Script<1>::with(ws, "Oi<end>");
                },
                "Tabela game.tbl, linha 2: falta o texto depois do =.\n" + NOTHING_WRITTEN},
        Refusal{"a pointer table past the image", {"dump", "-i", "game.sfc", "--table", "game.tbl", "--pointers",
                                                   "$9F:FFFF:1", "-o", "new.sfc"},
                [](const Workspace&) {},
                "Ponteiro $9F:FFFF (tabela 1, n.\xBA 0) fora dos dados da ROM.\n" + NOTHING_WRITTEN},
        Refusal{"a pointer table past 4 MiB", {"dump", "-i", "game.sfc", "--table", "game.tbl", "--pointers",
                                               "400000:1", "-o", "new.sfc"},
                [](const Workspace&) {},
                "Ponteiro 400000 (tabela 1, n.\xBA 0) fora dos dados da ROM.\n" + NOTHING_WRITTEN},
        // The game's own code holds the directory's address ($86:F6F7) at
        // $80:815E, and $FFE0, an address in the vectors, at $80:809E.
        Refusal{"a pointer table over the reset vector", {"dump", "-i", "game.sfc", "--table", "game.tbl",
                                                          "--pointers", "$80:FFFC:1", "-o", "x.txt"},
                [](const Workspace&) {},
                "A tabela de ponteiros 1 ($80:FFFC:$80:FFFE) cobre o cabe\xE7""alho interno da ROM e os seus "
                "vetores.\n" + NOTHING_WRITTEN},
        Refusal{"a string over the directory", {"dump", "-i", "game.sfc", "--table", "game.tbl", "--pointers",
                                                "$98:8000:7", "--long-pointers", hexText(directoryReference()) + ":1",
                                                "-o", "x.txt"},
                [](const Workspace&) {},
                "Texto 7, ponteiro " + busText(directoryReference()) +
                    " (tabela 2, n.\xBA 0): o texto ($86:F6F7:$86:F6F8) cobre o diret\xF3rio de gr\xE1""ficos.\n" +
                    NOTHING_WRITTEN},
        Refusal{"a pointer table over the checksum", insertArgs(),
                [](const Workspace& ws) {
                    writeScript(ws, "#!pointers $98:8000:7\n#!pointers $80:FFDC:1\n#[1]\nOi<end>\n");
                },
                "A tabela de ponteiros 2 ($80:FFDC:$80:FFDE) cobre o cabe\xE7""alho interno da ROM e os seus "
                "vetores.\n" + NOTHING_WRITTEN},
        Refusal{"a string over the vectors", insertArgs(),
                [](const Workspace& ws) { writeScript(ws, "#!pointers $80:809E:1\n#[1]\nOi<end>\n"); },
                "Texto 1, ponteiro $80:809E (tabela 1, n.\xBA 0): o texto ($80:FFE0:$80:FFE1) cobre o cabe\xE7""alho "
                "interno da ROM e os seus vetores.\n" + NOTHING_WRITTEN},
        // String 1's third and fourth bytes made a pointer to string 3,
        // which a second table reads: moving string 3 would rewrite them.
        Refusal{"a string that moves with a pointer inside another string", insertArgs({"--free", FREE_IN_BANK_98}),
                [](const Workspace& ws) {
                    Bytes image = ws.read("game.sfc");
                    const uint32_t inFirstString = sample().text.tables[0].fileOffset + 0x10;
                    image[inFirstString] = 0x37;  // $8037
                    image[inFirstString + 1] = 0x80;
                    ws.write("game.sfc", image);
                    writeScript(ws, "#!pointers $98:8000:7\n#!pointers $98:8010:1\n#[3]\n"
                                    "Potion of healing<end>\n");
                },
                "Texto 3, ponteiro $98:8010 (tabela 2, n.\xBA 0): o ponteiro fica dentro do texto 1, que mudaria com "
                "ele.\n" + NOTHING_WRITTEN},
        // Read as Windows-1252, said so, and the run goes on to its refusal.
        Refusal{"a table with a byte that is not UTF-8", insertArgs(),
                [](const Workspace& ws) {
                    const std::string table = ws.readText("game.tbl") + "FE=\xE1\n";
                    ws.write("game.tbl", Bytes(table.begin(), table.end()));
                    writeScript(ws, "#[1]\nOi<end>\n");
                },
                "Aviso: a tabela game.tbl n\xE3o est\xE1 em UTF-8 (linha " + std::to_string(tableLines() + 1) +
                    "); foi lida como Windows-1252.\nRoteiro script.txt: nenhuma linha \"#!pointers\" ou "
                    "\"#!long-pointers\" diz de onde v\xEAm os textos.\n" + NOTHING_WRITTEN},
        Refusal{"an output that is the input", {"dump", "-i", "game.sfc", "--table", "game.tbl", "--pointers",
                                                "$98:8000:1", "-o", "./game.tbl"},
                [](const Workspace&) {},
                "A sa\xED""da n\xE3o pode ser um dos arquivos de entrada: ./game.tbl\n" + NOTHING_WRITTEN}));

// Mistakes named in the shared words before the usage of the command
// given, or of the program (the usages themselves are checked in
// FirstHourTest).
TEST(TextCommandLine, HelpVersionAndMistakesNamedBeforeTheUsage) {
    Workspace ws;
    EXPECT_EQ(ws.run(Program::Text, {"--help", "dump"}).console, lines(BANNER + declaredUsage(Program::Text)));
    EXPECT_EQ(ws.run(Program::Text, {"--version"}).console, lines(BANNER));
    struct Mistake {
        std::vector<std::string> args;
        std::string line;
        int command;  // whose usage follows: -1 the program's
    };
    const Mistake mistakes[] = {
        {{}, "", -1},
        {{"list"}, "Comando desconhecido: list\n", -1},
        {{"--list"}, "Op\xE7\xE3o desconhecida: --list\n", -1},
        {{"dump", "-i", "a.sfc", "--table", "a.tbl"}, "Falta a op\xE7\xE3o --pointers\n", 0},
        {{"dump", "-i", "a.sfc", "--table", "a.tbl", "--pointers", "$98:7000:2"},
         "Valor inv\xE1lido para --pointers: $98:7000:2\n", 0},
        {{"dump", "-i", "a.sfc", "--table", "a.tbl", "--pointers", "$98:8000:0"},
         "Valor inv\xE1lido para --pointers: $98:8000:0\n", 0},
        {{"dump", "-i", "a.sfc", "--table", "a.tbl", "--long-pointers", "$98:8000:1", "s.txt"},
         "Argumento inesperado: s.txt\n", 0},
        {{"insert", "-i", "a.sfc", "-o", "b.sfc", "--table", "a.tbl"}, "Falta <roteiro>\n", 1},
        {{"insert", "-i", "a.sfc", "-o", "b.sfc", "--table", "a.tbl", "s.txt", "t.txt"},
         "Argumento inesperado: t.txt\n", 1},
        {{"insert", "-i", "a.sfc", "-o", "b.sfc", "--table", "a.tbl", ""}, "Valor inv\xE1lido para <roteiro>: \n", 1},
        {{"insert", "s.txt"}, "Falta a op\xE7\xE3o -i\n", 1},
        {{"insert", "-i", "a.sfc", "-o", "b.sfc", "--table", "a.tbl", "--free", "c0000", "s.txt"},
         "Valor inv\xE1lido para --free: c0000\n", 1},
    };
    for (const Mistake& m : mistakes) {
        const RunResult run = ws.run(Program::Text, m.args);
        EXPECT_EQ(run.console, lines(BANNER + m.line + declaredUsage(Program::Text, m.command))) << m.line;
        EXPECT_EQ(run.status, 1);
    }
    EXPECT_TRUE(ws.list().empty());
}

// The pointer tables of a dump, of either kind, are read in the order
// they were given, and the script names them in that order.
TEST(TextCommandLine, PointerTablesKeepTheirOrderAcrossKinds) {
    Workspace ws;
    dumped(ws);
    const SampleText& text = sample().text;
    const RunResult r = ws.run(Program::Text, {"dump", "-i", "game.sfc", "--table", "game.tbl", "--long-pointers",
                                               tableArgument(text.tables[1]), "--pointers",
                                               tableArgument(text.tables[0]), "-o", "longFirst.txt"});
    ASSERT_EQ(r.status, 0) << r.console;
    const auto tableLines = [&](const std::string& name) {
        std::vector<std::string> found;
        const std::string script = ws.readText(name);
        for (size_t at = script.find("#!"); at != std::string::npos; at = script.find("#!", at + 1)) {
            found.push_back(script.substr(at, script.find('\n', at) - at));
        }
        return found;
    };
    std::vector<std::string> given = tableLines("textos.txt");
    ASSERT_EQ(given.size(), 2u);
    std::swap(given[0], given[1]);
    EXPECT_EQ(tableLines("longFirst.txt"), given);
}

}  // namespace
