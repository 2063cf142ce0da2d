#include "exchange/documentjson.h"
#include "document/limits.h"
#include "document/windows1252.h"

#include "programming/encodings.h"
#include "programming/fieldrules.h"
#include "radiolink/tarvodll.h"
#include "resources/stringtable.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <set>

using nlohmann::json;
using nlohmann::ordered_json;

namespace {

const char* kSpacings[] = {"12.5 kHz", "20 kHz", "25 kHz"};
const char* kActions[] = {"Group", "Connect", "None"};

// Document texts travel in JSON as UTF-8.
std::string Utf8(std::string_view text) {
    return DocumentTextToUtf8(text);
}

bool On(std::int32_t flag) {
    return flag == 1;
}

std::string ActionOf(std::int32_t group, std::int32_t connect) {
    return group == 1 ? "Group" : connect == 1 ? "Connect" : "None";
}

ordered_json ChannelToJson(const TRfChannel& c) {
    const int spacing = c.Spacing20k == 1 ? 1 : c.Spacing25k == 1 ? 2 : 0;
    return {{"receiveFrequency", Utf8(c.RxFrequency.View())},
            {"receiveCtcss", Utf8(c.RxCtcss.View())},
            {"transmitFrequency", Utf8(c.TxFrequency.View())},
            {"transmitCtcss", Utf8(c.TxCtcss.View())},
            {"spacing", kSpacings[spacing]},
            {"qLift", On(c.QLift)}};
}

ordered_json BankToJson(const TBankData& b, const TBoardData& document) {
    const int site = document.Sites.Find(b.Site);
    const auto secure = StringsFrom(strings::kSecureSpeech);
    const std::string scrambler =
        b.Scrambler >= 0 && b.Scrambler < 5 ? secure[static_cast<std::size_t>(b.Scrambler)] : "Off";
    return {{"name", Utf8(b.Name.View())},
            {"systemId", Utf8(b.SystemId.View())},
            {"pagingCode", Utf8(b.PagingCode.View())},
            {"site", site >= 0 ? ordered_json(site) : ordered_json(nullptr)},
            {"secureSpeech", scrambler},
            {"emergencyOverride", On(b.EmergencyOverride)},
            {"priorityOverride", On(b.PriorityOverride)},
            {"hornAlert", On(b.HornAlert)},
            {"receiveGroups", Utf8(b.ReceiveGroups.View())},
            {"ptt",
             {{"action", ActionOf(b.PttGroup, b.PttConnect)},
              {"pagingCode", Utf8(b.PttPagingCode.View())},
              {"route", b.PttRoute},
              {"number", Utf8(b.PttNumber.View())}}},
            {"button",
             {{"action", ActionOf(b.ButtonGroup, b.ButtonConnect)},
              {"pagingCode", Utf8(b.ButtonPagingCode.View())},
              {"route", b.ButtonRoute},
              {"number", Utf8(b.ButtonNumber.View())}}}};
}

// An integer within [least, most]; any other number, however large, is
// refused rather than wrapped into the field's type.
std::optional<std::int64_t> IntegerIn(const json& value, std::int64_t least, std::int64_t most) {
    std::int64_t number = 0;
    if (value.is_number_unsigned()) {
        const auto u = value.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(most))
            return std::nullopt;
        number = static_cast<std::int64_t>(u);
    } else if (value.is_number_integer()) {
        number = value.get<std::int64_t>();
    } else {
        return std::nullopt;
    }
    if (number < least || number > most)
        return std::nullopt;
    return number;
}

// Reads one JSON object field by field, remembering the first error with
// the path at which it arose.
class Reader {
  public:
    std::optional<JsonError> Error;

    bool Fail(const std::string& path, const std::string& rule) {
        if (!Error)
            Error = JsonError{path.empty() ? "/" : path, rule};
        return false;
    }

    // The object at `path`, or null after reporting. Keys outside `known`
    // are refused, so that a misspelt field is never silently ignored.
    const json* Object(const json& value, const std::string& path,
                       std::initializer_list<const char*> known) {
        if (!value.is_object()) {
            Fail(path, "must be an object");
            return nullptr;
        }
        for (const auto& item : value.items())
            if (std::none_of(known.begin(), known.end(),
                             [&](const char* key) { return item.key() == key; })) {
                Fail(path + "/" + item.key(), "is not a field here");
                return nullptr;
            }
        return &value;
    }

