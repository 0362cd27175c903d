#include "platform/Platform.h"

#include "encoding/Encoding.h"

#include <cerrno>
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


#ifdef _WIN32

namespace {

constexpr UINT WINDOWS_1252 = 1252;

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

// A name as the wide-character functions take it: UTF-8, as CommandLine
// gives names, or else bytes in the ANSI code page.
std::wstring wide(const char* text) {
    std::u16string utf16;
    if (utf16FromUtf8(text, utf16)) return std::wstring(utf16.begin(), utf16.end());
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring converted(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &converted[0], length);
    converted.resize(static_cast<size_t>(length - 1));
    return converted;
}

}  // namespace

CommandLine::CommandLine(int argc, char** argv) : count(argc), values(argv) {
    int wideCount = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &wideCount);
    if (!arguments) return;
    for (int i = 0; i < wideCount; ++i) {
        storage.push_back(utf8FromUtf16(std::u16string(arguments[i], arguments[i] + wcslen(arguments[i]))));
    }
    LocalFree(arguments);
    for (std::string& argument : storage) pointers.push_back(&argument[0]);
    pointers.push_back(nullptr);
    count = wideCount;
    values = pointers.data();
}

void printVerbatim(const char* text) {
    const std::wstring name = wide(text);
    const HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    if (isConsole(console)) {
        std::fflush(stdout);
        DWORD written = 0;
        WriteConsoleW(console, name.data(), static_cast<DWORD>(name.size()), &written, nullptr);
        return;
    }
    const int length = WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return;
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, &ansi[0], length, nullptr, nullptr);
    std::fputs(ansi.c_str(), stdout);
}

// The console shows the tool's text in code page 1252, where 0x80 to 0x9F
// are characters.
void printFromFile(const char* text) {
    const bool console = isConsole(GetStdHandle(STD_OUTPUT_HANDLE));
    std::fputs(console ? escapeControls(text, false).c_str() : text, stdout);
}

char pathSeparator() { return '\\'; }

void makeFolder(const char* name) { CreateDirectoryW(wide(name).c_str(), nullptr); }

FILE* openFile(const char* path, const char* mode) { return _wfopen(wide(path).c_str(), wide(mode).c_str()); }

FILE* createNewFile(const char* path) {
    const int fd = _wopen(wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    FILE* file = _fdopen(fd, "wb");
    if (!file) _close(fd);
    return file;
}

namespace {

// errno for the system's last error, so that lastSystemReason reads one
// value on both systems; false, for the caller to return.
bool failedWithLastError() {
    switch (GetLastError()) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: errno = ENOSPC; break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION: errno = EACCES; break;
        case ERROR_WRITE_PROTECT: errno = EROFS; break;
        case ERROR_FILE_TOO_LARGE: errno = EFBIG; break;
        case ERROR_PATH_NOT_FOUND: errno = ENOENT; break;
        default: errno = EIO; break;
    }
    return false;
}

}  // namespace

bool replaceFile(const char* from, const char* to) {
    return MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
           failedWithLastError();
}

bool removeFile(const char* path) { return DeleteFileW(wide(path).c_str()) != 0; }

namespace {

bool identify(const char* path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE file = CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
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

bool modifiedAfter(const char* a, const char* b) {
    WIN32_FILE_ATTRIBUTE_DATA first, second;
    if (!GetFileAttributesExW(wide(a).c_str(), GetFileExInfoStandard, &first) ||
        !GetFileAttributesExW(wide(b).c_str(), GetFileExInfoStandard, &second)) {
        return false;
    }
    return CompareFileTime(&first.ftLastWriteTime, &second.ftLastWriteTime) > 0;
}

FileKind fileKind(const char* path) {
    const HANDLE file = CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileKind::Missing : FileKind::Unknown;
    }
    const DWORD type = GetFileType(file);
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (type != FILE_TYPE_DISK) return FileKind::Other;
    if (known && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return FileKind::Folder;
    return FileKind::Regular;
}

FILE* openInputFile(const char* path, InputOpen& outcome) {
    switch (fileKind(path)) {
        case FileKind::Missing: outcome = InputOpen::Missing; return nullptr;
        case FileKind::Folder: outcome = InputOpen::Folder; return nullptr;
        case FileKind::Other: outcome = InputOpen::NotAFile; return nullptr;
        case FileKind::Regular:
        case FileKind::Unknown: break;
    }
    errno = 0;
    FILE* file = openFile(path, "rb");
    outcome = file ? InputOpen::Opened : errno == ENOENT ? InputOpen::Missing : InputOpen::Failed;
    return file;
}

std::string followLinks(const std::string& path) { return path; }

bool copyPermissions(FILE*, const char*) { return true; }

bool flushToDisk(FILE* file) {
    if (std::fflush(file) != 0) return false;
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) != 0 || failedWithLastError();
}

void syncFolderOf(const std::string&) {}

std::string executableName(const char* program) { return std::string(program) + ".exe"; }

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

// Standard output itself while ConsoleTextScope converts the text for a
// UTF-8 terminal; nullptr otherwise.
FILE* unconvertedStdout = nullptr;

}  // namespace

