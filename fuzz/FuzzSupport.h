// What the fuzz targets share: a scratch file of their own, a console that
// does not flood the fuzzer's output, a reader that takes fields from the
// fuzzer's bytes, and a check that stops the run with the input saved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Aborts (libFuzzer then saves the input as a crash) when cond is false.
#define FUZZ_CHECK(cond)                                                    \
    do {                                                                    \
        if (!(cond)) fuzzCheckFailed(#cond, __FILE__, __LINE__);            \
    } while (0)

[[noreturn]] void fuzzCheckFailed(const char* condition, const char* file, int line);

// Path of a scratch file of this process (in /dev/shm when there is one),
// named after name; removed when the process ends.
const std::string& scratchPath(const char* name);
void writeScratch(const std::string& path, const uint8_t* bytes, size_t length);

// The tool's messages go to standard output; a fuzzer run sends them to
// /dev/null so that its own report on standard error stays readable.
void silenceConsole();

// Takes fields from the front of the fuzzer's bytes; a field that runs off
// the end reads as zeros.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : at(data), left(size) {}

    uint8_t byte();
    uint16_t word();     // little-endian
    uint32_t long24();   // little-endian, 3 bytes
    uint32_t dword();    // little-endian
    std::vector<uint8_t> bytes(size_t count);  // at most what is left
    std::vector<uint8_t> rest();
    bool empty() const { return left == 0; }

private:
    const uint8_t* at;
    size_t left;
};
