// zeltool read: the option board into a document or a file of its bytes.
#include "radiolink/tarvodll.h"
#include "tools/zeltool/board.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <filesystem>
#include <iostream>
#include <memory>

namespace {

int Read(int portOption, const std::string& output, bool force, bool details) {
    PrepareLibraryForReading(TProductData{});
    TarvoRadio radio;
    TOptionImage board{};
    const int port = ChoosePort(portOption);
    if (const int read = ReadOrFail(radio, port, board, ""); read != status::Ok)
        return read;
    if (std::filesystem::path(output).extension() != ".zel") {
        if (const int written = WriteOutput(output, board.data(), board.size());
            written != status::Ok)
            return written;
        std::cerr << "Board memory written to " << (output == "-" ? "standard output" : output)
                  << "\n";
        return status::Ok;
    }
    return SaveDecoded(board, "The option board", "board", output, force, details);
}

} // namespace

Command AddRead(CLI::App& tool) {
    struct Options {
        int Port = 0;
        std::string Output;
        bool Force = false;
        bool Details = false;
    };
    auto o = std::make_shared<Options>();
    auto* command = tool.add_subcommand("read", "Read the option board into a document or a file");
    command->add_option("--port", o->Port, "Serial port 1..4")->check(CLI::Range(1, 4));
    command
        ->add_option("-o,--output", o->Output,
                     "FILE.zel: the board decoded into a document; any other name: the raw "
                     "2256 bytes")
        ->required();
    command->add_flag("--force", o->Force,
                      "Write the document also when the board holds bytes that "
                      "no document makes (what could be decoded)");
    command->add_flag("--details", o->Details,
                      "List every field of the board that no document makes");
    return {command, [o] { return Read(o->Port, o->Output, o->Force, o->Details); }};
}
