// Inputs of the text benchmarks: a table of 500 entries of two bytes each
// (besides an end token, a line break and a control code), strings read
// through it, and the 4 MiB sample with 20 000 of those strings added.
#pragma once

#include "text/StringSurvey.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr size_t BENCH_TABLE_ENTRIES = 500;
constexpr uint32_t BENCH_STRING_COUNT = 20000;

// The table file (UTF-8, LF): end token FF, line break FE, control code
// FD with one parameter byte, and 497 entries of two bytes whose texts are
// one to three characters, accented letters among them.
const std::string& benchTableFile();

// count strings of 4 to 18 pieces (entries, now and then a line break or
// a control code with its parameter), each ending with the end token; the
// same for the same count on every run.
std::vector<std::vector<uint8_t>> benchStrings(uint32_t count);

// The large sample with one table of 24-bit pointers to BENCH_STRING_COUNT
// strings, the pointers and strings in the room its graphics leave (no
// string across a bank), and its checksum made true again.
struct BenchTextImage {
    std::vector<uint8_t> image;
    PointerTable pointers;
    uint64_t stringBytes = 0;
};
const BenchTextImage& benchTextImage();