    // A text field: absent keeps `target`; present must be a string of at
    // most `maxLength` characters that passes `rule`.
    template <std::size_t N>
    void Text(const json& object, const std::string& path, const char* key, TText<N>& target,
              std::size_t maxLength, const std::function<bool(std::string_view)>& rule = {},
              const std::string& ruleText = {}) {
        const auto found = object.find(key);
        if (found == object.end())
            return;
        const std::string where = path + "/" + key;
        if (!found->is_string()) {
            Fail(where, "must be a string");
            return;
        }
        std::size_t bad = 0;
        const auto converted = Utf8ToDocumentText(found->get<std::string>(), &bad);
        if (!converted) {
            Fail(where, "character " + std::to_string(bad + 1) +
                            " cannot be kept in a document (one byte per character, "
                            "Windows-1252)");
            return;
        }
        const std::string& text = *converted;
        if (text.size() > maxLength) {
            Fail(where, "at most " + std::to_string(maxLength) + " characters");
            return;
        }
        if (rule && !rule(text)) {
            Fail(where, ruleText);
            return;
        }
        target.Set(text);
    }

    void Flag(const json& object, const std::string& path, const char* key, std::int32_t& target) {
        const auto found = object.find(key);
        if (found == object.end())
            return;
        if (!found->is_boolean()) {
            Fail(path + "/" + key, "must be true or false");
            return;
        }
        target = found->get<bool>() ? 1 : 0;
    }

    // One of `choices`; returns its index, or -1 when absent (or on error).
    int Choice(const json& object, const std::string& path, const char* key,
               const std::vector<std::string>& choices) {
        const auto found = object.find(key);
        if (found == object.end())
            return -1;
        if (found->is_string()) {
            const auto at = std::find(choices.begin(), choices.end(), found->get<std::string>());
            if (at != choices.end())
                return static_cast<int>(at - choices.begin());
        }
        std::string list;
        for (const auto& choice : choices)
            list += (list.empty() ? "\"" : ", \"") + choice + "\"";
        Fail(path + "/" + key, "must be one of " + list);
        return -1;
    }

    void Route(const json& object, const std::string& path, const char* key, std::int32_t& target) {
        const auto found = object.find(key);
        if (found == object.end())
            return;
        const auto route = IntegerIn(*found, 0, 9);
        if (!route || !IsRouteDigit(static_cast<int>(*route))) {
            Fail(path + "/" + key, "must be a route digit: 1, 2, 3, 4, 9, 0, 6, 7 or 8");
            return;
        }
        target = static_cast<std::int32_t>(*route);
    }

    const json* Array(const json& object, const std::string& path, const char* key,
                      std::size_t maxItems) {
        const auto found = object.find(key);
        if (found == object.end())
            return nullptr;
        if (!found->is_array()) {
            Fail(path + "/" + key, "must be an array");
            return nullptr;
        }
        if (found->size() > maxItems) {
            Fail(path + "/" + key, "at most " + std::to_string(maxItems) + " entries");
            return nullptr;
        }
        return &*found;
    }
};

// A rule text that names the highest system ID.
std::string SystemRule(const char* before, const char* after) {
    return before + std::to_string(limits::kMaxSystemId) + after;
}

bool IsFrequency(std::string_view text) {
    return text.size() <= limits::kFrequency && OnlyCharacters(text, "0-9.") &&
           CheckFreqSpec(text, 1, nullptr, 0) == 0;
}

