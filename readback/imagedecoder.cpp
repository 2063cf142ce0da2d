#include "readback/imagedecoder.h"

#include "document/limits.h"
#include "programming/encodings.h"
#include "radiolink/modeltable.h"
#include "readback/imagefields.h"
#include "readback/sites.h"
#include "resources/stringtable.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

using namespace boardmemory;

std::string DecodeFinding::Text() const {
    return Where + ": " + What;
}

bool DecodedImage::Clean() const {
    return Problems().empty();
}

std::vector<const DecodeFinding*> DecodedImage::Problems() const {
    std::vector<const DecodeFinding*> problems;
    for (const auto& finding : Findings)
        if (finding.Kind == DecodeFinding::Type::Unproducible)
            problems.push_back(&finding);
    return problems;
}

namespace {

unsigned Nibble(const std::uint8_t* bytes, int n) {
    return n % 2 == 0 ? bytes[n / 2] >> 4 : bytes[n / 2] & 0x0F;
}

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    char hex[4];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(hex, sizeof hex, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += hex;
    }
    return text;
}

bool AllAre(const std::uint8_t* bytes, std::size_t count, std::uint8_t value) {
    return std::all_of(bytes, bytes + count, [value](std::uint8_t b) { return b == value; });
}

bool IsRouteDigit(unsigned value) {
    return std::find(kRouteDigits.begin(), kRouteDigits.end(), static_cast<int>(value)) !=
           kRouteDigits.end();
}

// Digits right-aligned in the first `nibbles` nibbles, F before them.
std::optional<std::string> PackedDigits(const std::uint8_t* bytes, int nibbles) {
    int n = 0;
    while (n < nibbles && Nibble(bytes, n) == 0x0F)
        ++n;
    std::string digits;
    for (; n < nibbles; ++n) {
        const unsigned digit = Nibble(bytes, n);
        if (digit > 9)
            return std::nullopt;
        digits += static_cast<char>('0' + digit);
    }
    return digits;
}

// The shortest text of at most nine characters that encodes to `units` of
// 125 Hz: the value rounded up to d decimals lies inside the unit for some
// d <= 5, since a unit is wider than 10 Hz.
std::string FrequencyText(std::uint32_t units) {
    for (int decimals = 0; decimals <= 6; ++decimals) {
        std::uint64_t scale = 1;
        for (int i = 0; i < decimals; ++i)
            scale *= 10;
        // MHz = units / 8000; ceil(units * scale / 8000) in 1/scale MHz.
        const std::uint64_t value = (std::uint64_t{units} * scale + 7999) / 8000;
        char text[64];
        if (decimals == 0)
            std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(value));
        else
            std::snprintf(text, sizeof text, "%llu.%0*llu",
                          static_cast<unsigned long long>(value / scale), decimals,
                          static_cast<unsigned long long>(value % scale));
        if (std::string_view(text).size() <= limits::kFrequency && EncodeFrequency(text) == units)
            return text;
    }
    return {};
}

class Decoder {
  public:
    explicit Decoder(const TOptionImage& image) : image_(image) {}

    DecodedImage Run() {
        result_.Document = std::make_unique<TBoardData>();
        TBoardData& d = *result_.Document;
        const bool modelBit = DecodeHeader(d.Global);
        ChooseProduct(d.Product, modelBit);
        DecodeSpeedDial(d.SpeedDial);
        DecodeChecksumHeader(d.Global);
        DecodeChannels();
        DecodeBanks(d);
        const int sites = RebuildSites(d, channels_, lists_);
        Check(sites <= limits::kMaxSites, "channel indices",
              "the channels need " + std::to_string(sites) + " sites; a document holds at most " +
                  std::to_string(limits::kMaxSites));
        Check(AllAre(&image_[Reserved], SpeedDialCopy - Reserved, 0x00), "reserved",
              "holds bytes other than 00");
        NoteWhatIsNotCarried();
        return std::move(result_);
    }

  private:
    void Problem(std::string where, std::string what) {
        result_.Findings.push_back(
            {DecodeFinding::Type::Unproducible, std::move(where), std::move(what)});
    }
    void Check(bool holds, const std::string& where, const std::string& what) {
        if (!holds)
            Problem(where, what);
    }
    std::string At(std::size_t address) const { return FieldAt(address).Describe(); }

