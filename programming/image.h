// The 2256-byte option-board image built from a document: byte n goes to
// option-board address n.
#pragma once

#include "document/limits.h"
#include "document/records.h"

#include <array>
#include <cstdint>

constexpr std::size_t kImageSize = 2256;
using TOptionImage = std::array<std::uint8_t, kImageSize>;

// Where the blocks of the image lie.
namespace imagelayout {
constexpr std::size_t Header = 0;
constexpr std::size_t SpeedDial = 16;
constexpr std::size_t PttNumbers = 96;
constexpr std::size_t ChecksumHeader = 128;
constexpr std::size_t Checksum = 143;
constexpr std::size_t Banks = 144;
constexpr std::size_t BankSize = 61;
constexpr std::size_t Channels = 1120;
constexpr std::size_t ChannelSize = 15;
constexpr int ChannelSlots = limits::kMaxDistinctChannels;
constexpr std::size_t Reserved = 2080;
constexpr std::size_t SpeedDialCopy = 2176;
constexpr int MaxBanks = limits::kMaxBanks;
} // namespace imagelayout

using TChannelRecord = std::array<std::uint8_t, imagelayout::ChannelSize>;

// BuildImage results.
namespace buildresult {
constexpr int Ok = 0;
constexpr int ProductRejected = 1;
// Never built here (the editors check frequencies); it has its message.
constexpr int InvalidFrequencies = 2;
constexpr int TooManyChannels = 3;
} // namespace buildresult

void ClearImage(TOptionImage& image);
TChannelRecord EncodeChannel(const TRfChannel& channel);
// The first of the `stored` slots of the channel table that holds this
// record, or -1.
int FindChannel(const TOptionImage& image, const TChannelRecord& record, int stored);
// Validates the product through the radio-link library and fills the image;
// on any failure the image is left empty.
int BuildImage(TOptionImage& image, const TBoardData& document);