void ReadGeneral(Reader& r, const json& value, TGlobalData& g) {
    const std::string path = "/general";
    const json* o =
        r.Object(value, path,
                 {"esn", "verifyEsn", "conventionalOperation", "clearChannelAlert",
                  "disableRadioKill", "busyChannelDetect", "disableUserProgramming",
                  "restrictKeypadCalls", "externalMicrophone", "disableDisconnectBeep"});
    if (o == nullptr)
        return;
    if (const auto esn = o->find("esn"); esn != o->end() && esn->is_string()) {
        // The page upper-cases what is typed.
        std::string upper = esn->get<std::string>();
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        json copy = *o;
        copy["esn"] = upper;
        r.Text(copy, path, "esn", g.EsnText, limits::kEsn, IsValidEsnText,
               "characters from space to underscore (digits, capitals, punctuation)");
    } else {
        r.Text(*o, path, "esn", g.EsnText, limits::kEsn);
    }
    r.Flag(*o, path, "verifyEsn", g.VerifyEsn);
    r.Flag(*o, path, "conventionalOperation", g.ConventionalOperation);
    r.Flag(*o, path, "clearChannelAlert", g.ClearChannelAlert);
    r.Flag(*o, path, "disableRadioKill", g.DisableRadioKill);
    r.Flag(*o, path, "disableUserProgramming", g.DisableUserProgramming);
    r.Flag(*o, path, "restrictKeypadCalls", g.RestrictKeypadCalls);
    r.Flag(*o, path, "disableDisconnectBeep", g.DisableDisconnectBeep);
    if (const int busy = r.Choice(*o, path, "busyChannelDetect", {"CTCSS", "Carrier"}); busy >= 0) {
        g.BusyDetectCtcss = busy == 0;
        g.BusyDetectCarrier = busy == 1;
    }
    if (const int mic = r.Choice(*o, path, "externalMicrophone", {"Delayed", "Standard"});
        mic >= 0) {
        g.ExtMicDelayed = mic == 0;
        g.ExtMicStandard = mic == 1;
    }
}

void ReadChannel(Reader& r, const json& value, const std::string& path, TRfChannel& c) {
    const json* o = r.Object(value, path,
                             {"receiveFrequency", "receiveCtcss", "transmitFrequency",
                              "transmitCtcss", "spacing", "qLift"});
    if (o == nullptr)
        return;
    const char* frequencyRule = "a frequency in MHz above 10 and below 1000, digits and '.'";
    for (const char* key : {"receiveFrequency", "transmitFrequency"})
        if (o->find(key) == o->end())
            r.Fail(path + "/" + key, "is required");
    r.Text(*o, path, "receiveFrequency", c.RxFrequency, limits::kFrequency, IsFrequency,
           frequencyRule);
    r.Text(*o, path, "transmitFrequency", c.TxFrequency, limits::kFrequency, IsFrequency,
           frequencyRule);
    const char* toneRule = "a tone of the list: \"None\", \"67.0\" .. \"254.1\"";
    const auto tone = [](std::string_view t) { return t.empty() || IsToneText(t); };
    r.Text(*o, path, "receiveCtcss", c.RxCtcss, 5, tone, toneRule);
    r.Text(*o, path, "transmitCtcss", c.TxCtcss, 5, tone, toneRule);
    if (const int spacing =
            r.Choice(*o, path, "spacing", {kSpacings[0], kSpacings[1], kSpacings[2]});
        spacing >= 0) {
        c.Spacing12k5 = spacing == 0;
        c.Spacing20k = spacing == 1;
        c.Spacing25k = spacing == 2;
    }
    r.Flag(*o, path, "qLift", c.QLift);
}

void ReadAction(Reader& r, const json& value, const std::string& path, bool ptt, TBankData& b) {
    const json* o = r.Object(value, path, {"action", "pagingCode", "route", "number"});
    if (o == nullptr)
        return;
    std::int32_t& group = ptt ? b.PttGroup : b.ButtonGroup;
    std::int32_t& connect = ptt ? b.PttConnect : b.ButtonConnect;
    std::int32_t& none = ptt ? b.PttNone : b.ButtonNone;
    if (const int action = r.Choice(*o, path, "action", {kActions[0], kActions[1], kActions[2]});
        action >= 0) {
        group = action == 0;
        connect = action == 1;
        none = action == 2;
    }
    r.Text(
        *o, path, "pagingCode", ptt ? b.PttPagingCode : b.ButtonPagingCode,
        limits::kActionPagingCode, IsValidPageCode,
        SystemRule("empty, four digits, or two digits (a system up to ", "), '-' and four digits"));
    r.Route(*o, path, "route", ptt ? b.PttRoute : b.ButtonRoute);
    if (ptt)
        r.Text(
            *o, path, "number", b.PttNumber, limits::kPttNumber,
            [](std::string_view t) { return OnlyCharacters(t, "0-9"); }, "digits only");
    else
        r.Text(*o, path, "number", b.ButtonNumber, limits::kButtonNumber, IsDialString,
               "digits, parentheses and hyphens");
}

