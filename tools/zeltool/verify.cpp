// zeltool verify: the option board compared with a document.
#include "radiolink/tarvodll.h"
#include "tools/zeltool/board.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <memory>

Command AddVerify(CLI::App& tool) {
    struct Options {
        std::string File;
        int Port = 0;
    };
    auto o = std::make_shared<Options>();
    auto* command = tool.add_subcommand("verify", "Compare the option board with a document");
    command->add_option("FILE", o->File, "Document")->required();
    command->add_option("--port", o->Port, "Serial port 1..4")->check(CLI::Range(1, 4));
    return {command, [o] {
                TOptionImage built;
                if (const int result = LoadAndBuild(o->File, built); result != status::Ok)
                    return result;
                TarvoRadio radio;
                TOptionImage board{};
                if (const int got = ReadOrFail(radio, ChoosePort(o->Port), board, "");
                    got != status::Ok)
                    return got;
                return CompareWithImage(board, built);
            }};
}
