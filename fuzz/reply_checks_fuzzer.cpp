// Arbitrary reply buffers given to the library's reply checks: a read never
// copies more than it asked for (the destination is exactly that large, so
// the sanitizer sees any overrun), and success needs a well-formed frame.
#include "radiolink/frame.h"
#include "radiolink/protocol.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::int32_t expected = data[0] % 57;
    std::array<std::uint8_t, 67> reply{};
    std::memcpy(reply.data(), data + 1, std::min<std::size_t>(size - 1, reply.size()));

    // new[] gives a real (never null) buffer even for 0 bytes: null would
    // ask for a write check instead.
    const std::unique_ptr<std::uint8_t[]> destination(new std::uint8_t[expected]);
    const std::int32_t read = tarvo::CheckDataReply(reply.data(), destination.get(), expected);
    const std::int32_t write = tarvo::CheckDataReply(reply.data(), nullptr, 0);
    if (read == 0 || write == 0) {
        const std::size_t length = reply[3];
        if (reply[0] != 0xFF || reply[1] != 0x8F || reply[2] != 0 || length + 3 >= 67 ||
            reply[length + 3] != frame::LinkCheck(reply.data(), length + 3))
            std::abort();
    }
    if (read == 0 && reply[6] != frame::kStatusData)
        std::abort();
    if (write == 0 && reply[6] != frame::kStatusWritten)
        std::abort();

    std::array<std::uint8_t, 62> board{};
    tarvo::CheckBoardReply(reply.data(), board.data());
    std::array<char, 10> esn{};
    tarvo::CheckEsnReply(reply.data(), esn.data());
    return 0;
}