void ReadBank(Reader& r, const json& value, const std::string& path, TBankData& b,
              TBoardData& document) {
    const json* o =
        r.Object(value, path,
                 {"name", "systemId", "pagingCode", "site", "secureSpeech", "emergencyOverride",
                  "priorityOverride", "hornAlert", "receiveGroups", "ptt", "button"});
    if (o == nullptr)
        return;
    r.Text(*o, path, "name", b.Name, limits::kBankName);
    r.Text(*o, path, "systemId", b.SystemId, limits::kSystemId, IsValidSystemId,
           SystemRule("a number from 0 to ", ""));
    r.Text(
        *o, path, "pagingCode", b.PagingCode, limits::kPrimaryPagingCode,
        [](std::string_view t) { return OnlyCharacters(t, "0-9"); }, "digits only");
    if (const auto site = o->find("site"); site != o->end() && !site->is_null()) {
        const auto position = IntegerIn(*site, 0, document.Sites.Count() - 1);
        if (!position)
            r.Fail(path + "/site", "null or the position of a site in /sites (from 0)");
        else
            b.Site = &document.Sites[static_cast<int>(*position)];
    }
    if (const int secure = r.Choice(*o, path, "secureSpeech", StringsFrom(strings::kSecureSpeech));
        secure >= 0)
        b.Scrambler = secure;
    r.Flag(*o, path, "emergencyOverride", b.EmergencyOverride);
    r.Flag(*o, path, "priorityOverride", b.PriorityOverride);
    r.Flag(*o, path, "hornAlert", b.HornAlert);
    r.Text(*o, path, "receiveGroups", b.ReceiveGroups, limits::kReceiveGroups, IsValidJoinCode,
           SystemRule("codes of four digits, each optionally after a system (up to ",
                      ") and '-', separated by ';'"));
    if (const auto ptt = o->find("ptt"); ptt != o->end())
        ReadAction(r, *ptt, path + "/ptt", true, b);
    if (const auto button = o->find("button"); button != o->end())
        ReadAction(r, *button, path + "/button", false, b);
}

// Follows the parser through the text to name the path of a repeated key.
class DuplicateKeyCheck {
  public:
    struct Found {
        std::string Path;
    };

    bool operator()(int, json::parse_event_t event, json& parsed) {
        switch (event) {
        case json::parse_event_t::object_start:
        case json::parse_event_t::array_start:
            frames_.push_back({event == json::parse_event_t::object_start, {}, {}, 0});
            break;
        case json::parse_event_t::key: {
            Frame& top = frames_.back();
            top.key = parsed.get<std::string>();
            if (!top.keys.insert(top.key).second)
                throw Found{PathTo(frames_.size())};
            break;
        }
        case json::parse_event_t::object_end:
        case json::parse_event_t::array_end:
            frames_.pop_back();
            ElementDone();
            break;
        case json::parse_event_t::value:
            ElementDone();
            break;
        }
        return true;
    }

  private:
    struct Frame {
        bool object;
        std::set<std::string> keys;
        std::string key;
        std::size_t index;
    };

    void ElementDone() {
        if (!frames_.empty() && !frames_.back().object)
            ++frames_.back().index;
    }
    // The path of the element being read in frames_[count - 1].
    std::string PathTo(std::size_t count) const {
        std::string path;
        for (std::size_t i = 0; i < count; ++i)
            path += "/" + (frames_[i].object ? frames_[i].key : std::to_string(frames_[i].index));
        return path;
    }

    std::vector<Frame> frames_;
};

} // namespace

std::optional<json> ParseDocumentJson(std::string_view text, JsonError& error) {
    try {
        return json::parse(text, DuplicateKeyCheck{});
    } catch (const DuplicateKeyCheck::Found& found) {
        error = {found.Path, "is given more than once"};
    } catch (const json::parse_error& e) {
        error = {"/", std::string("not valid JSON: ") + e.what()};
    }
    return std::nullopt;
}

