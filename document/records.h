// The records of a document: the general options, the speed-dial table, the
// host radio and password, RF sites with their channels, channel banks, and
// the root that holds them all.
#pragma once

#include "document/list.h"
#include "document/text.h"

#include <array>
#include <cstdint>
#include <string>

// Base of every record that is stored in a document file.
class TStreamableBase {
  public:
    virtual ~TStreamableBase() = default;
    // Lets records compare field by field (tests, change checks).
    friend bool operator==(const TStreamableBase&, const TStreamableBase&) { return true; }

  protected:
    TStreamableBase() = default;
    TStreamableBase(const TStreamableBase&) = default;
    TStreamableBase& operator=(const TStreamableBase&) = default;
};

class opstream;
class ipstream;

// The route digits of the route lists, in list order: "1 (Line 1)",
// "2 (Line 2)", "3 (Mobile)", "4 (Reserved)", "9 (Operator)",
// "0 (Emergency)", "6 (Reserved)", "7 (Reserved)", "8 (Reserved)".
inline constexpr std::array<int, 9> kRouteDigits = {1, 2, 3, 4, 9, 0, 6, 7, 8};

class TGlobalData : public TStreamableBase {
  public:
    TGlobalData() = default;
    // The defaults are the member initialisers below.
    void SetDefaults();
    friend bool operator==(const TGlobalData&, const TGlobalData&) = default;

    TText<11> EsnText;
    std::int32_t VerifyEsn = 0;
    std::int32_t ConventionalOperation = 0;
    std::int32_t ClearChannelAlert = 0;
    std::int32_t DisableRadioKill = 0;
    std::int32_t BusyDetectCtcss = 1;
    std::int32_t BusyDetectCarrier = 0;
    std::int32_t DisableUserProgramming = 0;
    std::int32_t RestrictKeypadCalls = 0;
    std::int32_t ExtMicDelayed = 0;
    std::int32_t ExtMicStandard = 1;
    std::int32_t DisableDisconnectBeep = 0;

    struct Streamer {
        static void Write(opstream& out, const TGlobalData& record);
        static void Read(ipstream& in, TGlobalData& record, std::uint16_t version);
    };
};

class TSdData : public TStreamableBase {
  public:
    static constexpr int kLocations = 10;
    TSdData() { SetDefaults(); }
    void SetDefaults();
    friend bool operator==(const TSdData&, const TSdData&) = default;

    std::array<TText<30>, kLocations> Number{};
    std::array<std::int32_t, kLocations> Route{};

    struct Streamer {
        static void Write(opstream& out, const TSdData& record);
        static void Read(ipstream& in, TSdData& record, std::uint16_t version);
    };
};

class TProductData : public TStreamableBase {
  public:
    TProductData() { SetDefaults(); }
    void SetDefaults();
    friend bool operator==(const TProductData&, const TProductData&) = default;

    TText<9> Password;
    TText<32> ModelNumber;
    TText<32> ProductName;

    struct Streamer {
        static void Write(opstream& out, const TProductData& record);
        static void Read(ipstream& in, TProductData& record, std::uint16_t version);
    };
};

class TRfChannel : public TStreamableBase {
  public:
    TRfChannel() = default;
    friend bool operator==(const TRfChannel&, const TRfChannel&) = default;

    // "Rx (RxTone) Tx (TxTone)", the channel's line in the sites dialog.
    std::string GetDisplayText() const;
    // The same line in a caller's buffer: zero-filled, at most size - 1
    // characters.
    void GetDisplayText(char* buffer, std::size_t size) const;

    TText<10> TxFrequency;
    TText<6> TxCtcss;
    TText<10> RxFrequency;
    TText<6> RxCtcss;
    std::int32_t Spacing12k5 = 1;
    std::int32_t Spacing20k = 0;
    std::int32_t Spacing25k = 0;
    std::int32_t QLift = 0;

    struct Streamer {
        static void Write(opstream& out, const TRfChannel& record);
        static void Read(ipstream& in, TRfChannel& record, std::uint16_t version);
    };
};

using TChannels = TOwningList<TRfChannel>;

class TRfSite : public TStreamableBase {
  public:
    TRfSite() = default;
    TRfSite(const TRfSite& other) { *this = other; }
    // Copies the name and a new copy of every channel.
    TRfSite& operator=(const TRfSite& other);

    void SetName(std::string_view text) { Name.Set(text); }
    std::string GetName() const { return Name.Str(); }
    void GetName(char* buffer, std::size_t size) const;

    TText<21> Name;
    TChannels Channels;

    struct Streamer {
        static void Write(opstream& out, const TRfSite& record);
        static void Read(ipstream& in, TRfSite& record, std::uint16_t version);
    };
};

using TSites = TOwningList<TRfSite>;

class TBankData : public TStreamableBase {
  public:
    TBankData() = default;
    // The defaults are the member initialisers below.
    void SetDefaults();
    // Copies every field; Site stays the same reference.
    TBankData(const TBankData&) = default;
    TBankData& operator=(const TBankData&) = default;
    friend bool operator==(const TBankData&, const TBankData&) = default;

    TText<15> Name;
    TText<3> SystemId;
    TText<8> PagingCode;
    TRfSite* Site = nullptr; // not owned: an element of the same document's Sites
    std::int32_t Scrambler = 0;
    std::int32_t EmergencyOverride = 0;
    std::int32_t PriorityOverride = 0;
    std::int32_t PttGroup = 0;
    std::int32_t PttNone = 1;
    TText<8> PttPagingCode;
    TText<8> ButtonPagingCode;
    std::int32_t ButtonGroup = 0;
    std::int32_t ButtonConnect = 0;
    std::int32_t ButtonNone = 1;
    std::int32_t ButtonRoute = 1;
    TText<30> ButtonNumber;
    TText<32> ReceiveGroups;
    std::int32_t PttConnect = 0;
    std::int32_t PttRoute = 3;
    TText<30> PttNumber;
    std::int32_t HornAlert = 0;

    struct Streamer {
        static void Write(opstream& out, const TBankData& record);
        static void Read(ipstream& in, TBankData& record, std::uint16_t version);
    };
};

using TBanks = TOwningList<TBankData>;

class TBoardData : public TStreamableBase {
  public:
    TBoardData() = default;
    TBoardData(const TBoardData& other) { *this = other; }
    // The deep copy: sites rebuilt in order, banks re-pointed to the copied
    // site at the same position; nothing is shared with the source.
    TBoardData& operator=(const TBoardData& other);

    // File > New: the new-document state, password included.
    void Reset();

    TGlobalData Global;
    TBanks Banks;
    TSdData SpeedDial;
    TSites Sites;
    TProductData Product;

    struct Streamer {
        static void Write(opstream& out, const TBoardData& record);
        static void Read(ipstream& in, TBoardData& record, std::uint16_t version);
    };
};

// True when at least one bank of the document has this site.
bool SiteInUse(const TBoardData& document, const TRfSite* site);
