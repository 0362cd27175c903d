#include "platform/Platform.h"

#include <cstdint>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Unicode code points of the bytes 0x80 to 0x9F in Windows-1252, where it
// differs from ISO 8859-1; 0 marks the bytes it leaves undefined.
constexpr uint16_t WINDOWS_1252_HIGH_CONTROLS[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 0x88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 0x98
};
constexpr uint16_t REPLACEMENT_CHARACTER = 0xFFFD;

uint16_t codePointOf(unsigned char byte) {
    if (byte < 0x80 || byte >= 0xA0) return byte;
    const uint16_t codePoint = WINDOWS_1252_HIGH_CONTROLS[byte - 0x80];
    return codePoint != 0 ? codePoint : REPLACEMENT_CHARACTER;
}

// Code points of this table all lie below U+10000: one to three bytes.
void appendUtf8(std::string& out, uint16_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace

std::string windows1252ToUtf8(const char* text, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) appendUtf8(out, codePointOf(static_cast<unsigned char>(text[i])));
    return out;
}

CommandLine::CommandLine(int argc, char** argv) : count(argc), values(argv) {}

void printVerbatim(const char* text) { std::fputs(text, stdout); }

#ifdef _WIN32

namespace {

constexpr UINT WINDOWS_1252 = 1252;

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

}  // namespace

char pathSeparator() { return '\\'; }

void makeFolder(const char* name) { CreateDirectoryA(name, nullptr); }

FILE* openFile(const char* path, const char* mode) { return std::fopen(path, mode); }

FILE* createNewFile(const char* path) {
    const int fd = _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    FILE* file = _fdopen(fd, "wb");
    if (!file) _close(fd);
    return file;
}

bool replaceFile(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool removeFile(const char* path) { return DeleteFileA(path) != 0; }

namespace {

bool identify(const char* path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return known;
}

}  // namespace

bool sameFile(const char* a, const char* b) {
    BY_HANDLE_FILE_INFORMATION first, second;
    return identify(a, first) && identify(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

ConsoleTextScope::ConsoleTextScope() {
    if (!isConsole(GetStdHandle(STD_OUTPUT_HANDLE))) return;
    const UINT current = GetConsoleOutputCP();
    if (current == 0 || current == WINDOWS_1252) return;
    if (SetConsoleOutputCP(WINDOWS_1252)) savedCodePage = current;
}

ConsoleTextScope::~ConsoleTextScope() {
    if (savedCodePage == 0) return;
    std::fflush(stdout);
    SetConsoleOutputCP(savedCodePage);
}

#else

namespace {

bool namesUtf8(const char* codeset) {
    std::string name;
    for (const char* c = codeset; *c; ++c) {
        if (*c != '-') name += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    }
    return name == "utf8";
}

// The character set of the locale that the environment asks for. When that
// locale is not installed, the name in the environment still says what the
// terminal expects ("pt_BR.UTF-8").
bool localeUsesUtf8() {
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string saved = current ? current : "C";
    bool utf8 = false;
    if (std::setlocale(LC_CTYPE, "")) {
        utf8 = namesUtf8(nl_langinfo(CODESET));
    } else {
        for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            const char* value = std::getenv(variable);
            if (!value || !*value) continue;
            const char* dot = std::strchr(value, '.');
            utf8 = dot && namesUtf8(std::string(dot + 1, std::strcspn(dot + 1, "@")).c_str());
            break;
        }
    }
    std::setlocale(LC_CTYPE, saved.c_str());
    return utf8;
}

// Write function of the stream that stands in for standard output: the
// bytes go on to the real stream in UTF-8. Each byte converts on its own,
// so any split of the text into writes gives the same result.
ssize_t writeAsUtf8(void* realStdout, const char* bytes, size_t length) {
    FILE* out = static_cast<FILE*>(realStdout);
    const std::string text = windows1252ToUtf8(bytes, length);
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fflush(out) == 0 && written ? static_cast<ssize_t>(length) : 0;
}

}  // namespace

char pathSeparator() { return '/'; }

void makeFolder(const char* name) { mkdir(name, 0777); }

FILE* openFile(const char* path, const char* mode) { return std::fopen(path, mode); }

FILE* createNewFile(const char* path) {
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) return nullptr;
    FILE* file = fdopen(fd, "wb");
    if (!file) close(fd);
    return file;
}

bool replaceFile(const char* from, const char* to) { return std::rename(from, to) == 0; }

bool removeFile(const char* path) { return unlink(path) == 0; }

bool sameFile(const char* a, const char* b) {
    struct stat first, second;
    return stat(a, &first) == 0 && stat(b, &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

ConsoleTextScope::ConsoleTextScope() {
    if (!isatty(STDOUT_FILENO) || !localeUsesUtf8()) return;
    cookie_io_functions_t functions{};
    functions.write = writeAsUtf8;
    FILE* converting = fopencookie(stdout, "w", functions);
    if (!converting) return;
    // Line by line, as a terminal's standard output is.
    std::setvbuf(converting, nullptr, _IOLBF, BUFSIZ);
    std::fflush(stdout);
    realStdout = stdout;
    stdout = converting;
}

ConsoleTextScope::~ConsoleTextScope() {
    if (!realStdout) return;
    FILE* converting = stdout;
    stdout = realStdout;
    std::fclose(converting);
    std::fflush(stdout);
}

#endif