ordered_json DocumentToJson(const TBoardData& document) {
    const TGlobalData& g = document.Global;
    ordered_json out;
    out["product"] = {{"productName", Utf8(document.Product.ProductName.View())},
                      {"modelNumber", Utf8(document.Product.ModelNumber.View())},
                      {"password", Utf8(document.Product.Password.View())}};
    out["general"] = {{"esn", Utf8(g.EsnText.View())},
                      {"verifyEsn", On(g.VerifyEsn)},
                      {"conventionalOperation", On(g.ConventionalOperation)},
                      {"clearChannelAlert", On(g.ClearChannelAlert)},
                      {"disableRadioKill", On(g.DisableRadioKill)},
                      {"busyChannelDetect", On(g.BusyDetectCtcss) ? "CTCSS" : "Carrier"},
                      {"disableUserProgramming", On(g.DisableUserProgramming)},
                      {"restrictKeypadCalls", On(g.RestrictKeypadCalls)},
                      {"externalMicrophone", On(g.ExtMicDelayed) ? "Delayed" : "Standard"},
                      {"disableDisconnectBeep", On(g.DisableDisconnectBeep)}};
    out["speedDial"] = ordered_json::array();
    for (int i = 0; i < TSdData::kLocations; ++i)
        out["speedDial"].push_back({{"number", Utf8(document.SpeedDial.Number[i].View())},
                                    {"route", document.SpeedDial.Route[i]}});
    out["sites"] = ordered_json::array();
    for (const auto& site : document.Sites) {
        ordered_json channels = ordered_json::array();
        for (const auto& channel : site->Channels)
            channels.push_back(ChannelToJson(*channel));
        out["sites"].push_back({{"name", Utf8(site->Name.View())}, {"channels", channels}});
    }
    out["banks"] = ordered_json::array();
    for (const auto& bank : document.Banks)
        out["banks"].push_back(BankToJson(*bank, document));
    return out;
}

std::optional<JsonError> DocumentFromJson(const json& value, TBoardData& document) {
    Reader r;
    auto built = std::make_unique<TBoardData>();
    const json* root = r.Object(value, "", {"product", "general", "speedDial", "sites", "banks"});
    if (root == nullptr)
        return r.Error;

    if (const auto product = root->find("product"); product != root->end()) {
        if (const json* o =
                r.Object(*product, "/product", {"productName", "modelNumber", "password"})) {
            r.Text(*o, "/product", "productName", built->Product.ProductName, limits::kProductText);
            r.Text(*o, "/product", "modelNumber", built->Product.ModelNumber, limits::kProductText);
            r.Text(*o, "/product", "password", built->Product.Password, limits::kPassword);
            if (!r.Error &&
                TarvoDllInit(built->Product.ProductName.c_str(), built->Product.ModelNumber.c_str(),
                             limits::kPacketSize, limits::kPacketSize) != 0)
                r.Fail("/product", "the product name and model number are not a supported radio");
        }
    }
    if (const auto general = root->find("general"); general != root->end())
        ReadGeneral(r, *general, built->Global);

    if (const json* dials = r.Array(*root, "", "speedDial", TSdData::kLocations)) {
        for (std::size_t i = 0; i < dials->size(); ++i) {
            const std::string path = "/speedDial/" + std::to_string(i);
            if (const json* o = r.Object((*dials)[i], path, {"number", "route"})) {
                r.Text(*o, path, "number", built->SpeedDial.Number[i], limits::kDialString,
                       IsDialString, "digits, parentheses and hyphens");
                r.Route(*o, path, "route", built->SpeedDial.Route[i]);
            }
        }
    }
    if (const json* sites = r.Array(*root, "", "sites", limits::kMaxSites)) {
        for (std::size_t s = 0; s < sites->size() && !r.Error; ++s) {
            const std::string path = "/sites/" + std::to_string(s);
            const json* o = r.Object((*sites)[s], path, {"name", "channels"});
            if (o == nullptr)
                break;
            auto site = std::make_unique<TRfSite>();
            r.Text(
                *o, path, "name", site->Name, limits::kSiteName,
                [](std::string_view t) { return !t.empty(); },
                "a name of 1 to " + std::to_string(limits::kSiteName) + " characters");
            if (o->find("name") == o->end())
                r.Fail(path + "/name", "is required");
            if (const json* channels = r.Array(*o, path, "channels", limits::kMaxChannelsPerSite)) {
                for (std::size_t c = 0; c < channels->size() && !r.Error; ++c) {
                    auto channel = std::make_unique<TRfChannel>();
                    ReadChannel(r, (*channels)[c], path + "/channels/" + std::to_string(c),
                                *channel);
                    site->Channels.Append(channel);
                }
            }
            built->Sites.Append(site);
        }
    }
    if (const json* banks = r.Array(*root, "", "banks", limits::kMaxBanks)) {
        for (std::size_t b = 0; b < banks->size() && !r.Error; ++b) {
            auto bank = std::make_unique<TBankData>();
            ReadBank(r, (*banks)[b], "/banks/" + std::to_string(b), *bank, *built);
            built->Banks.Append(bank);
        }
    }
    if (r.Error)
        return r.Error;
    document = *built;
    return std::nullopt;
}
