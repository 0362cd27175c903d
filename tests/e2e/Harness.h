// Runs the built tool as a child process in a fresh working directory and
// captures what it leaves behind: console bytes, exit status, files.
//
// BRELQUIM_EXE names the extraction program, BRELQUIM_INSERT_EXE,
// BRELQUIM_PNG_EXE, BRELQUIM_TEXT_EXE, BRELQUIM_PATCH_EXE and
// BRELQUIM_BUILD_EXE the others;
// BRELQUIM_RUNNER, when set, is a program that runs them (Windows
// executables under Wine, say), and then
// BRELQUIM_TARGET=windows makes the expected texts use CR LF line ends
// and backslash paths.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct RunResult {
    std::string console;  // standard output, byte for byte
    int status;
};

// The programs under test.
enum class Program { Extract, Insert, Png, Text, Patch, Build };

// Absolute path of a program's executable (the extraction's by default).
std::string toolExecutable(Program program = Program::Extract);

// What the tool prints and writes, in the target platform's form.
bool targetIsWindows();
// A program's name as its usage shows it: "brelquim-png", or on Windows
// "brelquim-png.exe".
std::string programName(const std::string& program);
// The usage a program prints for -h (command -1) or for "<command> -h",
// as its declarations make it ("\n" line ends, its name as the target
// shows it).
std::string declaredUsage(Program program, int command = -1);
// Turns "\n" line ends into the target's.
std::string lines(const std::string& text);
// Path of graphic j's file as the tool shows it.
std::string shownGraphicPath(int graphic);
// Name of graphic j's file in the folder arquivos: "grafico_%03d.bin".
std::string graphicName(int graphic);

class Workspace {
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    const std::filesystem::path& path() const { return dir; }
    void write(const std::string& name, const std::vector<uint8_t>& bytes) const;
    std::vector<uint8_t> read(const std::string& name) const;
    std::string readText(const std::string& name) const;
    bool exists(const std::string& name) const;
    // Names of the entries of a folder of the workspace, sorted.
    std::vector<std::string> list(const std::string& folder = ".") const;

    // Runs a program (the extraction by default) with these arguments
    // (after its own name).
    RunResult run(const std::vector<std::string>& args) const { return run(Program::Extract, args); }
    RunResult run(Program program, const std::vector<std::string>& args) const;

    // Later runs may write files of at most this many bytes (ulimit -f): a
    // write past it fails part way, like one on a full disk (SIGXFSZ is
    // ignored, so the program sees the failure instead of being killed).
    void limitFileSize(uint64_t bytes) { fileSizeLimit = bytes; }

private:
    RunResult runOnce(Program program, const std::vector<std::string>& args) const;
    std::filesystem::path dir;
    uint64_t fileSizeLimit = 0;  // 0: no limit
};
