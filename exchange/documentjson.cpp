#include "exchange/documentjson.h"

#include "description/documentfields.h"
#include "document/limits.h"
#include "document/windows1252.h"
#include "programming/fieldrules.h"
#include "radiolink/tarvodll.h"
#include "resources/stringtable.h"

#include <algorithm>
#include <set>
#include <type_traits>

using nlohmann::json;
using nlohmann::ordered_json;

namespace {

// Document texts travel in JSON as UTF-8.
std::string Utf8(std::string_view text) {
    return DocumentTextToUtf8(text);
}

// The described fields of a record, each under its key (and its group's).
template <typename Record>
void PutFields(ordered_json& out, const std::vector<fields::Field<Record>>& list,
               const Record& record, const TBoardData& document) {
    for (const auto& field : list) {
        ordered_json& object = field.Group != nullptr ? out[field.Group] : out;
        switch (field.Type) {
        case fields::Kind::Text:
            object[field.Key] = Utf8(field.Text(record));
            break;
        case fields::Kind::Flag:
            object[field.Key] = field.Value(record) == 1;
            break;
        case fields::Kind::OneOf:
            object[field.Key] = fields::ChoiceText(field, record);
            break;
        case fields::Kind::Route:
            object[field.Key] = field.Value(record);
            break;
        case fields::Kind::Site:
            if constexpr (std::is_same_v<Record, TBankData>) {
                const int site = document.Sites.Find(record.Site);
                object[field.Key] = site >= 0 ? ordered_json(site) : ordered_json(nullptr);
            }
            break;
        }
    }
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
                       const std::vector<std::string>& known) {
        if (!value.is_object()) {
            Fail(path, "must be an object");
            return nullptr;
        }
        for (const auto& item : value.items())
            if (std::find(known.begin(), known.end(), item.key()) == known.end()) {
                Fail(path + "/" + item.key(), "is not a field here");
                return nullptr;
            }
        return &value;
    }

    // A text at `key`: nothing when absent or refused (refused: reported).
    // It must be a string of characters a document holds, at most
    // `maxLength` of them after the editor's own change of typed text, that
    // passes `valid`.
    std::optional<std::string> ReadText(const json& object, const std::string& path,
                                        const char* key, std::size_t maxLength,
                                        bool (*valid)(std::string_view), const std::string& rule,
                                        std::string (*typed)(std::string_view) = nullptr) {
        const auto found = object.find(key);
        if (found == object.end())
            return std::nullopt;
        const std::string where = path + "/" + key;
        if (!found->is_string()) {
            Fail(where, "must be a string");
            return std::nullopt;
        }
        std::size_t bad = 0;
        const auto converted = Utf8ToDocumentText(found->get<std::string>(), &bad);
        if (!converted) {
            Fail(where, "character " + std::to_string(bad + 1) +
                            " cannot be kept in a document (one byte per character, "
                            "Windows-1252)");
            return std::nullopt;
        }
        std::string text = typed != nullptr ? typed(*converted) : *converted;
        if (text.size() > maxLength) {
            Fail(where, "at most " + std::to_string(maxLength) + " characters");
            return std::nullopt;
        }
        if (valid != nullptr && !valid(text)) {
            Fail(where, rule);
            return std::nullopt;
        }
        return text;
    }

    template <std::size_t N>
    void Text(const json& object, const std::string& path, const char* key, TText<N>& target,
              std::size_t maxLength, bool (*valid)(std::string_view), const std::string& rule) {
        if (const auto text = ReadText(object, path, key, maxLength, valid, rule))
            target.Set(*text);
    }

