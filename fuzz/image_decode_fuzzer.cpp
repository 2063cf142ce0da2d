// Board memories for the image decoder: it must never fail, and when it
// calls the bytes clean, the document it gives must build exactly them.
//
// The first byte chooses how the input becomes a memory: even, the input is
// the memory itself; odd, the image of a random document (seeded from the
// next four bytes) with the rest of the input as (address, value) patches,
// the speed dial copy and the checksum then made to agree. The second way
// keeps most mutations near images the builder makes, where the round-trip
// check has something to check.
#include "programming/image.h"
#include "readback/imagedecoder.h"
#include "support/random_document.h"

#include <algorithm>
#include <cstdlib>

namespace {

void MakeDerivedPartsAgree(TOptionImage& image) {
    using namespace boardmemory;
    std::copy_n(image.begin() + SpeedDial, SpeedDialSize, image.begin() + SpeedDialCopy);
    const std::size_t checksum = ChecksumHeader + checksumheader::Checksum;
    unsigned sum = 0;
    for (std::size_t i = ChecksumHeader; i < Reserved; ++i)
        if (i != checksum)
            sum += image[i];
    image[checksum] = static_cast<std::uint8_t>((256 - sum % 256) % 256);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TOptionImage image{};
    if (size >= 5 && (data[0] & 0x01) != 0) {
        const unsigned seed =
            data[1] | (data[2] << 8) | (data[3] << 16) | (unsigned{data[4]} << 24);
        sample::RandomDocuments documents(seed);
        if (BuildImage(image, documents.Next((data[0] & 0x02) != 0)) != buildresult::Ok)
            return 0;
        for (std::size_t i = 5; i + 2 < size; i += 3)
            image[((data[i] << 8) | data[i + 1]) % image.size()] = data[i + 2];
        MakeDerivedPartsAgree(image);
    } else {
        std::copy_n(data, std::min(size, image.size()), image.begin());
    }
    const DecodedImage decoded = DecodeImage(image);
    if (!decoded.Document)
        std::abort();
    if (!decoded.Clean())
        return 0;
    TOptionImage again;
    if (BuildImage(again, *decoded.Document) != buildresult::Ok || again != image)
        std::abort();
    return 0;
}