CommandLine::CommandLine(int argc, char** argv) : count(argc), values(argv) {}

#ifdef __GLIBC__
// The static C++ runtime's std::random_device refers to arc4random, which
// glibc has only since 2.36, and that one reference would keep every
// program from starting on an older system. No program uses
// std::random_device; this definition, over getentropy (glibc 2.25), takes
// the reference instead of glibc's.
extern "C" uint32_t arc4random() noexcept {
    uint32_t value = 0;
    if (getentropy(&value, sizeof value) != 0) std::abort();
    return value;
}
#endif

void printVerbatim(const char* text) {
    if (!unconvertedStdout) {
        std::fputs(text, stdout);
        return;
    }
    std::fflush(stdout);  // the converted text printed before it
    std::fputs(text, unconvertedStdout);
}

// A terminal that does not use UTF-8 gets the bytes as they are, where 0x80
// to 0x9F may be its C1 controls.
void printFromFile(const char* text) {
    const bool terminal = isatty(STDOUT_FILENO) != 0;
    std::fputs(terminal ? escapeControls(text, unconvertedStdout == nullptr).c_str() : text, stdout);
}

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

bool modifiedAfter(const char* a, const char* b) {
    struct stat first, second;
    if (stat(a, &first) != 0 || stat(b, &second) != 0) return false;
    if (first.st_mtim.tv_sec != second.st_mtim.tv_sec) return first.st_mtim.tv_sec > second.st_mtim.tv_sec;
    return first.st_mtim.tv_nsec > second.st_mtim.tv_nsec;
}

FileKind fileKind(const char* path) {
    struct stat status;
    if (stat(path, &status) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? FileKind::Missing : FileKind::Unknown;
    }
    if (S_ISREG(status.st_mode)) return FileKind::Regular;
    return S_ISDIR(status.st_mode) ? FileKind::Folder : FileKind::Other;
}

FILE* openInputFile(const char* path, InputOpen& outcome) {
    errno = 0;
    // Without blocking: opening a FIFO for reading would otherwise wait for
    // a writer.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        outcome = errno == ENOENT ? InputOpen::Missing : errno == EISDIR ? InputOpen::Folder : InputOpen::Failed;
        return nullptr;
    }
    struct stat status;
    const bool looked = fstat(fd, &status) == 0;
    if (!looked || !S_ISREG(status.st_mode)) {
        outcome = !looked ? InputOpen::Failed : S_ISDIR(status.st_mode) ? InputOpen::Folder : InputOpen::NotAFile;
        close(fd);
        return nullptr;
    }
    const int flags = fcntl(fd, F_GETFL);
    FILE* file = flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 ? fdopen(fd, "rb") : nullptr;
    if (!file) {
        close(fd);
        outcome = InputOpen::Failed;
        return nullptr;
    }
    outcome = InputOpen::Opened;
    return file;
}

std::string followLinks(const std::string& path) {
    // As many links as the system itself follows in one name.
    constexpr int MOST_LINKS = 40;
    std::string current = path;
    for (int n = 0; n < MOST_LINKS; ++n) {
        struct stat status;
        if (lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return current;
        // A link's size is its target's length (0 on some file systems).
        std::string target(status.st_size > 0 ? static_cast<size_t>(status.st_size) + 1 : 4096, '\0');
        const ssize_t length = readlink(current.c_str(), &target[0], target.size());
        if (length < 0 || static_cast<size_t>(length) >= target.size()) return current;
        target.resize(static_cast<size_t>(length));
        const size_t slash = current.rfind('/');
        if (target[0] != '/' && slash != std::string::npos) target = current.substr(0, slash + 1) + target;
        current = target;
    }
    return current;
}

bool copyPermissions(FILE* file, const char* path) {
    struct stat status;
    if (stat(path, &status) != 0) return false;
    const int fd = fileno(file);
    // The owner too, where the system lets this process give it.
    [[maybe_unused]] const int owned = fchown(fd, status.st_uid, status.st_gid);
    return fchmod(fd, status.st_mode & 07777) == 0;
}

bool flushToDisk(FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

void syncFolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    [[maybe_unused]] const int synced = fsync(fd);
    close(fd);
}

std::string executableName(const char* program) { return program; }

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
    unconvertedStdout = stdout;
    stdout = converting;
}

ConsoleTextScope::~ConsoleTextScope() {
    if (!realStdout) return;
    FILE* converting = stdout;
    stdout = realStdout;
    unconvertedStdout = nullptr;
    std::fclose(converting);
    std::fflush(stdout);
}

#endif

SystemReason lastSystemReason() {
    switch (errno) {
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return SystemReason::NoSpace;
        case EACCES:
        case EPERM: return SystemReason::NoPermission;
        case EROFS: return SystemReason::ReadOnly;
        case EFBIG: return SystemReason::TooLarge;
        case ENOENT:
        case ENOTDIR: return SystemReason::NoFolder;
        default: return SystemReason::Unknown;
    }
}
