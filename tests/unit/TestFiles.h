// Small files for unit tests and what a call prints.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

// A fresh folder of its own under the system's temporary folder, removed
// with everything in it at the end. Unique across processes too, so tests
// may run in parallel.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder = std::filesystem::temp_directory_path() /
                 ("brelquim-test-" + std::to_string(stamp) + "-" + std::to_string(std::random_device{}()) + "-" +
                  std::to_string(counter++));
        std::filesystem::create_directories(folder);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& dir() const { return folder; }
    std::string path(const std::string& name) const { return (folder / name).string(); }
    // A path in the folder of exactly length characters, the name padded
    // with 'x': the longest a path field takes is 255.
    std::string pathOfLength(size_t length) const {
        const std::string prefix = path("");
        return prefix + std::string(length - prefix.size(), 'x');
    }

    // Writes the bytes as they are and gives the file's path.
    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(path(name), std::ios::binary) << content;
        return path(name);
    }
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        return write(name, std::string(bytes.begin(), bytes.end()));
    }

private:
    std::filesystem::path folder;
};

// What the call prints on standard output, byte for byte.
template <class Call>
std::string printedBy(Call&& call) {
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    call();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}
