#include "description/documentfields.h"

#include "document/limits.h"
#include "programming/encodings.h"
#include "programming/fieldrules.h"
#include "resources/stringtable.h"

#include <cctype>

namespace fields {

namespace {

// One reading of each group of three radio buttons: the first button that
// is set, in the order the editors set them, wins (as the dialog shows it,
// the last of several set buttons is the checked one).
std::int32_t OneOfThree(std::int32_t first, std::int32_t second, std::int32_t third,
                        std::int32_t fallback) {
    if (first == 1)
        return 0;
    if (second == 1)
        return 1;
    if (third == 1)
        return 2;
    return fallback;
}

std::vector<std::string> Texts(std::initializer_list<const char*> texts) {
    return {texts.begin(), texts.end()};
}

bool IsFrequency(std::string_view text) {
    return IsOneDecimalNumber(text) && CheckFreqSpec(text, 1, nullptr, 0) == 0;
}
bool IsTone(std::string_view text) {
    return text.empty() || IsToneText(text);
}
bool Digits(std::string_view text) {
    return OnlyCharacters(text, "0-9");
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

const std::string kSystem = std::to_string(limits::kMaxSystemId);

#define TEXT_OF(Record, member)                                                                    \
    [](const Record& r) { return r.member.View(); },                                               \
        [](Record& r, std::string_view text) { r.member.Set(text); }
#define VALUE_OF(Record, member)                                                                   \
    [](const Record& r) { return r.member; }, [](Record& r, std::int32_t v) { r.member = v; }

template <typename Record>
Field<Record> TextField(const char* key, const char* label, std::size_t maxLength,
                        std::string_view (*get)(const Record&),
                        void (*set)(Record&, std::string_view),
                        bool (*valid)(std::string_view) = nullptr, std::string rule = {},
                        const char* group = nullptr) {
    Field<Record> field{};
    field.Key = key;
    field.Label = label;
    field.Type = Kind::Text;
    field.MaxLength = maxLength;
    field.Valid = valid;
    field.Rule = std::move(rule);
    field.Text = get;
    field.SetText = set;
    field.Group = group;
    return field;
}

template <typename Record>
Field<Record> ValueField(const char* key, const char* label, Kind kind,
                         std::int32_t (*get)(const Record&), void (*set)(Record&, std::int32_t),
                         std::vector<std::string> (*choices)() = nullptr,
                         const char* group = nullptr) {
    Field<Record> field{};
    field.Key = key;
    field.Label = label;
    field.Type = kind;
    field.Value = get;
    field.SetValue = set;
    field.Choices = choices;
    field.Group = group;
    return field;
}

} // namespace

std::int32_t PttAction(const TBankData& bank) {
    return OneOfThree(bank.PttGroup, bank.PttConnect, bank.PttNone, None);
}

std::int32_t ButtonAction(const TBankData& bank) {
    return OneOfThree(bank.ButtonGroup, bank.ButtonConnect, bank.ButtonNone, None);
}

std::string Capitalized(const char* label) {
    std::string text = label;
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

const std::vector<Field<TProductData>>& ProductFields() {
    static const std::vector<Field<TProductData>> kFields = {
        TextField<TProductData>("productName", "product name", limits::kProductText,
                                TEXT_OF(TProductData, ProductName)),
        TextField<TProductData>("modelNumber", "model number", limits::kProductText,
                                TEXT_OF(TProductData, ModelNumber)),
        [] {
            auto password = TextField<TProductData>("password", "password", limits::kPassword,
                                                    TEXT_OF(TProductData, Password));
            password.Secret = true;
            return password;
        }(),
    };
    return kFields;
}

const std::vector<Field<TGlobalData>>& GeneralFields() {
    using G = TGlobalData;
    static const std::vector<Field<G>> kFields = {
        [] {
            auto esn =
                TextField<G>("esn", "ESN", limits::kEsn, TEXT_OF(G, EsnText), IsValidEsnText,
                             "characters from space to underscore (digits, capitals, punctuation)");
            esn.Typed = Upper; // the page upper-cases what is typed
            return esn;
        }(),
        ValueField<G>("verifyEsn", "Verify ESN", Kind::Flag, VALUE_OF(G, VerifyEsn)),
        ValueField<G>("conventionalOperation", "conventional operation", Kind::Flag,
                      VALUE_OF(G, ConventionalOperation)),
        ValueField<G>("clearChannelAlert", "clear channel alert", Kind::Flag,
                      VALUE_OF(G, ClearChannelAlert)),
        ValueField<G>("disableRadioKill", "disable radio-kill", Kind::Flag,
                      VALUE_OF(G, DisableRadioKill)),
        ValueField<G>(
            "busyChannelDetect", "busy channel detect", Kind::OneOf,
            [](const G& g) { return OneOfThree(g.BusyDetectCtcss, g.BusyDetectCarrier, 0, 1); },
            [](G& g, std::int32_t v) {
                g.BusyDetectCtcss = v == 0;
                g.BusyDetectCarrier = v == 1;
            },
            [] {
                return Texts({"CTCSS", "Carrier"});
            }),
        ValueField<G>("disableUserProgramming", "disable user programming", Kind::Flag,
                      VALUE_OF(G, DisableUserProgramming)),
        ValueField<G>("restrictKeypadCalls", "restrict keypad calls", Kind::Flag,
                      VALUE_OF(G, RestrictKeypadCalls)),
        ValueField<G>(
            "externalMicrophone", "external microphone", Kind::OneOf,
            [](const G& g) { return OneOfThree(g.ExtMicDelayed, g.ExtMicStandard, 0, 1); },
            [](G& g, std::int32_t v) {
                g.ExtMicDelayed = v == 0;
                g.ExtMicStandard = v == 1;
            },
            [] {
                return Texts({"Delayed", "Standard"});
            }),
        ValueField<G>("disableDisconnectBeep", "disable disconnect beep", Kind::Flag,
                      VALUE_OF(G, DisableDisconnectBeep)),
    };
    return kFields;
}

namespace {

Field<TRfChannel> InMegahertz(Field<TRfChannel> field) {
    field.Unit = "MHz";
    return field;
}

} // namespace

const std::vector<Field<TRfChannel>>& ChannelFields() {
    using C = TRfChannel;
    static constexpr const char* kFrequency =
        "a frequency in MHz above 10 and below 1000: digits with at most one '.'";
    static constexpr const char* kTone = "a tone of the list: \"None\", \"67.0\" .. \"254.1\"";
    static const std::vector<Field<C>> kFields = {
        InMegahertz(TextField<C>("receiveFrequency", "receive", limits::kFrequency,
                                 TEXT_OF(C, RxFrequency), IsFrequency, kFrequency)),
        TextField<C>("receiveCtcss", "receive CTCSS", limits::kTone, TEXT_OF(C, RxCtcss), IsTone,
                     kTone),
        InMegahertz(TextField<C>("transmitFrequency", "transmit", limits::kFrequency,
                                 TEXT_OF(C, TxFrequency), IsFrequency, kFrequency)),
        TextField<C>("transmitCtcss", "transmit CTCSS", limits::kTone, TEXT_OF(C, TxCtcss), IsTone,
                     kTone),
        ValueField<C>(
            "spacing", "spacing", Kind::OneOf,
            // The editor sets its buttons 12.5, 20, 25 in turn: the last set one shows.
            [](const C& c) { return 2 - OneOfThree(c.Spacing25k, c.Spacing20k, c.Spacing12k5, 2); },
            [](C& c, std::int32_t v) {
                c.Spacing12k5 = v == 0;
                c.Spacing20k = v == 1;
                c.Spacing25k = v == 2;
            },
            [] {
                return Texts({"12.5 kHz", "20 kHz", "25 kHz"});
            }),
        ValueField<C>("qLift", "Q-Lift", Kind::Flag, VALUE_OF(C, QLift)),
    };
    return kFields;
}

const std::vector<Field<TBankData>>& BankFields() {
    using B = TBankData;
    static const std::string kPageCode =
        "empty, four digits, or two digits (a system up to " + kSystem + "), '-' and four digits";
    static const auto actions = [] { return Texts({"Group", "Connect", "None"}); };
    static const std::vector<Field<B>> kFields = {
        TextField<B>("name", "name", limits::kBankName, TEXT_OF(B, Name)),
        TextField<B>("systemId", "system ID", limits::kSystemId, TEXT_OF(B, SystemId),
                     IsValidSystemId, "a number from 0 to " + kSystem),
        TextField<B>("pagingCode", "paging code", limits::kPrimaryPagingCode,
                     TEXT_OF(B, PagingCode), Digits, "digits only"),
        [] {
            Field<B> site{};
            site.Key = "site";
            site.Label = "RF site";
            site.Type = Kind::Site;
            return site;
        }(),
        ValueField<B>("secureSpeech", "secure speech", Kind::OneOf, VALUE_OF(B, Scrambler),
                      [] { return StringsFrom(strings::kSecureSpeech); }),
        ValueField<B>("emergencyOverride", "emergency override", Kind::Flag,
                      VALUE_OF(B, EmergencyOverride)),
        ValueField<B>("priorityOverride", "priority override", Kind::Flag,
                      VALUE_OF(B, PriorityOverride)),
        ValueField<B>("hornAlert", "horn alert", Kind::Flag, VALUE_OF(B, HornAlert)),
        TextField<B>("receiveGroups", "receive groups", limits::kReceiveGroups,
                     TEXT_OF(B, ReceiveGroups), IsValidJoinCode,
                     "codes of four digits, each optionally after a system (up to " + kSystem +
                         ") and '-', separated by ';'"),
        ValueField<B>(
            "action", "PTT action", Kind::OneOf, [](const B& b) { return PttAction(b); },
            [](B& b, std::int32_t v) {
                b.PttGroup = v == 0;
                b.PttConnect = v == 1;
                b.PttNone = v == 2;
            },
            actions, "ptt"),
        TextField<B>("pagingCode", "PTT paging code", limits::kActionPagingCode,
                     TEXT_OF(B, PttPagingCode), IsValidPageCode, kPageCode, "ptt"),
        ValueField<B>("route", "PTT route", Kind::Route, VALUE_OF(B, PttRoute), nullptr, "ptt"),
        TextField<B>("number", "PTT number", limits::kPttNumber, TEXT_OF(B, PttNumber), Digits,
                     "digits only", "ptt"),
        ValueField<B>(
            "action", "button action", Kind::OneOf, [](const B& b) { return ButtonAction(b); },
            [](B& b, std::int32_t v) {
                b.ButtonGroup = v == 0;
                b.ButtonConnect = v == 1;
                b.ButtonNone = v == 2;
            },
            actions, "button"),
        TextField<B>("pagingCode", "button paging code", limits::kActionPagingCode,
                     TEXT_OF(B, ButtonPagingCode), IsValidPageCode, kPageCode, "button"),
        ValueField<B>("route", "button route", Kind::Route, VALUE_OF(B, ButtonRoute), nullptr,
                      "button"),
        TextField<B>("number", "button number", limits::kButtonNumber, TEXT_OF(B, ButtonNumber),
                     IsDialString, "digits, parentheses and hyphens", "button"),
    };
    return kFields;
}

#undef TEXT_OF
#undef VALUE_OF

} // namespace fields