    // A pair of bytes that is either `on on` (1) or 00 00 (0).
    std::int32_t Pair(std::size_t at, std::uint8_t on) {
        if (image_[at] == on && image_[at + 1] == on)
            return 1;
        Check(image_[at] == 0 && image_[at + 1] == 0, At(at),
              Hex(&image_[at], 2) + " is neither " + Hex(&on, 1) + " " + Hex(&on, 1) +
                  " nor 00 00");
        return 0;
    }
    std::int32_t Byte(std::size_t at, std::uint8_t on, std::uint8_t off) {
        if (image_[at] == on)
            return 1;
        Check(image_[at] == off, At(at),
              Hex(&image_[at], 1) + " is neither " + Hex(&on, 1) + " nor " + Hex(&off, 1));
        return 0;
    }

    // Returns the model bit: the model number begins with 'P'.
    bool DecodeHeader(TGlobalData& g) {
        const std::uint8_t* h = &image_[Header];
        g.BusyDetectCtcss = Pair(Header + header::BusyDetect, 0xFF);
        g.BusyDetectCarrier = 1 - g.BusyDetectCtcss;
        g.ConventionalOperation = Pair(Header + header::Conventional, 0xFF);
        const std::uint8_t options = h[header::MicrophoneAndModel];
        Check((options & ~0x03) == 0, At(Header + header::MicrophoneAndModel),
              Hex(&options, 1) + " sets bits no option uses");
        g.ExtMicDelayed = options & 0x01;
        g.ExtMicStandard = 1 - g.ExtMicDelayed;
        g.DisableDisconnectBeep = 1 - Byte(Header + header::DisconnectBeep, 0x01, 0x00);
        g.ClearChannelAlert = Pair(Header + header::ClearChannelAlert, 0xFF);
        g.DisableRadioKill = Pair(Header + header::RadioKill, 0x03);
        const std::uint8_t* user = h + header::UserProgramming;
        Check((user[0] & ~0x03) == 0 && user[1] == user[0], At(Header + header::UserProgramming),
              Hex(user, 2) + " is not one value twice, bits 0 and 1 only");
        g.DisableUserProgramming = (user[0] & 0x01) != 0 ? 0 : 1;
        g.RestrictKeypadCalls = (user[0] & 0x02) != 0 ? 0 : 1;
        Check(AllAre(h + header::Spare, header::Spare.Width, 0x00), At(Header + header::Spare),
              Hex(h + header::Spare, 2) + " is not 00 00");
        Check(AllAre(h + header::EndMark, header::EndMark.Width, 0xC3),
              At(Header + header::EndMark), Hex(h + header::EndMark, 2) + " is not C3 C3");
        return (options & 0x02) != 0;
    }

    void ChooseProduct(TProductData& product, bool modelBit) {
        // New documents hold the portable radio; its model number does not
        // begin with 'P', nor does the mobile one's.
        if (!modelBit)
            return;
        for (const auto& row : tarvo::LoadModelTable())
            if (row.ModelNumber.starts_with('P')) {
                product.ProductName.Set(row.ProductName);
                product.ModelNumber.Set(row.ModelNumber);
                return;
            }
        Problem(At(Header + header::MicrophoneAndModel),
                "marks a model number beginning with P, and no radio of the model table "
                "has one");
    }

