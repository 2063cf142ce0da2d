#include "programming/image.h"

#include "document/limits.h"
#include "programming/encodings.h"
#include "radiolink/tarvodll.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace boardmemory;

namespace {

void PutWord24(std::uint8_t* dest, std::uint32_t value) {
    dest[0] = static_cast<std::uint8_t>((value >> 16) & 0xFF);
    dest[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    dest[2] = static_cast<std::uint8_t>(value & 0xFF);
}

void PutWord16(std::uint8_t* dest, std::uint16_t value) {
    dest[0] = static_cast<std::uint8_t>(value >> 8);
    dest[1] = static_cast<std::uint8_t>(value & 0xFF);
}

void FillPair(std::uint8_t* dest, bool on, std::uint8_t value) {
    dest[0] = dest[1] = on ? value : 0x00;
}

void BuildHeader(std::uint8_t* h, const TBoardData& document) {
    const TGlobalData& g = document.Global;
    FillPair(h + header::BusyDetect, g.BusyDetectCtcss == 1, 0xFF);
    FillPair(h + header::Conventional, g.ConventionalOperation == 1, 0xFF);
    h[header::MicrophoneAndModel] = static_cast<std::uint8_t>(
        (g.ExtMicDelayed == 1 ? 0x01 : 0) |
        (document.Product.ModelNumber.View().starts_with('P') ? 0x02 : 0));
    h[header::DisconnectBeep] = g.DisableDisconnectBeep != 1 ? 0x01 : 0x00;
    FillPair(h + header::ClearChannelAlert, g.ClearChannelAlert == 1, 0xFF);
    FillPair(h + header::RadioKill, g.DisableRadioKill == 1, 0x03);
    FillPair(h + header::UserProgramming, true,
             static_cast<std::uint8_t>((g.DisableUserProgramming == 0 ? 0x01 : 0) |
                                       (g.RestrictKeypadCalls == 0 ? 0x02 : 0)));
    FillPair(h + header::Spare, false, 0x00);
    FillPair(h + header::EndMark, true, 0xC3);
}

// The last four characters of the PTT number, right-aligned in nibbles 0..3
// of two bytes that start as FF FF.
void PackPttNumber(std::uint8_t* dest, std::string_view number) {
    dest[0] = dest[1] = 0xFF;
    const std::string_view last = number.substr(number.size() > 4 ? number.size() - 4 : 0);
    const int first = 4 - static_cast<int>(last.size());
    for (std::size_t i = 0; i < last.size(); ++i)
        SetNibble(dest, first + static_cast<int>(i), static_cast<unsigned>(last[i] - '0') & 0x0F);
}

unsigned BankSystemId(const TBankData& bank) {
    unsigned systemId = 0;
    if (std::sscanf(bank.SystemId.c_str(), "%u", &systemId) != 1 || systemId > 31)
        return 0;
    return systemId;
}

std::uint8_t SecureSpeechCode(std::int32_t scrambler) {
    // A value outside the list (the page stores -1 with nothing selected)
    // means no secure speech.
    if (scrambler < 0)
        return kSecureSpeechCodes[0];
    return kSecureSpeechCodes[scrambler % std::size(kSecureSpeechCodes)];
}

void BuildBank(std::uint8_t* record, const TBankData& bank, const TOptionImage& image,
               int storedChannels) {
    const unsigned sid = BankSystemId(bank);

    std::memset(record + bank::Name, ' ', bank::Name.Width);
    const auto name = bank.Name.View().substr(0, bank::Name.Width);
    std::memcpy(record + bank::Name, name.data(), name.size());

    std::uint8_t* button = record + bank::ButtonData;
    if (bank.ButtonGroup == 1) {
        record[bank::ButtonAction] = 0x0A;
        PackAddressCode(button, sid, addresskind::GroupAction, bank.ButtonPagingCode.View());
        std::memset(button + 3, 0x00, bank::ButtonData.Width - 3);
    } else if (bank.ButtonConnect == 1) {
        record[bank::ButtonAction] = static_cast<std::uint8_t>(ClampRoute(bank.ButtonRoute & 0xFF));
        PackDialString(button, bank.ButtonNumber.View(), record[bank::ButtonAction]);
    } else {
        record[bank::ButtonAction] = 0xFF;
        std::memset(button, 0xFF, bank::ButtonData.Width);
    }
    record[bank::EmergencyOverride] = bank.EmergencyOverride == 1 ? 0xFF : 0x00;
    record[bank::PriorityOverride] = bank.PriorityOverride == 1 ? 0xFF : 0x00;
    record[bank::SecureSpeech] = SecureSpeechCode(bank.Scrambler);
    PackAddressCode(record + bank::PrimaryAddress, sid, addresskind::PrimaryAddress,
                    bank.PagingCode.View());

    std::uint8_t* ptt = record + bank::PttAction;
    if (bank.PttGroup == 1) {
        PackAddressCode(ptt, sid, addresskind::GroupAction, bank.PttPagingCode.View());
    } else if (bank.PttConnect == 1) {
        ptt[0] = static_cast<std::uint8_t>(ClampRoute(bank.PttRoute & 0xFF) & 0x0F);
        PackPttNumber(ptt + 1, bank.PttNumber.View());
    } else {
        ptt[0] = 0x0F;
        ptt[1] = ptt[2] = 0x00;
    }

    // Receive groups: the first entry highest, then downwards.
    std::string_view groups = bank.ReceiveGroups.View();
    for (std::size_t entry = 0; entry < bank::ReceiveGroups.Width / 3; ++entry) {
        const int consumed = PackAddressCode(record + bank::FirstReceiveGroup - 3 * entry, sid,
                                             addresskind::ReceiveGroup, groups);
        groups.remove_prefix(std::min(groups.size(), static_cast<std::size_t>(consumed)));
    }
    if (bank.HornAlert == 1)
        record[bank::FirstReceiveGroup] |= 0xE0;

    std::size_t indices = 0;
    if (bank.Site != nullptr) {
        for (const auto& channel : bank.Site->Channels) {
            if (indices == bank::ChannelIndices.Width)
                break;
            const int slot = FindChannel(image, EncodeChannel(*channel), storedChannels);
            record[bank::ChannelIndices + indices++] = static_cast<std::uint8_t>(slot + 1);
        }
    }
    record[bank::ChannelCount] = static_cast<std::uint8_t>(indices);
}

} // namespace

void ClearImage(TOptionImage& image) {
    image.fill(0x00);
    std::fill_n(image.begin() + SpeedDial, SpeedDialSize, 0xFF);
    std::fill_n(image.begin() + PttNumbers, PttNumberEntry * MaxBanks, 0xFF);
    image[ChecksumHeader + checksumheader::Mark] = 0x0A;
    std::fill_n(image.begin() + SpeedDialCopy, SpeedDialSize, 0xFF);
}

TChannelRecord EncodeChannel(const TRfChannel& channel) {
    TChannelRecord record{};
    PutWord24(record.data() + channel::Transmit, EncodeFrequency(channel.TxFrequency.View()));
    PutWord24(record.data() + channel::Receive, EncodeFrequency(channel.RxFrequency.View()));
    PutWord16(record.data() + channel::TransmitTone, EncodeTone(channel.TxCtcss.View()));
    PutWord16(record.data() + channel::ReceiveTone, EncodeTone(channel.RxCtcss.View()));
    record[channel::SpacingAndQLift] = static_cast<std::uint8_t>(
        (channel.Spacing20k == 1 ? 0x02 : 0) | (channel.Spacing25k == 1 ? 0x04 : 0) |
        (channel.QLift == 1 ? 0x01 : 0));
    return record;
}

int FindChannel(const TOptionImage& image, const TChannelRecord& record, int stored) {
    for (int slot = 0; slot < stored && slot < ChannelSlots; ++slot)
        if (std::equal(record.begin(), record.end(),
                       image.begin() + static_cast<std::ptrdiff_t>(Channels + slot * ChannelSize)))
            return slot;
    return -1;
}

int BuildImage(TOptionImage& image, const TBoardData& document) {
    ClearImage(image);
    if (TarvoDllInit(document.Product.ProductName.c_str(), document.Product.ModelNumber.c_str(),
                     limits::kPacketSize, limits::kPacketSize) != 0) {
        ClearImage(image);
        return buildresult::ProductRejected;
    }

    BuildHeader(image.data() + Header, document);

    for (int i = 0; i < TSdData::kLocations; ++i) {
        const auto n = static_cast<std::size_t>(i);
        PackDialString(image.data() + SpeedDial + SpeedDialEntry * n,
                       document.SpeedDial.Number[n].View(),
                       static_cast<unsigned>(document.SpeedDial.Route[n]));
    }
    std::copy_n(image.begin() + SpeedDial, SpeedDialSize, image.begin() + SpeedDialCopy);

    const int banks = std::min(document.Banks.Count(), MaxBanks);
    for (int i = 0; i < banks; ++i)
        if (document.Banks[i].PttConnect != 0)
            PackPttNumber(image.data() + PttNumbers + PttNumberEntry * static_cast<std::size_t>(i),
                          document.Banks[i].PttNumber.View());

    if (document.Global.VerifyEsn == 1) {
        const auto esn = document.Global.EsnText.View().substr(0, checksumheader::Esn.Width);
        std::memcpy(image.data() + ChecksumHeader + checksumheader::Esn, esn.data(), esn.size());
    }
    image[ChecksumHeader + checksumheader::BankCount] =
        static_cast<std::uint8_t>(document.Banks.Count() & 0xFF);

    int stored = 0;
    for (const auto& site : document.Sites) {
        for (const auto& channel : site->Channels) {
            const TChannelRecord record = EncodeChannel(*channel);
            if (FindChannel(image, record, stored) >= 0)
                continue;
            if (stored == ChannelSlots) {
                ClearImage(image);
                return buildresult::TooManyChannels;
            }
            std::copy(record.begin(), record.end(),
                      image.begin() + static_cast<std::ptrdiff_t>(Channels + stored * ChannelSize));
            ++stored;
        }
    }

    for (int i = 0; i < banks; ++i)
        BuildBank(image.data() + Banks + BankSize * static_cast<std::size_t>(i), document.Banks[i],
                  image, stored);

    unsigned sum = 0;
    for (std::size_t i = ChecksumHeader; i < Reserved; ++i)
        sum += image[i];
    image[ChecksumHeader + checksumheader::Checksum] =
        static_cast<std::uint8_t>((256 - sum % 256) % 256);
    return buildresult::Ok;
}
