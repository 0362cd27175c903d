#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Removes the scratch files when the fuzzer process ends.
class ScratchFiles {
public:
    ~ScratchFiles() {
        for (const auto& entry : paths) std::remove(entry.second.c_str());
    }
    std::map<std::string, std::string> paths;
};

std::string scratchFolder() {
    struct stat info;
    if (stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) && access("/dev/shm", W_OK) == 0) return "/dev/shm";
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

}  // namespace

void fuzzCheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "fuzz check failed: %s at %s:%d\n", condition, file, line);
    std::abort();
}

const std::string& scratchPath(const char* name) {
    static ScratchFiles files;
    std::string& path = files.paths[name];
    if (path.empty()) {
        path = scratchFolder() + "/brelquim-fuzz-" + std::to_string(getpid()) + "-" + name;
    }
    return path;
}

// Written over in place and then cut to length: emptying the file first
// would hand its memory back to the system only to take it again.
void writeScratch(const std::string& path, const uint8_t* bytes, size_t length) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0600);
    if (fd < 0) fuzzCheckFailed("scratch file can be written", __FILE__, __LINE__);
    size_t done = 0;
    while (done < length) {
        const ssize_t wrote = write(fd, bytes + done, length - done);
        if (wrote <= 0) fuzzCheckFailed("scratch file written whole", __FILE__, __LINE__);
        done += static_cast<size_t>(wrote);
    }
    if (ftruncate(fd, static_cast<off_t>(length)) != 0 || close(fd) != 0) {
        fuzzCheckFailed("scratch file written whole", __FILE__, __LINE__);
    }
}

void silenceConsole() {
    if (!std::freopen("/dev/null", "w", stdout)) fuzzCheckFailed("stdout to /dev/null", __FILE__, __LINE__);
}

uint8_t FuzzInput::byte() {
    if (left == 0) return 0;
    --left;
    return *at++;
}

uint16_t FuzzInput::word() {
    const uint16_t low = byte();
    return static_cast<uint16_t>(low | byte() << 8);
}

uint32_t FuzzInput::long24() {
    const uint32_t low = word();
    return low | uint32_t{byte()} << 16;
}

uint32_t FuzzInput::dword() {
    const uint32_t low = word();
    return low | uint32_t{word()} << 16;
}

std::vector<uint8_t> FuzzInput::bytes(size_t count) {
    if (count > left) count = left;
    std::vector<uint8_t> taken(at, at + count);
    at += count;
    left -= count;
    return taken;
}

std::vector<uint8_t> FuzzInput::rest() {
    return bytes(left);
}
