// zeltool import: a document from JSON, checked as the editors check; or RF
// sites with their channels from CSV, merged into a document or a new one.
#include "exchange/channelcsv.h"
#include "exchange/documentjson.h"
#include "platform/inputfile.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <iostream>
#include <memory>

namespace {

// A JSON document of the largest possible document is far smaller, as is a
// CSV of sixteen sites of sixteen channels.
constexpr std::size_t kMaxInputBytes = 16 << 20;

struct ImportOptions {
    std::string Input;
    std::string Output;
    bool Csv = false;
    std::string Into;
    PasswordGate Gate;
};

int ImportJson(const ImportOptions& o, const std::string& text) {
    JsonError error;
    const auto json = ParseDocumentJson(text, error);
    TBoardData document;
    if (json)
        if (const auto wrong = DocumentFromJson(*json, document))
            error = *wrong;
    if (!json || !error.Path.empty())
        return Fail(status::InvalidData, o.Input + ": " + error.Path + ": " + error.Rule);
    return SaveOrFail(document, o.Output);
}

int ImportCsv(ImportOptions& o, const std::string& text) {
    std::unique_ptr<TBoardData> document = std::make_unique<TBoardData>();
    if (!o.Into.empty())
        if (const int loaded = LoadUnlocked(o.Into, document, o.Gate); loaded != status::Ok)
            return loaded;
    const auto faults = MergeChannelsCsv(text, *document);
    for (const auto& fault : faults)
        std::cerr << o.Input << ": " << fault.Text() << "\n";
    if (!faults.empty())
        return Fail(status::InvalidData,
                    std::to_string(faults.size()) + " fault(s) in the CSV; nothing was imported");
    return SaveOrFail(*document, o.Output);
}

} // namespace

Command AddImport(CLI::App& tool) {
    auto o = std::make_shared<ImportOptions>();
    auto* command = tool.add_subcommand(
        "import", "Create a document from JSON, or merge RF sites and channels from CSV, checked "
                  "as the editors check");
    command->add_option("FILE", o->Input, "JSON file, or CSV file with --csv")->required();
    command->add_option("-o,--output", o->Output, "Document to write")->required();
    command->add_flag("--csv", o->Csv,
                      "FILE holds RF sites and channels as CSV: a site named as one of the "
                      "document's gets the CSV's channels in place of its own, other sites are "
                      "added");
    command->add_option("--into", o->Into,
                        "With --csv: the document the sites are merged into (default: a new "
                        "document)");
    o->Gate.AddOption(command);
    return {command, [o] {
                if (!o->Into.empty() && !o->Csv)
                    return Fail(status::Usage, "--into merges a CSV; give --csv as well");
                if (const int same = RefuseSameFile(o->Input, o->Output); same != status::Ok)
                    return same;
                std::string text;
                if (const InputProblem problem = ReadWholeFile(o->Input, kMaxInputBytes, text);
                    problem != InputProblem::None)
                    return Fail(status::CannotRead,
                                o->Input + ": " + DescribeInputProblem(problem));
                return o->Csv ? ImportCsv(*o, text) : ImportJson(*o, text);
            }};
}
