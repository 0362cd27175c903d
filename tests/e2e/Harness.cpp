#include "tests/e2e/Harness.h"

#include "cli/Mistake.h"
#include "programs/brelquim-insert/Options.h"
#include "programs/brelquim-build/Options.h"
#include "programs/brelquim-patch/Command.h"
#include "programs/brelquim-png/Options.h"
#include "programs/brelquim-text/Options.h"

#include "graphics/GameLayout.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::string toolExecutable(Program program) {
    const char* variable = program == Program::Insert ? "BRELQUIM_INSERT_EXE"
                           : program == Program::Png  ? "BRELQUIM_PNG_EXE"
                           : program == Program::Text ? "BRELQUIM_TEXT_EXE"
                           : program == Program::Patch ? "BRELQUIM_PATCH_EXE"
                           : program == Program::Build ? "BRELQUIM_BUILD_EXE"
                                                      : "BRELQUIM_EXE";
    const std::string exe = environment(variable);
    if (exe.empty()) throw std::runtime_error(std::string(variable) + " is not set");
    return fs::absolute(exe).string();
}

bool targetIsWindows() {
    return environment("BRELQUIM_TARGET") == "windows";
}

std::string programName(const std::string& program) {
    return targetIsWindows() ? program + ".exe" : program;
}

std::string declaredUsage(Program program, int command) {
    const cli::Program* declared = nullptr;
    switch (program) {
        case Program::Insert: declared = &insert_program::insertProgram(); break;
        case Program::Png: declared = &png_program::pngProgram(); break;
        case Program::Text: declared = &text_program::textProgram(); break;
        case Program::Patch: declared = &patch_program::patchProgram(); break;
        case Program::Build: declared = &build_program::buildProgram(); break;
        case Program::Extract: throw std::runtime_error("brelquim declares no usage");
    }
    return cli::usage(*declared, command, programName(declared->name));
}

std::string lines(const std::string& text) {
    if (!targetIsWindows()) return text;
    std::string result;
    for (char c : text) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}

std::string shownGraphicPath(int graphic) {
    return std::string(OUTPUT_FOLDER) + (targetIsWindows() ? '\\' : '/') + graphicName(graphic);
}

std::string graphicName(int graphic) {
    char name[32];
    std::snprintf(name, sizeof name, GRAPHIC_FILE_FORMAT, graphic);
    return name;
}

Workspace::Workspace() {
    static std::atomic<int> counter{0};
    dir = fs::temp_directory_path() /
          ("brelquim-e2e-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(dir);
    fs::create_directories(dir);
}

Workspace::~Workspace() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

void Workspace::write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + name);
}

std::vector<uint8_t> Workspace::read(const std::string& name) const {
    std::ifstream in(dir / name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Workspace::readText(const std::string& name) const {
    const std::vector<uint8_t> bytes = read(name);
    return std::string(bytes.begin(), bytes.end());
}

bool Workspace::exists(const std::string& name) const {
    return fs::exists(dir / name);
}

std::vector<std::string> Workspace::list(const std::string& folder) const {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir / folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

RunResult Workspace::run(Program program, const std::vector<std::string>& args) const {
    RunResult result = runOnce(program, args);
    // Under a runner (Wine), a start now and then fails before the program
    // runs: nothing on the console, where every program prints its banner
    // first, and a failing status. Such a run is started again, once.
    if (!environment("BRELQUIM_RUNNER").empty() && result.console.empty() && result.status != 0) {
        result = runOnce(program, args);
    }
    return result;
}

RunResult Workspace::runOnce(Program program, const std::vector<std::string>& args) const {
    const std::string exe = toolExecutable(program);
    std::vector<std::string> command;
    if (!environment("BRELQUIM_RUNNER").empty()) command.push_back(environment("BRELQUIM_RUNNER"));
    command.push_back(exe);
    command.insert(command.end(), args.begin(), args.end());

    // Console bytes go to a file outside the workspace, so the workspace
    // holds exactly what the tool wrote.
    const fs::path consolePath = dir.string() + ".console";
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        const int out = open(consolePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int nothing = open("/dev/null", O_RDONLY);
        if (out < 0 || nothing < 0 || chdir(dir.c_str()) != 0) _exit(127);
        dup2(out, STDOUT_FILENO);
        dup2(nothing, STDIN_FILENO);
        if (fileSizeLimit > 0) {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            if (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
        }
        std::vector<char*> argv;
        for (std::string& entry : command) argv.push_back(entry.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int waitStatus = 0;
    waitpid(child, &waitStatus, 0);

    RunResult result;
    std::ifstream in(consolePath, std::ios::binary);
    result.console.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fs::remove(consolePath);
    result.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
    return result;
}
