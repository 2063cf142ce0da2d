// zeltool show: a readable summary of a document.
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <iostream>
#include <memory>

namespace {

std::string Yes(std::int32_t flag) {
    return flag == 1 ? "yes" : "no";
}

void Show(const TBoardData& d, std::ostream& out) {
    const auto& g = d.Global;
    out << "Product: " << Utf8(d.Product.ProductName.View()) << " / "
        << Utf8(d.Product.ModelNumber.View())
        << (d.Product.Password.Empty() ? "" : "  (password protected)") << "\n";
    out << "Options:\n"
        << "  Verify ESN: " << Yes(g.VerifyEsn)
        << (g.EsnText.Empty() ? "" : "  (ESN " + Utf8(g.EsnText.View()) + ")") << "\n"
        << "  Conventional operation: " << Yes(g.ConventionalOperation) << "\n"
        << "  Clear channel alert: " << Yes(g.ClearChannelAlert) << "\n"
        << "  Disable radio-kill: " << Yes(g.DisableRadioKill) << "\n"
        << "  Busy channel detect: " << (g.BusyDetectCtcss == 1 ? "CTCSS" : "Carrier") << "\n"
        << "  Disable user programming: " << Yes(g.DisableUserProgramming) << "\n"
        << "  Restrict keypad calls: " << Yes(g.RestrictKeypadCalls) << "\n"
        << "  External microphone: " << (g.ExtMicDelayed == 1 ? "Delayed" : "Standard") << "\n"
        << "  Disable disconnect beep: " << Yes(g.DisableDisconnectBeep) << "\n";
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
            << (b.PttGroup == 1     ? "Group " + Utf8(b.PttPagingCode.View())
                : b.PttConnect == 1 ? "Connect " + Utf8(b.PttNumber.View())
                                    : std::string("None"))
            << "  button "
            << (b.ButtonGroup == 1     ? "Group " + Utf8(b.ButtonPagingCode.View())
                : b.ButtonConnect == 1 ? "Connect " + Utf8(b.ButtonNumber.View())
                                       : std::string("None"))
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
