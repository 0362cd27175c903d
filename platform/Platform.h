// Everything that differs between Windows and POSIX.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Separator between the output folder and a file name in paths that the
// tool forms and shows: '\\' on Windows, '/' elsewhere.
char pathSeparator();

// Creates a folder; an existing folder is fine and a failure shows up only
// when a file in it cannot be opened.
void makeFolder(const char* name);

// Files by the names the programs were given: every program opens,
// creates, renames and removes files through these, never directly.
FILE* openFile(const char* path, const char* mode);
// Creates a file that does not exist yet and opens it for writing bytes;
// nullptr when it exists or cannot be made.
FILE* createNewFile(const char* path);
// Renames from over to, replacing to if it exists, in one step where the
// system allows.
bool replaceFile(const char* from, const char* to);
bool removeFile(const char* path);
// True when both names lead to one existing file, however spelled or
// linked.
bool sameFile(const char* a, const char* b);

// What a name leads to, links followed: Other is a FIFO, a device, a
// socket; Unknown, a name that cannot be looked at (no permission).
enum class FileKind { Missing, Regular, Folder, Other, Unknown };
FileKind fileKind(const char* path);

// True when both files exist and a was last written after b.
bool modifiedAfter(const char* a, const char* b);

// Opens a file to read its bytes only when it is a regular file: a FIFO,
// a device or a socket is never waited on (on POSIX it is opened without
// blocking and looked at before any read). outcome says why on nullptr.
enum class InputOpen { Opened, Missing, Folder, NotAFile, Failed };
FILE* openInputFile(const char* path, InputOpen& outcome);

// The file a name finally leads to: every symbolic link on the way
// replaced by its target (a name that is no link comes back as it is).
std::string followLinks(const std::string& path);
// Gives the open file the permission bits of the file at path (POSIX);
// false when they could not be read or set.
bool copyPermissions(FILE* file, const char* path);
// Flushes the stream and makes the system put its bytes on the disk
// (fsync, FlushFileBuffers); false on failure.
bool flushToDisk(FILE* file);

// Why the last call here or to the C library that failed did, as far as a
// user can act on it: errno (on Windows the calls above that use the
// system's own functions set errno from GetLastError as they fail).
enum class SystemReason { Unknown, NoSpace, NoPermission, ReadOnly, TooLarge, NoFolder };
SystemReason lastSystemReason();

// Makes a rename in the folder of path durable (POSIX: fsync of the
// folder); failures are ignored, the rename itself has succeeded.
void syncFolderOf(const std::string& path);

// The name of a program's executable on this system: "brelquim-png" on
// POSIX, "brelquim-png.exe" on Windows.
std::string executableName(const char* program);

// The program's arguments, as the programs take them, in the form the
// file functions above take names: on POSIX argc and argv as main got
// them; on Windows the command line as the system holds it (UTF-16), in
// UTF-8, so that any name Windows can hold reaches the files whole.
class CommandLine {
public:
    CommandLine(int argc, char** argv);
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;
    int argc() const { return count; }
    char** argv() const { return values; }

private:
    int count;
    char** values;
    // The arguments in UTF-8 and the pointers handed out (Windows only).
    std::vector<std::string> storage;
    std::vector<char*> pointers;
};

// Prints text on standard output as its bytes are, never converted for
// the console: paths and other names the user gave, which already come in
// the console's own encoding. On Windows the name (UTF-8, as CommandLine
// gives it) is shown whole on a console, and in the ANSI code page when
// output is redirected, as the programs have always written it.
void printVerbatim(const char* text);

// Prints text that came from a file (a ROM image's title) like the tool's
// own text. On a terminal or console its control characters are shown as
// \xNN, so that a file cannot act on the screen; redirected output gets
// the bytes as they are.
void printFromFile(const char* text);

// For its lifetime, makes the console show the tool's Windows-1252 text as
// written. The bytes the tool writes never change: on Windows, when
// standard output is a console, its output code page is 1252 and the
// previous one comes back at the end; on POSIX, when standard output is a
// terminal whose locale uses UTF-8, the text reaches it converted to UTF-8.
// Output to a file or a pipe passes untouched. One per run, made first in
// main, so that everything printed goes through it.
class ConsoleTextScope {
public:
    ConsoleTextScope();
    ~ConsoleTextScope();
    ConsoleTextScope(const ConsoleTextScope&) = delete;
    ConsoleTextScope& operator=(const ConsoleTextScope&) = delete;

private:
    // What the constructor changed, for the destructor to put back: the
    // console's code page on Windows (0 for none), the real standard output
    // stream on POSIX (nullptr for none).
    // Each platform uses one of the two.
    [[maybe_unused]] unsigned int savedCodePage = 0;
    [[maybe_unused]] FILE* realStdout = nullptr;
};

