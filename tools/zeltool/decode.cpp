// zeltool decode: a file of a board's bytes (a backup, a read) turned into a
// document, with the same findings and the same --force rule as reading a
// board.
#include "tools/zeltool/board.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <memory>

Command AddDecode(CLI::App& tool) {
    struct Options {
        std::string Input;
        std::string Output;
        bool Force = false;
        bool Details = false;
    };
    auto o = std::make_shared<Options>();
    auto* command = tool.add_subcommand("decode", "Turn a 2256-byte image file into a document");
    command
        ->add_option("IMAGE", o->Input, "Image file (a backup, or a board read with -o FILE.bin)")
        ->required();
    command->add_option("-o,--output", o->Output, "Document to write")->required();
    command->add_flag("--force", o->Force,
                      "Write the document also when the image holds bytes that no document "
                      "makes (what could be decoded)");
    command->add_flag("--details", o->Details, "List every field that no document makes");
    return {command, [o] {
                if (const int same = RefuseSameFile(o->Input, o->Output); same != status::Ok)
                    return same;
                TOptionImage image{};
                if (const int loaded = LoadImageFile(o->Input, image); loaded != status::Ok)
                    return loaded;
                return SaveDecoded(image, "The image", "image", o->Output, o->Force, o->Details);
            }};
}
