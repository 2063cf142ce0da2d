// zeltool new: a document with its defaults.
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <filesystem>
#include <memory>

Command AddNew(CLI::App& tool) {
    struct Options {
        std::string File;
        bool Force = false;
    };
    auto o = std::make_shared<Options>();
    auto* command = tool.add_subcommand("new", "Create a new document with its defaults");
    command->add_option("FILE", o->File, "Document to create")->required();
    command->add_flag("--force", o->Force, "Replace a file that is already there");
    return {command, [o] {
                std::error_code error;
                if (o->File != "-" && !o->Force &&
                    std::filesystem::exists(std::filesystem::symlink_status(o->File, error)))
                    return Fail(status::CannotWrite,
                                o->File + " exists already; --force replaces it");
                return SaveOrFail(TBoardData{}, o->File);
            }};
}
