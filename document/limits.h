// The limits of a document and of what the editors admit, in one place: the
// dialogs, the JSON import, the summary, the image builder and the radio
// model table read them here.
#pragma once

#include "document/records.h"
#include "radios/boardmemory.h"

#include <cstddef>
#include <string_view>

namespace limits {

// What the editors let a document hold (the lists themselves hold 17).
constexpr int kMaxSites = 16;
constexpr int kMaxChannelsPerSite = 16;
constexpr int kMaxBanks = boardmemory::MaxBanks;
// The option board's channel table.
constexpr int kMaxDistinctChannels = boardmemory::ChannelSlots;
// The highest system ID of an address code.
constexpr int kMaxSystemId = 31;
// Bytes per read and write packet that the program asks of the library.
constexpr int kPacketSize = 16;

// Characters the editors admit in each text field. Most fields take what
// their record holds; the primary paging code and the PTT number take less.
template <typename Field> constexpr std::size_t Holds = Field::kMaxLength;
constexpr std::size_t kEsn = Holds<decltype(TGlobalData::EsnText)>;
constexpr std::size_t kDialString = Holds<decltype(TSdData::Number)::value_type>;
constexpr std::size_t kPassword = Holds<decltype(TProductData::Password)>;
constexpr std::size_t kProductText = Holds<decltype(TProductData::ProductName)>;
constexpr std::size_t kFrequency = Holds<decltype(TRfChannel::TxFrequency)>;
constexpr std::size_t kTone = Holds<decltype(TRfChannel::TxCtcss)>;
constexpr std::size_t kSiteName = Holds<decltype(TRfSite::Name)>;
constexpr std::size_t kBankName = Holds<decltype(TBankData::Name)>;
constexpr std::size_t kSystemId = Holds<decltype(TBankData::SystemId)>;
constexpr std::size_t kPrimaryPagingCode = 4;
constexpr std::size_t kActionPagingCode = Holds<decltype(TBankData::PttPagingCode)>;
constexpr std::size_t kPttNumber = 8;
constexpr std::size_t kButtonNumber = Holds<decltype(TBankData::ButtonNumber)>;
constexpr std::size_t kReceiveGroups = Holds<decltype(TBankData::ReceiveGroups)>;

} // namespace limits
