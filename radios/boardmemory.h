// The option board's memory: 2256 bytes, byte n at board address n. Every
// region and every field of a record is named here once, with its offset and
// width; the image builder, the decoder, the naming of addresses and the
// simulator all read them here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace boardmemory {

constexpr std::size_t kSize = 2256;

// A field of a region or record: `Offset` bytes from its start, `Width` long.
// It converts to its offset, so `record + bank::Name` points at the field.
struct Field {
    std::size_t Offset;
    std::size_t Width;
    const char* Name;
    constexpr operator std::size_t() const { return Offset; }
    constexpr std::size_t End() const { return Offset + Width; }
};

// The regions, in address order.
constexpr std::size_t Header = 0;           // the general options, 16 bytes
constexpr std::size_t SpeedDial = 16;       // 10 locations of 8 bytes
constexpr std::size_t PttNumbers = 96;      // each bank's PTT number, 2 bytes
constexpr std::size_t ChecksumHeader = 128; // 16 bytes, the checksummed part starts here
constexpr std::size_t Banks = 144;          // 16 bank records
constexpr std::size_t Channels = 1120;      // the channel table, 64 records
constexpr std::size_t Reserved = 2080;      // 96 bytes of 00, outside the checksum
constexpr std::size_t SpeedDialCopy = 2176; // the speed dial once more, to the end

constexpr std::size_t SpeedDialEntry = 8;
constexpr std::size_t SpeedDialSize = SpeedDialEntry * 10;
constexpr std::size_t PttNumberEntry = 2;
constexpr std::size_t BankSize = 61;
constexpr int MaxBanks = 16;
constexpr std::size_t ChannelSize = 15;
constexpr int ChannelSlots = 64;

static_assert(SpeedDial + SpeedDialSize == PttNumbers);
static_assert(PttNumbers + PttNumberEntry * MaxBanks == ChecksumHeader);
static_assert(Banks + BankSize * MaxBanks == Channels);
static_assert(Channels + ChannelSize * ChannelSlots == Reserved);
static_assert(SpeedDialCopy + SpeedDialSize == kSize);

// The header.
namespace header {
constexpr Field BusyDetect{0, 2, "busy channel detect"};      // FF FF: CTCSS
constexpr Field Conventional{2, 2, "conventional operation"}; // FF FF: on
// Bit 0: external microphone delayed; bit 1: the model number begins with P.
constexpr Field MicrophoneAndModel{4, 1, "external microphone and model"};
constexpr Field DisconnectBeep{5, 1, "disconnect beep"};        // 01: the beep sounds
constexpr Field ClearChannelAlert{6, 2, "clear channel alert"}; // FF FF: on
constexpr Field RadioKill{8, 2, "radio-kill"};                  // 03 03: disabled
// Bit 0: user programming allowed; bit 1: keypad calls unrestricted; twice.
constexpr Field UserProgramming{10, 2, "user programming and keypad calls"};
constexpr Field Spare{12, 2, "reserved"};
constexpr Field EndMark{14, 2, "end mark"}; // C3 C3
constexpr Field kAll[] = {BusyDetect,
                          Conventional,
                          MicrophoneAndModel,
                          DisconnectBeep,
                          ClearChannelAlert,
                          RadioKill,
                          UserProgramming,
                          Spare,
                          EndMark};
} // namespace header

// The head of the checksummed area.
namespace checksumheader {
constexpr Field Mark{0, 1, "mark"}; // 0A
constexpr Field Esn{1, 10, "ESN"};  // the ESN to verify, NUL-padded
constexpr Field Spare{11, 3, "reserved"};
constexpr Field BankCount{14, 1, "bank count"};
// Makes the bytes from the mark to the end of the channel table sum to 0.
constexpr Field Checksum{15, 1, "checksum"};
constexpr Field kAll[] = {Mark, Esn, Spare, BankCount, Checksum};
} // namespace checksumheader

// A bank record.
namespace bank {
constexpr Field Name{0, 14, "name"}; // padded with blanks
constexpr Field ChannelCount{14, 1, "channel count"};
// 0A: group call; FF: none; else the route of a connect call.
constexpr Field ButtonAction{15, 1, "button action"};
constexpr Field ButtonData{16, 8, "button action data"};
constexpr Field EmergencyOverride{24, 1, "emergency override"};
constexpr Field PriorityOverride{25, 1, "priority override"};
constexpr Field SecureSpeech{26, 1, "secure speech"};
constexpr Field PrimaryAddress{27, 3, "primary address"};
constexpr Field PttAction{30, 3, "PTT action"};
// Four address codes of 3 bytes, the first at the highest; the first code's
// top bits also carry the horn alert.
constexpr Field ReceiveGroups{33, 12, "receive groups"};
constexpr std::size_t FirstReceiveGroup = 42;
constexpr Field ChannelIndices{45, 16, "channel indices"}; // 1-based channel records
constexpr Field kAll[] = {
    Name,         ChannelCount,   ButtonAction, ButtonData,    EmergencyOverride, PriorityOverride,
    SecureSpeech, PrimaryAddress, PttAction,    ReceiveGroups, ChannelIndices};
static_assert(ChannelIndices.End() == BankSize);
} // namespace bank

// A channel record.
namespace channel {
constexpr Field Transmit{0, 3, "transmit frequency"}; // units of 125 Hz, big-endian
constexpr Field Receive{3, 3, "receive frequency"};
constexpr Field TransmitTone{6, 2, "transmit CTCSS"};
constexpr Field ReceiveTone{8, 2, "receive CTCSS"};
// Bit 0: Q-Lift; bit 1: 20 kHz; bit 2: 25 kHz; neither: 12.5 kHz.
constexpr Field SpacingAndQLift{10, 1, "spacing and Q-Lift"};
constexpr Field Spare{11, 4, "reserved"};
constexpr Field kAll[] = {Transmit, Receive, TransmitTone, ReceiveTone, SpacingAndQLift, Spare};
static_assert(Spare.End() == ChannelSize);
} // namespace channel

// The top three bits of an address code by its kind: empty, receive group,
// group action, reserved, primary address.
constexpr std::uint8_t kAddressKindBits[] = {0x00, 0x80, 0xC0, 0xA0, 0xE0};
// The secure-speech byte of each mode: off, mode 1 .. mode 4.
constexpr std::uint8_t kSecureSpeechCodes[] = {0x01, 0x00, 0x04, 0x02, 0x06};

} // namespace boardmemory
