// zeltool detect: what is on the bench. Reads the radio's ESN, checks the
// option board and reads its memory without resetting the radio, and says
// what the board holds.
#include "radiolink/tarvodll.h"
#include "readback/imagedecoder.h"
#include "tools/zeltool/board.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <iostream>
#include <memory>

Command AddDetect(CLI::App& tool) {
    struct Options {
        int Port = 0;
    };
    auto o = std::make_shared<Options>();
    auto* command = tool.add_subcommand(
        "detect", "Identify the radio and say what its option board holds (resets nothing)");
    command->add_option("--port", o->Port, "Serial port 1..4")->check(CLI::Range(1, 4));
    return {command, [o] {
                const int port = ChoosePort(o->Port);
                PrepareLibraryForReading(TProductData{});
                TarvoRadio radio;
                CliObserver observer;
                ProgrammingOptions options;
                options.Cancelled = [] { return interrupted.load(); };
                options.ResetAround = false;
                const BoardReadResult read = ReadBoardImage(port, radio, observer, options);
                if (read.Outcome == ReadOutcome::Cancelled)
                    return Fail(status::Interrupted, read.Message);
                if (read.Outcome == ReadOutcome::RadioError)
                    return RadioFailure(read.Code, port, read.Message);
                const auto lines = DescribeBoardContent(read.Image);
                std::cout << "Radio ESN " << read.Esn << " on COM" << port
                          << ": the option board holds " << lines.front() << "\n";
                for (std::size_t i = 1; i < lines.size(); ++i)
                    std::cout << "  " << lines[i] << "\n";
                return status::Ok;
            }};
}
