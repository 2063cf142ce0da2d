// The stream layouts of the document records and their registration.
#include "document/objectstream.h"

#include <array>

namespace {

template <typename T> TStreamableClass Register(std::string_view name) {
    return {name,
            1,
            typeid(T),
            [] { return std::unique_ptr<TStreamableBase>(new T); },
            [](opstream& out, const TStreamableBase& object) {
                T::Streamer::Write(out, static_cast<const T&>(object));
            },
            [](ipstream& in, TStreamableBase& object, std::uint16_t version) {
                T::Streamer::Read(in, static_cast<T&>(object), version);
            }};
}

const std::array<TStreamableClass, 7>& Classes() {
    static const std::array<TStreamableClass, 7> classes = {
        Register<TGlobalData>("TGlobalData"), Register<TBankData>("TBankData"),
        Register<TSdData>("TSdData"),         Register<TProductData>("TProductData"),
        Register<TBoardData>("TBoardData"),   Register<TRfChannel>("TRfChannel"),
        Register<TRfSite>("TRfSite"),
    };
    return classes;
}

// Packs flags into a word: bit i is set when the i-th flag equals 1.
template <std::size_t N> std::uint32_t PackFlags(const std::array<std::int32_t, N>& flags) {
    std::uint32_t word = 0;
    for (std::size_t i = 0; i < N; ++i)
        if (flags[i] == 1)
            word |= 1u << i;
    return word;
}

std::int32_t Bit(std::uint32_t word, int bit) {
    return (word >> bit) & 1u ? 1 : 0;
}

// Reads a list count; more than a list holds is never written and refused.
bool ReadCount(ipstream& in, std::uint32_t& count) {
    count = in.readWord();
    if (count > static_cast<std::uint32_t>(TSites::kCapacity))
        in.fail();
    return in.good();
}

} // namespace

const TStreamableClass* FindStreamableClass(std::string_view name) {
    for (const auto& entry : Classes())
        if (entry.Name == name)
            return &entry;
    return nullptr;
}

const TStreamableClass* FindStreamableClass(std::type_index type) {
    for (const auto& entry : Classes())
        if (entry.Type == type)
            return &entry;
    return nullptr;
}

void TGlobalData::Streamer::Write(opstream& out, const TGlobalData& r) {
    out.writeString(r.EsnText.View());
    out.writeWord16(static_cast<std::uint16_t>(
        PackFlags(std::array{r.VerifyEsn, r.ConventionalOperation, r.ClearChannelAlert,
                             r.DisableRadioKill, r.BusyDetectCtcss, r.DisableUserProgramming,
                             r.RestrictKeypadCalls, r.ExtMicDelayed, r.DisableDisconnectBeep})));
}

void TGlobalData::Streamer::Read(ipstream& in, TGlobalData& r, std::uint16_t) {
    in.readString(r.EsnText);
    const std::uint32_t flags = in.readWord16();
    r.VerifyEsn = Bit(flags, 0);
    r.ConventionalOperation = Bit(flags, 1);
    r.ClearChannelAlert = Bit(flags, 2);
    r.DisableRadioKill = Bit(flags, 3);
    r.BusyDetectCtcss = Bit(flags, 4);
    r.BusyDetectCarrier = 1 - r.BusyDetectCtcss;
    r.DisableUserProgramming = Bit(flags, 5);
    r.RestrictKeypadCalls = Bit(flags, 6);
    r.ExtMicDelayed = Bit(flags, 7);
    r.ExtMicStandard = 1 - r.ExtMicDelayed;
    r.DisableDisconnectBeep = Bit(flags, 8);
}

void TSdData::Streamer::Write(opstream& out, const TSdData& r) {
    for (int i = 0; i < kLocations; ++i) {
        out.writeString(r.Number[static_cast<std::size_t>(i)].View());
        out.writeWord16(static_cast<std::uint16_t>(r.Route[static_cast<std::size_t>(i)] & 0xFFFF));
    }
}

void TSdData::Streamer::Read(ipstream& in, TSdData& r, std::uint16_t) {
    for (int i = 0; i < kLocations; ++i) {
        in.readString(r.Number[static_cast<std::size_t>(i)]);
        r.Route[static_cast<std::size_t>(i)] = in.readWord16();
    }
}

void TProductData::Streamer::Write(opstream& out, const TProductData& r) {
    out.writeString(r.Password.View());
    out.writeString(r.ProductName.View());
    out.writeString(r.ModelNumber.View());
}

void TProductData::Streamer::Read(ipstream& in, TProductData& r, std::uint16_t) {
    in.readString(r.Password);
    in.readString(r.ProductName);
    in.readString(r.ModelNumber);
}

void TRfChannel::Streamer::Write(opstream& out, const TRfChannel& r) {
    out.writeString(r.TxFrequency.View());
    out.writeString(r.TxCtcss.View());
    out.writeString(r.RxFrequency.View());
    out.writeString(r.RxCtcss.View());
    out.writeWord32(PackFlags(std::array{r.Spacing12k5, r.Spacing20k, r.Spacing25k, r.QLift}));
}

