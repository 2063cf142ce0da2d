// Arbitrary bytes arriving on the serial line after each kind of request:
// the framer must never read or write past its 67-byte buffer, and a frame
// it completes must start with the expected header and fit the buffer.
#include "server/replyframer.h"

#include <array>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static constexpr std::uint8_t kRequests[][2] = {{0xFF, 0x2F}, {0xF2, 0x23}, {0xF4, 0x22}};
    const auto& request = kRequests[data[0] % 3];
    std::array<std::uint8_t, 67> buffer{};
    radioserver::ReplyFramer framer(request, buffer);
    for (std::size_t i = 1; i < size; ++i) {
        // A byte value of 0xA5 after a 0x5A stands for a pause on the line.
        if (data[i] == 0xA5 && data[i - 1] == 0x5A) {
            framer.Pause();
            continue;
        }
        if (framer.Feed(data[i]) != radioserver::ReplyFramer::State::Searching &&
            framer.Current() != radioserver::ReplyFramer::State::Reading)
            break;
    }
    if (framer.Length() > buffer.size())
        std::abort();
    if (framer.Current() == radioserver::ReplyFramer::State::Complete) {
        if (buffer[0] != (request[0] == 0xFF ? 0xFF : 0xFC))
            std::abort();
        if (request[0] == 0xFF && framer.Length() != static_cast<std::size_t>(buffer[3]) + 4)
            std::abort();
    }
    return 0;
}
