// The project file's reader and the addition of pointer tables, over
// arbitrary files. Tables are added only to a file that reads, which must
// still read after them and list both; a file they are not added to must
// be left as it was.
#include "project/Project.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Project project;
    const bool reads = readProject(text, "", project).kind == ProjectProblem::None;
    std::string edited = text;
    ProjectProblem problem;
    const PointerTable shortTable{0xC0000, 7, false}, longTable{0xC8000, 4, true};
    const bool added = addPointerTables(edited, {shortTable, longTable}, problem);
    if (added && !reads) std::abort();
    if (!added) {
        if (edited != text) std::abort();
        return 0;
    }
    Project after;
    if (readProject(edited, "", after).kind != ProjectProblem::None) std::abort();
    bool hasShort = false, hasLong = false;
    for (const PointerTable& table : after.pointerTables) {
        hasShort = hasShort || (table.offset == shortTable.offset && !table.isLong);
        hasLong = hasLong || (table.offset == longTable.offset && table.isLong);
    }
    if (!hasShort || !hasLong) std::abort();
    return 0;
}
