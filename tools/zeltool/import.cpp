// zeltool import: a document from JSON, checked as the editors check.
#include "exchange/documentjson.h"
#include "platform/inputfile.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <memory>

namespace {

// A JSON document of the largest possible document is far smaller.
constexpr std::size_t kMaxJsonBytes = 16 << 20;

} // namespace

Command AddImport(CLI::App& tool) {
    struct Options {
        std::string Input;
        std::string Output;
    };
    auto o = std::make_shared<Options>();
    auto* command =
        tool.add_subcommand("import", "Create a document from JSON, checked as the editors check");
    command->add_option("JSON", o->Input, "JSON file")->required();
    command->add_option("-o,--output", o->Output, "Document to write")->required();
    return {
        command, [o] {
            if (const int same = RefuseSameFile(o->Input, o->Output); same != status::Ok)
                return same;
            std::string text;
            if (const InputProblem problem = ReadWholeFile(o->Input, kMaxJsonBytes, text);
                problem != InputProblem::None)
                return Fail(status::CannotRead, o->Input + ": " + DescribeInputProblem(problem));
            JsonError error;
            const auto json = ParseDocumentJson(text, error);
            TBoardData document;
            if (json)
                if (const auto wrong = DocumentFromJson(*json, document))
                    error = *wrong;
            if (!json || !error.Path.empty())
                return Fail(status::InvalidData, o->Input + ": " + error.Path + ": " + error.Rule);
            return SaveOrFail(document, o->Output);
        }};
}
