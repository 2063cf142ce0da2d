// The inverse of the image builder: the 2256 bytes of an option board back
// into an editable document. For every image the builder makes from a
// document, building the decoded document gives the same bytes again.
#pragma once

#include "document/records.h"
#include "programming/image.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct DecodeFinding {
    enum class Type {
        // Something a document holds that no image carries (site names, the
        // password, ...): the decoded document has a stand-in.
        NotCarried,
        // Bytes that no document makes: the decoded document holds what
        // could be read, and building it gives other bytes there.
        Unproducible,
    };
    Type Kind = Type::Unproducible;
    std::string Where; // "bank record 3, PTT action", "channel record 7", ...
    std::string What;

    // "Where: What"
    std::string Text() const;
};

struct DecodedImage {
    std::unique_ptr<TBoardData> Document;
    std::vector<DecodeFinding> Findings;

    // No byte that a document cannot make.
    bool Clean() const;
    std::vector<const DecodeFinding*> Problems() const;
};

// The byte an erased board is filled with (0xFF or 0x00) when every byte of
// the image is that byte.
std::optional<std::uint8_t> ErasedFill(const TOptionImage& image);

// What a board holds, in one or two lines: an erased board, a
// configuration (its radio, sites and banks), or bytes that no document
// makes (how many fields, the first of them).
std::vector<std::string> DescribeBoardContent(const TOptionImage& image);

// Decodes an image. The sites are rebuilt from the banks' channel lists in
// an order that gives back the channel table's order, named "Site 1", ...;
// channels that no bank uses go into sites of their own, "Unused channels".
// The product is a pair of the model table that the header's model bit fits.
DecodedImage DecodeImage(const TOptionImage& image);

// Names the decoded document's sites after those of `original`, through
// the banks: a decoded site takes the name of the original site of the
// first bank that uses it. Sites no bank uses keep their names.
void NameSitesAfter(TBoardData& decoded, const TBoardData& original);