    void DecodeSpeedDial(TSdData& speedDial) {
        for (int i = 0; i < TSdData::kLocations; ++i) {
            const std::size_t at = SpeedDial + SpeedDialEntry * static_cast<std::size_t>(i);
            const auto digits = PackedDigits(&image_[at], 15);
            Check(digits.has_value(), At(at),
                  Hex(&image_[at], SpeedDialEntry) + " is not a packed dial string");
            speedDial.Number[static_cast<std::size_t>(i)].Set(digits.value_or(""));
            const unsigned route = Nibble(&image_[at], 15);
            Check(IsRouteDigit(route), At(at),
                  "route " + std::to_string(route) + " is not one of the route list");
            speedDial.Route[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(route);
        }
        Check(std::equal(&image_[SpeedDial], &image_[SpeedDial] + SpeedDialSize,
                         &image_[SpeedDialCopy]),
              "speed dial copy", "differs from the speed dial table");
    }

    void DecodeChecksumHeader(TGlobalData& g) {
        const std::uint8_t* area = &image_[ChecksumHeader];
        Check(area[checksumheader::Mark] == 0x0A, At(ChecksumHeader + checksumheader::Mark),
              Hex(area + checksumheader::Mark, 1) + " is not 0A");
        const std::uint8_t* esn = area + checksumheader::Esn;
        const std::size_t width = checksumheader::Esn.Width;
        const std::size_t length =
            static_cast<std::size_t>(std::find(esn, esn + width, 0x00) - esn);
        Check(AllAre(esn + length, width - length, 0x00), At(ChecksumHeader + checksumheader::Esn),
              "characters follow the end of the ESN");
        Check(std::all_of(esn, esn + length, [](std::uint8_t c) { return c >= 0x20 && c <= 0x5F; }),
              At(ChecksumHeader + checksumheader::Esn),
              "holds characters outside space..underscore");
        g.EsnText.Set(std::string(reinterpret_cast<const char*>(esn), length));
        g.VerifyEsn = length > 0 ? 1 : 0;
        Check(AllAre(area + checksumheader::Spare, checksumheader::Spare.Width, 0x00),
              At(ChecksumHeader + checksumheader::Spare), "is not 00 00 00");
        bankCount_ = area[checksumheader::BankCount];
        Check(bankCount_ <= limits::kMaxBanks, At(ChecksumHeader + checksumheader::BankCount),
              std::to_string(bankCount_) + " banks; a document holds at most " +
                  std::to_string(limits::kMaxBanks));
        unsigned sum = 0;
        for (std::size_t i = ChecksumHeader; i < Reserved; ++i)
            sum += image_[i];
        Check(sum % 256 == 0, At(ChecksumHeader + checksumheader::Checksum),
              "wrong: the checksum area sums to " + std::to_string(sum % 256) + ", not 0");
    }

    void DecodeChannels() {
        const std::uint8_t* table = &image_[Channels];
        auto record = [&](int slot) {
            return table + ChannelSize * static_cast<std::size_t>(slot);
        };
        while (stored_ < ChannelSlots && !AllAre(record(stored_), ChannelSize, 0x00))
            ++stored_;
        for (int slot = stored_; slot < ChannelSlots; ++slot)
            Check(AllAre(record(slot), ChannelSize, 0x00), At(Channels + ChannelSize * slot),
                  "a channel after a free record (the table fills from the start)");
        std::map<TChannelRecord, int> seen;
        for (int slot = 0; slot < stored_; ++slot) {
            const std::uint8_t* r = record(slot);
            const std::string where = Numbered("channel record", slot);
            TChannelRecord bytes;
            std::copy_n(r, ChannelSize, bytes.begin());
            if (const auto [it, fresh] = seen.emplace(bytes, slot); !fresh)
                Problem(where, "the same as channel record " + std::to_string(it->second + 1) +
                                   " (the builder stores each channel once)");
            TRfChannel channel;
            const auto part = [&where](const Field& field) { return where + ", " + field.Name; };
            channel.TxFrequency.Set(Frequency(r + channel::Transmit, part(channel::Transmit)));
            channel.RxFrequency.Set(Frequency(r + channel::Receive, part(channel::Receive)));
            channel.TxCtcss.Set(Tone(r + channel::TransmitTone, part(channel::TransmitTone)));
            channel.RxCtcss.Set(Tone(r + channel::ReceiveTone, part(channel::ReceiveTone)));
            const std::uint8_t flags = r[channel::SpacingAndQLift];
            Check((flags & ~0x07) == 0 && (flags & 0x06) != 0x06, part(channel::SpacingAndQLift),
                  Hex(&flags, 1) + " is not one spacing with or without Q-Lift");
            channel.Spacing20k = (flags & 0x02) != 0 ? 1 : 0;
            channel.Spacing25k = (flags & 0x04) != 0 && channel.Spacing20k == 0 ? 1 : 0;
            channel.Spacing12k5 = channel.Spacing20k == 0 && channel.Spacing25k == 0 ? 1 : 0;
            channel.QLift = flags & 0x01;
            Check(AllAre(r + channel::Spare, channel::Spare.Width, 0x00), part(channel::Spare),
                  "is not 00 00 00 00");
            channels_.push_back(channel);
        }
    }

    static std::string Numbered(const char* what, int index) {
        return std::string(what) + " " + std::to_string(index + 1);
    }

    std::string Frequency(const std::uint8_t* bytes, const std::string& where) {
        const std::uint32_t units = (std::uint32_t{bytes[0]} << 16) | (bytes[1] << 8) | bytes[2];
        const std::string text = FrequencyText(units);
        Check(!text.empty() && CheckFreqSpec(text, 1, nullptr, 0) == 0, where,
              (text.empty() ? Hex(bytes, 3) : text + " MHz") +
                  " is not a frequency above 10 and below 1000 MHz");
        return text;
    }

    std::string Tone(const std::uint8_t* bytes, const std::string& where) {
        const unsigned tenths = (unsigned{bytes[0]} << 8) | bytes[1];
        if (tenths == 0)
            return "None";
        static const std::vector<std::string> kTones = StringsFrom(strings::kTones);
        for (const auto& tone : kTones)
            if (EncodeTone(tone) == tenths)
                return tone;
        const std::string text = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
        Problem(where, text + " Hz is not a tone of the CTCSS list");
        return text;
    }

    // An address code of the given kind; the bank's own system ID is left out
    // of the text ("1234"), any other is written ("05-1234").
    std::string AddressCode(const std::uint8_t* code, int kind, unsigned systemId,
                            const std::string& where) {
        if (AllAre(code, 3, 0x00))
            return {};
        if ((code[0] & 0xE0) != kAddressKindBits[kind]) {
            Problem(where, Hex(code, 3) + " is not an address code of this kind");
            return {};
        }
        const auto digits = PackedDigits(code + 1, 4);
        if (!digits || digits->size() != 4) {
            Problem(where, Hex(code, 3) + " does not hold four BCD digits");
            return {};
        }
        const unsigned system = code[0] & 0x1F;
        if (system == systemId)
            return *digits;
        char text[16];
        std::snprintf(text, sizeof text, "%02u-%s", system, digits->c_str());
        return text;
    }

    void DecodeBanks(TBoardData& d) {
        const int banks = std::min(bankCount_, limits::kMaxBanks);
        for (int i = 0; i < MaxBanks; ++i) {
            const std::size_t at = Banks + BankSize * static_cast<std::size_t>(i);
            const std::size_t ptt = PttNumbers + PttNumberEntry * static_cast<std::size_t>(i);
            if (i >= banks) {
                Check(AllAre(&image_[at], BankSize, 0x00), Numbered("bank record", i),
                      "holds bytes beyond the bank count");
                Check(AllAre(&image_[ptt], PttNumberEntry, 0xFF), At(ptt),
                      "set beyond the bank count");
                continue;
            }
            auto bank = std::make_unique<TBankData>();
            lists_.push_back(DecodeBank(*bank, &image_[at], &image_[ptt], i));
            d.Banks.Append(bank);
        }
    }

    std::vector<int> DecodeBank(TBankData& b, const std::uint8_t* r, const std::uint8_t* pttEntry,
                                int index) {
        const std::string record = Numbered("bank record", index) + ", ";
        const auto where = [&record](const Field& field) { return record + field.Name; };
        // The name, padded with spaces.
        const std::uint8_t* name = r + bank::Name;
        std::size_t length = bank::Name.Width;
        while (length > 0 && name[length - 1] == ' ')
            --length;
        Check(std::find(name, name + length, 0x00) == name + length, where(bank::Name),
              "holds a 00 byte");
        b.Name.Set(std::string(reinterpret_cast<const char*>(name), length));

        // The system ID is in the primary address, which is always of the
        // bank's own system.
        const std::uint8_t* primary = r + bank::PrimaryAddress;
        unsigned systemId = 0;
        if (!AllAre(primary, 3, 0x00) &&
            (primary[0] & 0xE0) == kAddressKindBits[addresskind::PrimaryAddress])
            systemId = primary[0] & 0x1F;
        b.SystemId.Set(systemId > 0 ? std::to_string(systemId) : "");
        b.PagingCode.Set(AddressCode(primary, addresskind::PrimaryAddress, systemId,
                                     where(bank::PrimaryAddress)));

        DecodeButton(b, r, systemId, record);
        b.EmergencyOverride = Flag(r[bank::EmergencyOverride], where(bank::EmergencyOverride));
        b.PriorityOverride = Flag(r[bank::PriorityOverride], where(bank::PriorityOverride));
        const auto code = std::find(std::begin(kSecureSpeechCodes), std::end(kSecureSpeechCodes),
                                    r[bank::SecureSpeech]);
        Check(code != std::end(kSecureSpeechCodes), where(bank::SecureSpeech),
              Hex(r + bank::SecureSpeech, 1) + " is not a secure speech code");
        b.Scrambler = code != std::end(kSecureSpeechCodes)
                          ? static_cast<std::int32_t>(code - std::begin(kSecureSpeechCodes))
                          : 0;
        DecodePtt(b, r + bank::PttAction, pttEntry, systemId, record);
        DecodeReceiveGroups(b, r + bank::ReceiveGroups, systemId, where(bank::ReceiveGroups));

        std::vector<int> slots;
        const int count = r[bank::ChannelCount];
        Check(count <= limits::kMaxChannelsPerSite, where(bank::ChannelCount),
              std::to_string(count) + " channels; a site holds at most " +
                  std::to_string(limits::kMaxChannelsPerSite));
        for (std::size_t k = 0; k < bank::ChannelIndices.Width; ++k) {
            const int entry = r[bank::ChannelIndices + k];
            if (static_cast<int>(k) >= count) {
                Check(entry == 0, where(bank::ChannelIndices), "set beyond the channel count");
                continue;
            }
            if (entry < 1 || entry > stored_) {
                Problem(where(bank::ChannelIndices),
                        "index " + std::to_string(entry) + " names no stored channel record");
                continue;
            }
            slots.push_back(entry - 1);
        }
        return slots;
    }

    std::int32_t Flag(std::uint8_t byte, const std::string& where) {
        Check(byte == 0xFF || byte == 0x00, where, Hex(&byte, 1) + " is neither FF nor 00");
        return byte == 0xFF ? 1 : 0;
    }

    void DecodeButton(TBankData& b, const std::uint8_t* r, unsigned systemId,
                      const std::string& where) {
        b.ButtonGroup = b.ButtonConnect = b.ButtonNone = 0;
        const std::uint8_t action = r[bank::ButtonAction];
        const std::uint8_t* data = r + bank::ButtonData;
        const std::size_t width = bank::ButtonData.Width;
        const std::string dataWhere = where + bank::ButtonData.Name;
        if (action == 0x0A) {
            b.ButtonGroup = 1;
            b.ButtonPagingCode.Set(
                AddressCode(data, addresskind::GroupAction, systemId, dataWhere));
            Check(AllAre(data + 3, width - 3, 0x00), dataWhere,
                  "bytes after the group's code are not 00");
        } else if (action == 0xFF) {
            b.ButtonNone = 1;
            Check(AllAre(data, width, 0xFF), dataWhere, "set although the button has no action");
        } else if (IsRouteDigit(action)) {
            b.ButtonConnect = 1;
            b.ButtonRoute = action;
            const auto digits = PackedDigits(data, 15);
            Check(digits && Nibble(data, 15) == action, dataWhere,
                  Hex(data, width) + " is not a dial string with route " + std::to_string(action));
            b.ButtonNumber.Set(digits.value_or(""));
        } else {
            b.ButtonNone = 1;
            Problem(where + bank::ButtonAction.Name, Hex(&action, 1) + " is no button action");
        }
    }

    void DecodePtt(TBankData& b, const std::uint8_t* p, const std::uint8_t* entry,
                   unsigned systemId, const std::string& where) {
        b.PttGroup = b.PttConnect = b.PttNone = 0;
        const bool tableSet = !AllAre(entry, PttNumberEntry, 0xFF);
        const std::string actionWhere = where + bank::PttAction.Name;
        if (p[0] == 0x0F && p[1] == 0x00 && p[2] == 0x00) {
            b.PttNone = 1;
            Check(!tableSet, actionWhere, "a PTT number is listed for a bank without one");
            return;
        }
        // A Connect action keeps its number in the PTT number table too; a
        // Group code holds no F nibble.
        const bool connect = tableSet || (p[1] == 0xFF && p[2] == 0xFF);
        if (!connect) {
            b.PttGroup = 1;
            b.PttPagingCode.Set(AddressCode(p, addresskind::GroupAction, systemId, actionWhere));
            return;
        }
        b.PttConnect = 1;
        b.PttRoute = p[0];
        Check(IsRouteDigit(p[0]), actionWhere, Hex(p, 1) + " is not a route of the route list");
        const auto digits = PackedDigits(p + 1, 4);
        Check(digits.has_value() && std::equal(p + 1, p + 3, entry), actionWhere,
              Hex(p + 1, 2) + " is not the PTT number of the PTT number table (" + Hex(entry, 2) +
                  ")");
        b.PttNumber.Set(digits.value_or(""));
    }

    void DecodeReceiveGroups(TBankData& b, const std::uint8_t* groups, unsigned systemId,
                             const std::string& where) {
        // The first entry is the highest of the four codes.
        const std::size_t highest = bank::FirstReceiveGroup - bank::ReceiveGroups;
        std::uint8_t first[3] = {groups[highest], groups[highest + 1], groups[highest + 2]};
        // Horn Alert sets the top bits of the first group's code: with the
        // group present they read as its kind, with none as a bare E0.
        if ((first[0] & 0xE0) == 0xE0) {
            b.HornAlert = 1;
            first[0] = (first[0] & 0x1F) == 0 && first[1] == 0 && first[2] == 0
                           ? 0x00
                           : static_cast<std::uint8_t>(kAddressKindBits[addresskind::ReceiveGroup] |
                                                       (first[0] & 0x1F));
        }
        std::vector<std::string> entries;
        for (int k = 0; k < 4; ++k) {
            const std::uint8_t* code = k == 0 ? first : groups + highest - 3 * k;
            entries.push_back(AddressCode(code, addresskind::ReceiveGroup, systemId, where));
        }
        while (!entries.empty() && entries.back().empty())
            entries.pop_back();
        std::string text;
        for (std::size_t k = 0; k < entries.size(); ++k)
            text += (k == 0 ? "" : ";") + entries[k];
        b.ReceiveGroups.Set(text);
    }

    void NoteWhatIsNotCarried() {
        const std::pair<const char*, const char*> notes[] = {
            {"sites", "the image holds no site names; the sites are named Site 1, Site 2, ..."},
            {"password", "the image holds no document password; the document has none"},
            {"product", "the image holds only whether the model number begins with P; the "
                        "product is the default radio of that kind"},
            {"texts", "dial strings and numbers hold only their digits, a PTT number only its "
                      "last four, and fields of actions that are not chosen are empty"},
        };
        for (const auto& [where, what] : notes)
            result_.Findings.push_back({DecodeFinding::Type::NotCarried, where, what});
    }

    const TOptionImage& image_;
    DecodedImage result_;
    int bankCount_ = 0;
    int stored_ = 0;
    std::vector<TRfChannel> channels_;
    std::vector<std::vector<int>> lists_; // each bank's channel records, 0-based
};

} // namespace

