// The new image and its patch change together: a write that fails in
// either file leaves both targets as they were and no file behind.
#include "insertion/NewImage.h"
#include "tests/unit/TestFiles.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <random>

namespace {

#ifndef _WIN32

// Keeps every file this process writes under a size for its lifetime.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        active = bytes != 0 && setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        if (active) setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
    }
    bool holds() const { return active; }

private:
    rlimit saved{};
    void (*previous)(int) = SIG_DFL;
    bool active = false;
};

// A 32 KiB image whose every byte changed: its IPS patch, one record of
// all the bytes, is a few bytes longer than the image, so a size limit
// between the two fails the patch alone, after the image was written.
constexpr size_t IMAGE_BYTES = 0x8000;
constexpr size_t IPS_OVERHEAD = 5 + 3 + 2 + 3;  // "PATCH", offset, length, "EOF"

struct Limited {
    const char* situation;
    rlim_t limit;  // 0: none
    NewImageWrite::Outcome outcome;
};

const Limited CASES[] = {
    {"nothing fails", 0, NewImageWrite::Written},
    {"the image does not fit", IMAGE_BYTES / 2, NewImageWrite::ImageNotWritten},
    {"the image fits and the patch after it does not", IMAGE_BYTES + 4, NewImageWrite::PatchNotWritten},
};

TEST(NewImage, AFailureInEitherFileLeavesBothTargetsAsTheyWere) {
    std::mt19937 random(26);
    std::vector<uint8_t> original(IMAGE_BYTES), changed(IMAGE_BYTES);
    for (size_t i = 0; i < IMAGE_BYTES; ++i) {
        original[i] = static_cast<uint8_t>(random());
        changed[i] = static_cast<uint8_t>(original[i] ^ (1 + random() % 255));
    }
    for (const Limited& c : CASES) {
        SCOPED_TRACE(c.situation);
        TempFolder folder;
        const std::string image = folder.path("new.sfc"), patch = folder.path("new.ips");
        RomImage rom;
        ASSERT_EQ(rom.assign(changed.data(), changed.size()), 0);
        NewImageWrite written;
        {
            FileSizeLimit limit(c.limit);
            ASSERT_EQ(limit.holds(), c.limit != 0);
            written = writeNewImage(rom, image, patch, original);
        }
        EXPECT_EQ(written.outcome, c.outcome);
        size_t files = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.dir())) ++files;
        EXPECT_EQ(files, c.outcome == NewImageWrite::Written ? 2u : 0u);
        // What the last row stands on: the patch is the larger file.
        if (c.outcome == NewImageWrite::Written) {
            EXPECT_EQ(written.patchSize, IMAGE_BYTES + IPS_OVERHEAD);
        }
    }
}

// /dev/stdout on a pipe is a link to /proc/self/fd/1, whose own link names
// no file ("pipe:[N]"): refused at once, like every target that is no
// regular file, with no temporary file tried.
TEST(ReplacingFile, APipeReachedThroughALinkIsNoRegularFile) {
    if (!std::filesystem::exists("/proc/self/fd")) GTEST_SKIP() << "no /proc";
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const std::string name = "/proc/self/fd/" + std::to_string(ends[1]);
    const char byte = 'x';
    EXPECT_EQ(ReplacingFile::replaceWith(name, &byte, 1), ReplacingFile::Outcome::NotAFile);
    ReplacingFile file(name);
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(file.finish());
    close(ends[0]);
    close(ends[1]);
}

#endif

}  // namespace
