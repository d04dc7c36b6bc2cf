#include "desktop/export/Digests.h"

#include <nettle/md5.h>
#include <nettle/sha2.h>

#include <stdio.h>

namespace exporter {

std::array<uint8_t, 32> Sha256(const std::string& bytes)
{
    sha256_ctx context;
    sha256_init(&context);
    sha256_update(&context, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
    std::array<uint8_t, 32> digest;
    sha256_digest(&context, digest.size(), digest.data());
    return digest;
}

std::string Md5Hex(const std::string& bytes)
{
    md5_ctx context;
    md5_init(&context);
    md5_update(&context, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
    uint8_t digest[MD5_DIGEST_SIZE];
    md5_digest(&context, sizeof digest, digest);
    std::string hex;
    char pair[3];
    for (uint8_t b : digest) {
        snprintf(pair, sizeof pair, "%02x", b);
        hex += pair;
    }
    return hex;
}

}  // namespace exporter
