// The 2256-byte option-board image built from a document: byte n goes to
// option-board address n (radios/boardmemory.h names every byte).
#pragma once

#include "document/limits.h"
#include "document/records.h"
#include "radios/boardmemory.h"

#include <array>
#include <cstdint>

constexpr std::size_t kImageSize = boardmemory::kSize;
using TOptionImage = std::array<std::uint8_t, kImageSize>;

using TChannelRecord = std::array<std::uint8_t, boardmemory::ChannelSize>;

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
