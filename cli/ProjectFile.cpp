#include "cli/ProjectFile.h"

#include "cli/Mistake.h"
#include "cli/Words.h"
#include "platform/FileBytes.h"
#include "platform/Platform.h"

namespace cli {

Option projectOption() {
    Option option{{"--project"}, "<arquivo>",
                  std::string("o projeto da tradu\xE7\xE3o (padr\xE3o: ") + PROJECT_FILE + " na pasta atual, se houver)"};
    option.check = nonEmpty;
    return option;
}

bool loadProjectFile(const std::string& path, Project& project) {
    std::vector<uint8_t> bytes;
    const FileRead read = readWholeFile(path, bytes);
    if (read != FileRead::Read) {
        printReadFailure(path, read);
        printNothingWritten();
        return false;
    }
    const ProjectProblem problem =
        readProject(std::string(bytes.begin(), bytes.end()), projectFolderOf(path), project);
    if (problem.kind != ProjectProblem::None) {
        printProjectRefusal(path, problem);
        return false;
    }
    return true;
}

bool loadRunProject(const Parse& parse, std::optional<Project>& project) {
    std::string path = parse.last("--project");
    if (path.empty()) {
        if (fileKind(PROJECT_FILE) == FileKind::Missing) return true;
        path = PROJECT_FILE;
    }
    project.emplace();
    return loadProjectFile(path, *project);
}

int refuseMissing(const Program& program, int command, const std::string& name, bool positional) {
    Parse missing;
    missing.outcome = positional ? Parse::MissingArgument : Parse::MissingOption;
    missing.entry = name;
    printMistake(missing);
    printUsage(program, command);
    return 1;
}

}  // namespace cli