    template <typename Record>
    void DescribedText(const json& object, const std::string& path,
                       const fields::Field<Record>& field, Record& record) {
        if (const auto text = ReadText(object, path, field.Key, field.MaxLength, field.Valid,
                                       field.Rule, field.Typed))
            field.SetText(record, *text);
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

    // The described fields of a record in `object` (those of `group`); a
    // bank's site is read by the caller, which knows the document's sites.
    template <typename Record>
    void Fields(const json& object, const std::string& path,
                const std::vector<fields::Field<Record>>& list, Record& record,
                const char* group = nullptr) {
        for (const auto& field : list) {
            if ((field.Group == nullptr) != (group == nullptr) ||
                (group != nullptr && std::string_view(group) != field.Group))
                continue;
            switch (field.Type) {
            case fields::Kind::Text:
                DescribedText(object, path, field, record);
                break;
            case fields::Kind::Flag: {
                std::int32_t flag = field.Value(record);
                Flag(object, path, field.Key, flag);
                field.SetValue(record, flag);
                break;
            }
            case fields::Kind::OneOf:
                if (const int chosen = Choice(object, path, field.Key, field.Choices());
                    chosen >= 0)
                    field.SetValue(record, chosen);
                break;
            case fields::Kind::Route: {
                std::int32_t route = field.Value(record);
                Route(object, path, field.Key, route);
                field.SetValue(record, route);
                break;
            }
            case fields::Kind::Site:
                break;
            }
        }
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

// The keys of the described fields of a record that stand in one JSON
// object: the top-level ones with the names of the nested objects, or those
// of one nested object.
template <typename Record>
std::vector<std::string> KeysOf(const std::vector<fields::Field<Record>>& list,
                                const char* group = nullptr) {
    std::vector<std::string> keys;
    for (const auto& field : list) {
        std::string key;
        if (group == nullptr)
            key = field.Group != nullptr ? field.Group : field.Key;
        else if (field.Group != nullptr && std::string_view(group) == field.Group)
            key = field.Key;
        if (!key.empty() && std::find(keys.begin(), keys.end(), key) == keys.end())
            keys.push_back(key);
    }
    return keys;
}

void ReadGeneral(Reader& r, const json& value, TGlobalData& g) {
    const std::string path = "/general";
    if (const json* o = r.Object(value, path, KeysOf(fields::GeneralFields())))
        r.Fields(*o, path, fields::GeneralFields(), g);
}

void ReadChannel(Reader& r, const json& value, const std::string& path, TRfChannel& c) {
    const json* o = r.Object(value, path, KeysOf(fields::ChannelFields()));
    if (o == nullptr)
        return;
    for (const char* key : {"receiveFrequency", "transmitFrequency"})
        if (o->find(key) == o->end())
            r.Fail(path + "/" + key, "is required");
    r.Fields(*o, path, fields::ChannelFields(), c);
}

void ReadBank(Reader& r, const json& value, const std::string& path, TBankData& b,
              TBoardData& document) {
    const auto& described = fields::BankFields();
    const json* o = r.Object(value, path, KeysOf(described));
    if (o == nullptr)
        return;
    r.Fields(*o, path, described, b);
    if (const auto site = o->find("site"); site != o->end() && !site->is_null()) {
        const auto position = IntegerIn(*site, 0, document.Sites.Count() - 1);
        if (!position)
            r.Fail(path + "/site", "null or the position of a site in /sites (from 0)");
        else
            b.Site = &document.Sites[static_cast<int>(*position)];
    }
    for (const char* group : {"ptt", "button"}) {
        const auto nested = o->find(group);
        if (nested == o->end())
            continue;
        const std::string where = path + "/" + group;
        if (const json* action = r.Object(*nested, where, KeysOf(described, group)))
            r.Fields(*action, where, described, b, group);
    }
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
    ordered_json out;
    PutFields(out["product"], fields::ProductFields(), document.Product, document);
    PutFields(out["general"], fields::GeneralFields(), document.Global, document);
    out["speedDial"] = ordered_json::array();
    for (int i = 0; i < TSdData::kLocations; ++i)
        out["speedDial"].push_back({{"number", Utf8(document.SpeedDial.Number[i].View())},
                                    {"route", document.SpeedDial.Route[i]}});
    out["sites"] = ordered_json::array();
    for (const auto& site : document.Sites) {
        ordered_json channels = ordered_json::array();
        for (const auto& channel : site->Channels)
            PutFields(channels.emplace_back(), fields::ChannelFields(), *channel, document);
        out["sites"].push_back({{"name", Utf8(site->Name.View())}, {"channels", channels}});
    }
    out["banks"] = ordered_json::array();
    for (const auto& bank : document.Banks)
        PutFields(out["banks"].emplace_back(), fields::BankFields(), *bank, document);
    return out;
}

std::optional<JsonError> DocumentFromJson(const json& value, TBoardData& document) {
    Reader r;
    auto built = std::make_unique<TBoardData>();
    const json* root = r.Object(value, "", {"product", "general", "speedDial", "sites", "banks"});
    if (root == nullptr)
        return r.Error;

    if (const auto product = root->find("product"); product != root->end()) {
        if (const json* o = r.Object(*product, "/product", KeysOf(fields::ProductFields()))) {
            r.Fields(*o, "/product", fields::ProductFields(), built->Product);
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
