// What a terminal shows: on a terminal whose locale uses UTF-8 the
// Windows-1252 messages arrive converted; redirected output keeps the
// Windows-1252 bytes (every other end-to-end test checks that).
#include "tests/e2e/Harness.h"
#include "tests/sample/SampleRom.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Runs the tool on a pseudo-terminal (util-linux `script`) in the
// workspace and gives what the terminal received.
std::string onTerminal(const Workspace& ws, const std::string& locale, const std::string& args) {
    const std::string command = "cd '" + ws.path().string() + "' && LC_ALL=" + locale + " script -qec '" +
                                toolExecutable() + " " + args + "' /dev/null";
    std::string shown;
    FILE* terminal = popen(command.c_str(), "r");
    if (!terminal) return shown;
    char chunk[256];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, terminal)) > 0;) shown.append(chunk, n);
    pclose(terminal);
    return shown;
}

class TerminalText : public testing::Test {
protected:
    void SetUp() override {
        if (targetIsWindows()) GTEST_SKIP() << "the Windows console is switched to code page 1252 instead";
        if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no `script` to make a terminal";
    }
};

TEST_F(TerminalText, AUtf8TerminalShowsTheMessagesInUtf8) {
    Workspace ws;
    // The terminal ends each line with CR LF.
    EXPECT_EQ(onTerminal(ws, "C.UTF-8", "-i nada.sfc"),
              "Brelquim v1.0\r\nErro ao abrir arquivo [nada.sfc]\r\nArquivo n\xC3\xA3o encontrado.\r\n");
}

TEST_F(TerminalText, AnotherTerminalGetsTheBytesAsTheyAre) {
    Workspace ws;
    EXPECT_EQ(onTerminal(ws, "C", "-i nada.sfc"),
              "Brelquim v1.0\r\nErro ao abrir arquivo [nada.sfc]\r\nArquivo n\xE3o encontrado.\r\n");
}

// A name the user typed is already in the terminal's encoding: its bytes
// are shown as they came, only the tool's own text is converted.
TEST_F(TerminalText, ANameIsShownAsTheUserTypedIt) {
    Workspace ws;
    EXPECT_EQ(onTerminal(ws, "C.UTF-8", "-i tradu\xC3\xA7\xC3\xA3o.sfc"),
              "Brelquim v1.0\r\nErro ao abrir arquivo [tradu\xC3\xA7\xC3\xA3o.sfc]\r\nArquivo n\xC3\xA3o encontrado.\r\n");
}

// A title holds whatever bytes the image has: on a terminal its control
// characters are shown, not obeyed (and on a terminal that is not UTF-8,
// also 0x80 to 0x9F, its C1 controls); redirected, the bytes are kept.
TEST_F(TerminalText, ControlCharactersOfATitleAreShownEscapedOnATerminalOnly) {
    const char* title = "EVIL\x1b[2J\x07\x9b";
    const std::string padding(11, ' ');
    const std::string refusal = "A ROM n\xE3o aparenta ser do jogo esperado!";
    struct Shown {
        const char* locale;
        std::string console;
    } shownOn[] = {
        {"C.UTF-8", "Brelquim v1.0\r\nA ROM n\xC3\xA3o aparenta ser do jogo esperado!\r\nROMNAME:[EVIL\\x1b[2J\\x07\xE2\x80\xBA" +
                        padding + "]\r\n"},
        {"C", "Brelquim v1.0\r\n" + refusal + "\r\nROMNAME:[EVIL\\x1b[2J\\x07\\x9b" + padding + "]\r\n"},
    };
    for (const Shown& shown : shownOn) {
        Workspace ws;
        ws.write("other.sfc", ImageBuilder().title(title).image);
        EXPECT_EQ(onTerminal(ws, shown.locale, "-i other.sfc"), shown.console) << shown.locale;
    }
    Workspace ws;
    ws.write("other.sfc", ImageBuilder().title(title).image);
    EXPECT_EQ(ws.run({"-i", "other.sfc"}).console,
              "Brelquim v1.0\n" + refusal + "\nROMNAME:[" + title + padding + "]\n");
}

}  // namespace
