// Digests of exported bytes, computed by nettle: SHA-256 for the content
// policy of index.html (the page lets its own script run by the script's
// hash), MD5 for the ENEX file, where a note's content names each of its
// resources by the MD5 of the resource's bytes.
#pragma once

#include <stdint.h>

#include <array>
#include <string>

namespace exporter {

std::array<uint8_t, 32> Sha256(const std::string& bytes);
// Lower-case hexadecimal, as ENML's en-media hash is written.
std::string Md5Hex(const std::string& bytes);

}  // namespace exporter
