// zeltool export: every field of a document as JSON, or its sites and
// channels as CSV.
#include "exchange/channelcsv.h"
#include "exchange/documentjson.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <memory>

Command AddExport(CLI::App& tool) {
    struct Options {
        std::string File;
        std::string Output;
        bool Csv = false;
        PasswordGate Gate;
    };
    auto o = std::make_shared<Options>();
    auto* command = tool.add_subcommand(
        "export", "Write every field of a document as JSON, or its RF sites and channels as CSV");
    command->add_option("FILE", o->File, "Document")->required();
    command->add_option("-o,--output", o->Output, "JSON or CSV file (standard output without it)");
    command->add_flag("--csv", o->Csv,
                      "The RF sites and their channels as CSV, one row a channel, for "
                      "spreadsheets");
    o->Gate.AddOption(command);
    return {command, [o] {
                const std::string output = o->Output.empty() ? "-" : o->Output;
                if (const int same = RefuseSameFile(o->File, output); same != status::Ok)
                    return same;
                std::unique_ptr<TBoardData> document;
                if (const int loaded = LoadUnlocked(o->File, document, o->Gate);
                    loaded != status::Ok)
                    return loaded;
                if (o->Csv)
                    return WriteOutput(output, ChannelsToCsv(*document));
                return WriteOutput(output, DocumentToJson(*document).dump(2) + "\n");
            }};
}
