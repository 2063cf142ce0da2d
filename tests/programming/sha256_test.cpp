// SHA-256 against the standard's examples and against lengths around the
// block edges, whose digests come from another implementation.
#include "programming/sha256.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Digest(const std::string& text) {
    return Sha256Hex({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

} // namespace

TEST(Sha256, StandardExamples) {
    EXPECT_EQ(Digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Digest(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, LengthsAroundTheBlockEdges) {
    const struct {
        std::size_t length;
        const char* digest;
    } cases[] = {
        {55, "e7313d333c272e639f790978283f9eb392e843d0f29b7016828bb1daa4aac70b"},
        {56, "4324d65f3c103567f5589c710bc08f8523f929a9272e3af36fc968e52abc6c27"},
        {63, "81c80242132f230c3bd41b3e63bbcff16107339549214a99614ff26664625055"},
        {64, "39e3d7b6b5d075d37d053ad89b24b41bef4f3c29760c84447cab3f3be1882241"},
        {119, "9ce7368e4daf32341631b492e80359dc9f594b48453cd0dd5bf0b19279cc177e"},
        {2256, "d0faade86168ab1f7c0cb9aa03b2ce534e260a145feb5be0e8fd28041f575d07"},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes(c.length);
        for (std::size_t i = 0; i < c.length; ++i)
            bytes[i] = static_cast<std::uint8_t>((i * 7 + 3) & 0xFF);
        EXPECT_EQ(Sha256Hex(bytes), c.digest) << c.length;
    }
}
