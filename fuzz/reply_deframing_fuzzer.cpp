// Arbitrary bytes arriving on the serial line after each kind of request:
// the framer must never read or write past its 67-byte buffer, and an
// option-board frame it completes with its header must end where its length
// byte says (or, when that lies beyond the buffer, hold just the head).
#include "radiolink/server/replyframer.h"

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
        const auto state = framer.Feed(data[i]);
        if (state == radioserver::ReplyFramer::State::Complete ||
            state == radioserver::ReplyFramer::State::Failed)
            break;
    }
    if (framer.Length() > buffer.size())
        std::abort();
    const bool withHeader = buffer[0] == 0xFF && buffer[1] == 0x8F && buffer[2] == 0x00;
    if (framer.Current() == radioserver::ReplyFramer::State::Complete && request[0] == 0xFF &&
        withHeader) {
        const std::size_t claimed = static_cast<std::size_t>(buffer[3]) + 4;
        if (framer.Length() != (claimed <= buffer.size() ? claimed : 4))
            std::abort();
    }
    return 0;
}
