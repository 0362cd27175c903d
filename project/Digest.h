// The SHA-256 digest a translation publishes of its images: computed by
// libmd (Debian's libmd-dev), written as 64 lowercase hexadecimal digits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

std::string sha256Hex(const uint8_t* bytes, size_t length);
