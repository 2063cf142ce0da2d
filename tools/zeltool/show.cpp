// zeltool show: a readable summary of a document.
#include "description/documentfields.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <iostream>
#include <memory>

namespace {

// A described field's value as the summary shows it.
template <typename Record>
std::string Value(const fields::Field<Record>& field, const Record& record) {
    switch (field.Type) {
    case fields::Kind::Text:
        return field.Text(record).empty() ? "-" : Utf8(field.Text(record));
    case fields::Kind::Flag:
        return field.Value(record) == 1 ? "yes" : "no";
    case fields::Kind::OneOf:
        return fields::ChoiceText(field, record);
    case fields::Kind::Route:
    case fields::Kind::Site:
        break;
    }
    return std::to_string(field.Value(record));
}

// An action as one phrase: "Group 1234", "Connect 5550142", "None".
std::string ActionText(std::int32_t action, const TText<8>& pagingCode, std::string_view number) {
    if (action == fields::Group)
        return "Group " + Utf8(pagingCode.View());
    if (action == fields::Connect)
        return "Connect " + Utf8(number);
    return "None";
}

void Show(const TBoardData& d, std::ostream& out) {
    out << "Product: " << Utf8(d.Product.ProductName.View()) << " / "
        << Utf8(d.Product.ModelNumber.View())
        << (d.Product.Password.Empty() ? "" : "  (password protected)") << "\n";
    out << "Options:\n";
    for (const auto& field : fields::GeneralFields())
        out << "  " << fields::Capitalized(field.Label) << ": " << Value(field, d.Global) << "\n";
    out << "Speed dial:\n";
    for (int i = 0; i < TSdData::kLocations; ++i)
        if (!d.SpeedDial.Number[i].Empty())
            out << "  " << i << ": " << Utf8(d.SpeedDial.Number[i].View()) << "  route "
                << d.SpeedDial.Route[i] << "\n";
    out << "RF sites (" << d.Sites.Count() << "):\n";
    for (const auto& site : d.Sites) {
        out << "  " << Utf8(site->Name.View()) << " (" << site->Channels.Count() << " channels)\n";
        for (const auto& channel : site->Channels)
            out << "    " << Utf8(channel->GetDisplayText()) << "\n";
    }
    out << "Channel banks (" << d.Banks.Count() << "):\n";
    for (int i = 0; i < d.Banks.Count(); ++i) {
        const TBankData& b = d.Banks[i];
        out << "  Position " << i + 1 << ": " << Utf8(b.Name.View()) << "  site "
            << (b.Site != nullptr ? Utf8(b.Site->Name.View()) : std::string("(none)"))
            << "  address " << (b.SystemId.Empty() ? "-" : Utf8(b.SystemId.View())) << "/"
            << (b.PagingCode.Empty() ? "-" : Utf8(b.PagingCode.View())) << "  PTT "
            << ActionText(fields::PttAction(b), b.PttPagingCode, b.PttNumber.View()) << "  button "
            << ActionText(fields::ButtonAction(b), b.ButtonPagingCode, b.ButtonNumber.View())
            << (b.ReceiveGroups.Empty() ? "" : "  groups " + Utf8(b.ReceiveGroups.View())) << "\n";
    }
}

} // namespace

Command AddShow(CLI::App& tool) {
    struct Options {
        std::string File;
        PasswordGate Gate;
    };
    auto o = std::make_shared<Options>();
    auto* command = tool.add_subcommand("show", "Print a readable summary of a document");
    command->add_option("FILE", o->File, "Document")->required();
    o->Gate.AddOption(command);
    return {command, [o] {
                std::unique_ptr<TBoardData> document;
                if (const int loaded = LoadUnlocked(o->File, document, o->Gate);
                    loaded != status::Ok)
                    return loaded;
                Show(*document, std::cout);
                return status::Ok;
            }};
}