void TRfChannel::Streamer::Read(ipstream& in, TRfChannel& r, std::uint16_t) {
    in.readString(r.TxFrequency);
    in.readString(r.TxCtcss);
    in.readString(r.RxFrequency);
    in.readString(r.RxCtcss);
    const std::uint32_t flags = in.readWord();
    r.Spacing12k5 = Bit(flags, 0);
    r.Spacing20k = Bit(flags, 1);
    r.Spacing25k = Bit(flags, 2);
    r.QLift = Bit(flags, 3);
}

void TRfSite::Streamer::Write(opstream& out, const TRfSite& r) {
    out.writeString(r.Name.View());
    out.writeWord32(static_cast<std::uint32_t>(r.Channels.Count()));
    for (const auto& channel : r.Channels)
        out.writeObjectPointer(channel.get());
}

void TRfSite::Streamer::Read(ipstream& in, TRfSite& r, std::uint16_t) {
    in.readString(r.Name);
    r.Channels.Flush();
    std::uint32_t count = 0;
    if (!ReadCount(in, count))
        return;
    for (std::uint32_t i = 0; i < count && in.good(); ++i) {
        auto channel = in.Adopt(in.readObjectPointer<TRfChannel>());
        if (!channel || !r.Channels.Append(channel))
            in.fail();
    }
}

void TBankData::Streamer::Write(opstream& out, const TBankData& r) {
    out.writeString(r.Name.View());
    out.writeString(r.SystemId.View());
    out.writeString(r.PagingCode.View());
    out.writeObjectPointer(r.Site);
    out.writeWord32(static_cast<std::uint32_t>(r.Scrambler));
    out.writeWord16(static_cast<std::uint16_t>(PackFlags(
        std::array{r.EmergencyOverride, r.PriorityOverride, r.PttGroup, r.PttNone, r.ButtonGroup,
                   r.ButtonConnect, r.ButtonNone, r.PttConnect, r.HornAlert})));
    out.writeString(r.PttPagingCode.View());
    out.writeString(r.ButtonPagingCode.View());
    out.writeWord32(static_cast<std::uint32_t>(r.ButtonRoute));
    out.writeString(r.ButtonNumber.View());
    out.writeString(r.ReceiveGroups.View());
    out.writeWord32(static_cast<std::uint32_t>(r.PttRoute));
    out.writeString(r.PttNumber.View());
}

void TBankData::Streamer::Read(ipstream& in, TBankData& r, std::uint16_t) {
    in.readString(r.Name);
    in.readString(r.SystemId);
    in.readString(r.PagingCode);
    r.Site = in.readObjectPointer<TRfSite>();
    r.Scrambler = static_cast<std::int32_t>(in.readWord());
    const std::uint32_t flags = in.readWord16();
    r.EmergencyOverride = Bit(flags, 0);
    r.PriorityOverride = Bit(flags, 1);
    r.PttGroup = Bit(flags, 2);
    r.PttNone = Bit(flags, 3);
    r.ButtonGroup = Bit(flags, 4);
    r.ButtonConnect = Bit(flags, 5);
    r.ButtonNone = Bit(flags, 6);
    r.PttConnect = Bit(flags, 7);
    r.HornAlert = Bit(flags, 8);
    in.readString(r.PttPagingCode);
    in.readString(r.ButtonPagingCode);
    r.ButtonRoute = static_cast<std::int32_t>(in.readWord());
    in.readString(r.ButtonNumber);
    in.readString(r.ReceiveGroups);
    r.PttRoute = static_cast<std::int32_t>(in.readWord());
    in.readString(r.PttNumber);
}

void TBoardData::Streamer::Write(opstream& out, const TBoardData& r) {
    out.writeObject(r.Global);
    out.writeWord32(static_cast<std::uint32_t>(r.Sites.Count()));
    for (const auto& site : r.Sites)
        out.writeObjectPointer(site.get());
    out.writeWord32(static_cast<std::uint32_t>(r.Banks.Count()));
    for (const auto& bank : r.Banks)
        out.writeObjectPointer(bank.get());
    out.writeObject(r.SpeedDial);
    out.writeObject(r.Product);
}

void TBoardData::Streamer::Read(ipstream& in, TBoardData& r, std::uint16_t) {
    in.readObject(r.Global);
    r.Sites.Flush();
    r.Banks.Flush();
    std::uint32_t count = 0;
    if (!ReadCount(in, count))
        return;
    for (std::uint32_t i = 0; i < count && in.good(); ++i) {
        // Each site must be a new object: one the list already owns would
        // get a second owner.
        auto site = in.Adopt(in.readObjectPointer<TRfSite>());
        if (!site || !r.Sites.Append(site))
            in.fail();
    }
    if (!ReadCount(in, count))
        return;
    for (std::uint32_t i = 0; i < count && in.good(); ++i) {
        auto bank = in.Adopt(in.readObjectPointer<TBankData>());
        // A bank's site must be one of the document's own sites.
        if (!bank || (bank->Site != nullptr && r.Sites.Find(bank->Site) < 0) ||
            !r.Banks.Append(bank))
            in.fail();
    }
    in.readObject(r.SpeedDial);
    in.readObject(r.Product);
}