DecodedImage DecodeImage(const TOptionImage& image) {
    return Decoder(image).Run();
}

void NameSitesAfter(TBoardData& decoded, const TBoardData& original) {
    std::set<const TRfSite*> named;
    for (int i = 0; i < decoded.Banks.Count() && i < original.Banks.Count(); ++i) {
        TRfSite* site = decoded.Banks[i].Site;
        const TRfSite* source = original.Banks[i].Site;
        if (site == nullptr || source == nullptr || !named.insert(site).second)
            continue;
        site->SetName(source->Name.View());
    }
}

std::optional<std::uint8_t> ErasedFill(const TOptionImage& image) {
    for (const std::uint8_t fill : {std::uint8_t{0xFF}, std::uint8_t{0x00}})
        if (std::all_of(image.begin(), image.end(), [fill](std::uint8_t b) { return b == fill; }))
            return fill;
    return std::nullopt;
}

std::vector<std::string> DescribeBoardContent(const TOptionImage& image) {
    if (const auto fill = ErasedFill(image))
        return {std::string("an erased memory (every byte ") + (*fill == 0xFF ? "FF" : "00") + ")"};
    const DecodedImage decoded = DecodeImage(image);
    const auto problems = decoded.Problems();
    if (!problems.empty())
        return {"bytes that no document makes: " + std::to_string(problems.size()) + " field(s)",
                "first: " + problems.front()->Text()};
    const TBoardData& d = *decoded.Document;
    const bool modelBit =
        (image[boardmemory::Header + boardmemory::header::MicrophoneAndModel] & 0x02) != 0;
    return {"a configuration: " + std::to_string(d.Sites.Count()) + " site(s), " +
                std::to_string(d.Banks.Count()) + " bank(s), checksum good",
            std::string("product: the image names none; it holds only that the model number ") +
                (modelBit ? "begins" : "does not begin") + " with P"};
}
