// zeltool: the command-line face of the programming tool. It edits nothing
// by hand; it creates, shows, exports and imports documents, builds the
// option-board image, programs, reads and verifies the board, and compares
// documents, images and boards. Each command lives in its own file; this one
// only reads the command line and runs the command named.
#include "radiolink/server/radioserver.h"
#include "resources/version.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"
#include "tools/zeltool/sheet.h"

#include <CLI/CLI.hpp>

#include <cstdlib>
#include <ctime>
#include <exception>
#include <vector>

namespace {

int Run(int argc, char** argv) {
    if (!radioserver::IsRegistered())
        return Fail(100, "the radio communications server is not available");

    commandArguments.assign(argv + 1, argv + argc);
    CLI::App tool{"Quarvelin II PRO-ZEL command-line tool: documents, option-board images and "
                  "programming.\n" +
                  ExitStatusHelp()};
    tool.set_version_flag("--version", std::string("zeltool ") + BuildVersion());
    tool.require_subcommand(1);
    tool.add_option("--device", deviceOverride,
                    "The device the port maps to for this run, in place of TARVO_COMn "
                    "(/dev/ttyUSB0, /dev/serial/by-id/..., sim)");
    tool.fallthrough();
    const std::vector<Command> commands = {
        AddNew(tool),     AddShow(tool),  AddExport(tool), AddImport(tool), AddImage(tool),
        AddProgram(tool), AddRead(tool),  AddDiff(tool),   AddVerify(tool), AddDetect(tool),
        AddDecode(tool),  AddPorts(tool), AddLog(tool),    AddReport(tool)};
    try {
        tool.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return tool.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return tool.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return tool.exit(e);
    } catch (const CLI::ParseError& e) {
        tool.exit(e);
        return status::Usage;
    }
    CatchInterrupts();
    for (const Command& command : commands)
        if (command.Subcommand->parsed()) {
            const int result = command.Run();
            CloseSheetWriter();
            return result;
        }
    return status::Usage;
}

} // namespace

int main(int argc, char** argv) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // Every fault ends with a message and a documented status, never an abort.
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        CloseSheetWriter();
        return Fail(status::Internal, std::string("internal error: ") + e.what());
    }
}
