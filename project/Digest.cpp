#include "project/Digest.h"

#include <sys/types.h>
#include <sha2.h>

std::string sha256Hex(const uint8_t* bytes, size_t length) {
    SHA2_CTX context;
    SHA256Init(&context);
    SHA256Update(&context, bytes, length);
    uint8_t digest[SHA256_DIGEST_LENGTH];
    SHA256Final(digest, &context);
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (const uint8_t byte : digest) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}
