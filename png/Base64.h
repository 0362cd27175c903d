// Base64 text of bytes (RFC 4648, with padding), for data: URIs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

std::string base64(const uint8_t* bytes, size_t length);
