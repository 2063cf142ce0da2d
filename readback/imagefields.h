// The fields of the option-board image by address, so that a difference
// between the board and an image is named by what it means ("bank record 15,
// name"), not only by where it lies.
#pragma once

#include "programming/image.h"

#include <cstddef>
#include <string>
#include <vector>

struct ImageField {
    std::string Block; // "header", "bank record 15", "channel record 3", ...
    std::string Name;  // "name", "receive frequency", ...
    std::size_t Start = 0;
    std::size_t Size = 0;

    // "bank record 15, name"
    std::string Describe() const;
    friend bool operator==(const ImageField&, const ImageField&) = default;
};

// The field that holds the byte at `address` (0..2255).
ImageField FieldAt(std::size_t address);
// The block that holds it: "header", "speed dial", "PTT number table",
// "checksum area header", "bank records", "channel table", "reserved",
// "speed dial copy".
const char* BlockAt(std::size_t address);

// One stretch of differing bytes inside one field.
struct ImageDifference {
    ImageField Field;
    std::size_t First = 0; // addresses, inclusive
    std::size_t Last = 0;
};

// Every stretch of bytes where `a` and `b` differ, split at field borders.
std::vector<ImageDifference> CompareImages(const TOptionImage& a, const TOptionImage& b);

// "address 300 (0x12C)" or "addresses 1054..1056 (0x41E..0x420)".
std::string DescribeAddresses(const ImageDifference& difference);
