// SHA-256 (FIPS 180-4), for the content policy of index.html: the page lets
// its own script run by the script's hash, and nothing else.
#pragma once

#include <stdint.h>

#include <array>
#include <string>

namespace exporter {

std::array<uint8_t, 32> Sha256(const std::string& bytes);

}  // namespace exporter
