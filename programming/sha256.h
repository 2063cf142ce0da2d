// SHA-256 (FIPS 180-4), the checksum by which the programming log and the
// configuration sheet name an image: two boards with the same checksum hold
// the same bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::span<const std::uint8_t> bytes);
