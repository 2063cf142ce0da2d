// zeltool export: every field of a document as JSON.
#include "exchange/documentjson.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <memory>

Command AddExport(CLI::App& tool) {
    struct Options {
        std::string File;
        std::string Output;
        PasswordGate Gate;
    };
    auto o = std::make_shared<Options>();
    auto* command = tool.add_subcommand("export", "Write every field of a document as JSON");
    command->add_option("FILE", o->File, "Document")->required();
    command->add_option("-o,--output", o->Output, "JSON file (standard output without it)");
    o->Gate.AddOption(command);
    return {command, [o] {
                const std::string output = o->Output.empty() ? "-" : o->Output;
                if (const int same = RefuseSameFile(o->File, output); same != status::Ok)
                    return same;
                std::unique_ptr<TBoardData> document;
                if (const int loaded = LoadUnlocked(o->File, document, o->Gate);
                    loaded != status::Ok)
                    return loaded;
                return WriteOutput(output, DocumentToJson(*document).dump(2) + "\n");
            }};
}
