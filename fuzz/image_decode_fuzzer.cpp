// Any bytes as an option board's memory: the decoder must never fail, and
// when it calls the bytes clean, the document it gives builds exactly them.
// With an odd first byte the two derived parts (the speed dial copy and the
// checksum) are made to agree first, so that mutations reach the fields
// behind them instead of stopping at those checks.
#include "programming/image.h"
#include "programming/imagedecoder.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TOptionImage image{};
    std::copy_n(data, std::min(size, image.size()), image.begin());
    if (size > 0 && (data[0] & 0x01) != 0) {
        using namespace imagelayout;
        std::copy_n(image.begin() + SpeedDial, 80, image.begin() + SpeedDialCopy);
        unsigned sum = 0;
        for (std::size_t i = ChecksumHeader; i < Reserved; ++i)
            if (i != Checksum)
                sum += image[i];
        image[Checksum] = static_cast<std::uint8_t>((256 - sum % 256) % 256);
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
