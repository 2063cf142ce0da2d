// zeltool image: the 2256-byte option-board image of a document.
#include "readback/imagefields.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <cstdio>
#include <iostream>
#include <memory>

namespace {

void HexDump(const TOptionImage& image, std::ostream& out) {
    const char* block = nullptr;
    for (std::size_t offset = 0; offset < image.size(); offset += 16) {
        if (BlockAt(offset) != block) {
            block = BlockAt(offset);
            out << "; " << block << "\n";
        }
        char line[80];
        int used = std::snprintf(line, sizeof line, "%04zX ", offset);
        for (std::size_t i = 0; i < 16; ++i)
            used += std::snprintf(line + used, sizeof line - static_cast<std::size_t>(used),
                                  " %02X", image[offset + i]);
        out << line << "\n";
    }
}

} // namespace

Command AddImage(CLI::App& tool) {
    struct Options {
        std::string File;
        std::string Output;
    };
    auto o = std::make_shared<Options>();
    auto* command = tool.add_subcommand("image", "Build the 2256-byte option-board image");
    command->add_option("FILE", o->File, "Document")->required();
    command->add_option("-o,--output", o->Output,
                        "Binary image file, - for standard output (annotated hex dump without it)");
    return {command, [o] {
                if (!o->Output.empty())
                    if (const int same = RefuseSameFile(o->File, o->Output); same != status::Ok)
                        return same;
                TOptionImage built;
                if (const int result = LoadAndBuild(o->File, built); result != status::Ok)
                    return result;
                if (o->Output.empty()) {
                    HexDump(built, std::cout);
                    return status::Ok;
                }
                return WriteOutput(o->Output, built.data(), built.size());
            }};
}
