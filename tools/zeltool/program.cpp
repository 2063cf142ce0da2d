// zeltool program: a document into the option board; several boards at
// once, or one board after another.
#include "app/core/preferences.h"
#include "document/zelfile.h"
#include "platform/terminal.h"
#include "programming/sha256.h"
#include "programminglog/programminglog.h"
#include "radiolink/resultcodes.h"
#include "radiolink/tarvodll.h"
#include "report/sheethtml.h"
#include "tools/zeltool/board.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"
#include "tools/zeltool/fleet.h"
#include "tools/zeltool/sheet.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <thread>

namespace {

// The hidden option that tells a program started for one port of a fleet
// that it is one board of several.
constexpr const char* kOneOfAFleet = "--one-of-a-fleet";

// What to do with each board: the document, and the options of the run.
struct ProgramJob {
    std::string File;
    bool Verify = false;
    std::string BackupDir;
    std::string Sheet;          // the configuration sheet of a programmed board, or none
    bool SheetPerBoard = false; // several boards: each sheet named by its ESN
};

// The sheet's file for a board: the name given, or with several boards that
// name with the board's ESN before its extension.
std::string SheetFor(const ProgramJob& job, const std::string& esn) {
    if (!job.SheetPerBoard || job.Sheet == "-")
        return job.Sheet;
    std::filesystem::path path(job.Sheet);
    const std::string extension = path.extension().string();
    return path.replace_extension().string() + "-" + (esn.empty() ? "noesn" : esn) + extension;
}

// The configuration sheet of the board just programmed, with its ESN, the
// time and the image's checksum.
int WriteBoardSheet(const ProgramJob& job, const TBoardData& document, int port,
                    const TOptionImage& image, const std::string& esn) {
    const std::string html = ConfigurationSheetHtml(
        document,
        {std::filesystem::path(job.File).filename().string(), ReportTimestamp(),
         ProgrammedBoard{esn, "COM" + std::to_string(port), ReportTimestamp(), Sha256Hex(image)}});
    const std::string output = SheetFor(job, esn);
    if (const int written = WriteSheet(html, output); written != status::Ok)
        return Fail(written, "the board was programmed; its sheet was not written");
    std::cerr << "Configuration sheet: " << output << "\n";
    return status::Ok;
}

// What became of one board beyond the exit status, as the programming log
// keeps it.
struct BoardRun {
    std::string Esn;         // once it was read
    bool WriteBegun = false; // a block reached the board
    int Code = 0;            // the library's result, kOutsideTheLink, or 0
    std::string Text;        // what the user was told last
    std::string Verify = kVerifyNotAsked;
};

// Programs one board that `image` is loaded for; `run` tells how it went.
int ProgramBoard(const ProgramJob& job, int port, const TOptionImage& image, BoardRun& run) {
    const auto failed = [&run](int exitStatus, int code, const std::string& text) {
        run.Code = code;
        run.Text = text;
        return Fail(exitStatus, text);
    };
    TarvoRadio radio;
    if (!job.BackupDir.empty()) {
        TOptionImage board{};
        const std::string context = "backup read failed, nothing was written: ";
        if (const int read = ReadOrFail(radio, port, board, context, &run.Esn);
            read != status::Ok) {
            run.Code = kOutsideTheLink;
            run.Text = context.substr(0, context.size() - 2);
            return read;
        }
        std::error_code ignored;
        std::filesystem::create_directories(job.BackupDir, ignored);
        // Named by the board's ESN and the time; boards programmed at once
        // on several ports each get their own.
        const auto path = std::filesystem::path(job.BackupDir) / BackupFileName(port, run.Esn);
        if (WriteOutput(path.string(), board.data(), board.size()) != status::Ok)
            return failed(status::CannotWrite, kOutsideTheLink,
                          "the backup was not written; nothing was written to the board");
        std::cerr << "Backup of the board: " << path.string() << "\n";
    }

    CliObserver observer;
    ProgrammingOptions options;
    options.Cancelled = [] { return interrupted.load(); };
    const ProgrammingResult result = TransferImage(image, port, radio, observer, options);
    run.Esn = result.Esn.empty() ? run.Esn : result.Esn;
    run.WriteBegun = result.WriteBegun;
    run.Code = result.Code;
    run.Text = result.Message;
    switch (result.Outcome) {
    case RunOutcome::InvalidDocument: // built above already
        return Fail(status::InvalidData, result.Message);
    case RunOutcome::Cancelled:
        return failed(status::Interrupted, kOutsideTheLink, result.Message);
    case RunOutcome::RadioError:
        return RadioFailure(
            result.Code, port,
            result.WriteBegun
                ? result.Message + " (the option board may hold a partial image; program it again)"
                : result.Message);
    case RunOutcome::Programmed:
        break;
    }
    std::cerr << result.Message << "\n";
    if (!job.Verify)
        return status::Ok;
    TOptionImage board{};
    if (const int read = ReadOrFail(radio, port, board, "verification read failed: ");
        read != status::Ok) {
        run.Verify = kVerifyFailed;
        return read;
    }
    const int compared = CompareWithImage(board, image);
    run.Verify = compared == status::Ok ? kVerifyPassed : kVerifyDiffers;
    return compared;
}

// Programs one board, recorded in the programming log.
int Program(const ProgramJob& job, int portOption, BoardRun* run = nullptr) {
    const std::string& file = job.File;
    // A document, or an image file (a backup) written as it is.
    std::unique_ptr<TBoardData> document;
    TOptionImage image;
    if (const int loaded = LoadDocumentOrImage(file, document, image); loaded != status::Ok)
        return loaded;
    if (!document && !job.Sheet.empty())
        return Fail(status::Usage, "--sheet describes a document; " + file + " is an image file");
    if (!document)
        PrepareLibraryForReading(TProductData{});
    const int port = ChoosePort(portOption);
    std::cerr << "Programming " << file << " on COM" << (port >= 1 && port <= 4 ? port : 1) << "\n";
    BoardRun local;
    BoardRun& board = run != nullptr ? *run : local;
    const std::optional<std::int64_t> row =
        Log().Begin(DescribeRunStart("zeltool", port, file, document.get(), image));
    const int result = ProgramBoard(job, port, image, board);
    if (row)
        Log().Finish(*row, {board.Esn, board.Code, board.Text, board.Verify});
    ReportLogProblem();
    if (result == status::Ok && !job.Sheet.empty() && document)
        return WriteBoardSheet(job, *document, port, image, board.Esn);
    return result;
}

// The command line of the run with one port of the fleet, for a system that
// starts the program again for each port rather than forking it.
std::vector<std::string> OneBoardOfTheFleet(int port) {
    std::vector<std::string> arguments;
    for (std::size_t i = 0; i < commandArguments.size(); ++i) {
        if (commandArguments[i] == "--port") {
            ++i; // and its value
            continue;
        }
        if (!commandArguments[i].starts_with("--port="))
            arguments.push_back(commandArguments[i]);
    }
    arguments.insert(arguments.end(), {"--port", std::to_string(port), kOneOfAFleet});
    return arguments;
}

// Several boards at once, one child process per port; a summary at the end.
int ProgramFleet(const ProgramJob& job, const std::vector<int>& ports) {
    for (std::size_t i = 0; i < ports.size(); ++i)
        if (std::count(ports.begin(), ports.begin() + static_cast<long>(i), ports[i]) > 0)
            return Fail(status::Usage, "--port " + std::to_string(ports[i]) + " is given twice");
    // A document that cannot be programmed is reported once, not per port.
    std::unique_ptr<TBoardData> document;
    TOptionImage image;
    if (const int loaded = LoadDocumentOrImage(job.File, document, image); loaded != status::Ok)
        return loaded;
    const auto outcomes = RunPerPort(
        ports,
        [&job](int port) {
            return ChildWork{[&job, port] { return Program(job, port); }, OneBoardOfTheFleet(port)};
        },
        [] { return interrupted.load(); }, std::cerr, IsTerminal(StandardStream::Error));
    PrintSummary(outcomes, std::cout);
    for (const auto& outcome : outcomes)
        if (outcome.Status != status::Ok)
            return outcome.Status;
    return status::Ok;
}

void PauseBriefly() {
    for (int i = 0; i < 5 && !interrupted; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

// Waits until another board answers on the port: a radio with another ESN,
// or any radio after the port stopped answering (the same radio connected
// again). False when the user stops the wait.
bool WaitForNextBoard(int port, const std::string& lastEsn) {
    std::cerr << "Waiting for the next board on COM" << port << " (Ctrl-C to stop)\n";
    TarvoRadio radio;
    bool absent = false;
    while (!interrupted) {
        char esn[16] = {};
        if (radio.GetEsn(port, esn) == tarvo::code::Success) {
            if (absent || std::string(esn, strnlen(esn, 10)) != lastEsn)
                return true;
        } else {
            absent = true;
        }
        PauseBriefly();
    }
    return false;
}

// One board after another on one port, until the user stops. Stopped while
// waiting for the next board, the batch ends as it stands; stopped during a
// board, that board counts as failed once a block reached it, and the run
// exits as interrupted.
int ProgramRepeatedly(const ProgramJob& job, int portOption) {
    const int port = ChoosePort(portOption);
    int programmed = 0;
    int failed = 0;
    int firstFailure = status::Ok;
    for (;;) {
        BoardRun board;
        const int result = Program(job, port, &board);
        if (result == status::Interrupted) {
            failed += board.WriteBegun ? 1 : 0;
            firstFailure = status::Interrupted;
            break;
        }
        if (result == status::Ok) {
            ++programmed;
        } else {
            ++failed;
            if (firstFailure == status::Ok)
                firstFailure = result;
        }
        std::cerr << "Boards programmed: " << programmed << ", failed: " << failed << "\n";
        if (result == status::InvalidData || result == status::CannotRead)
            return result; // the document itself is at fault, not the board
        if (!WaitForNextBoard(port, board.Esn))
            break;
    }
    std::cout << "Programmed " << programmed << " board(s) on COM" << port << ", " << failed
              << " failed.\n";
    return firstFailure;
}

} // namespace

Command AddProgram(CLI::App& tool) {
    struct Options {
        std::string File;
        std::vector<int> Ports;
        bool Repeat = false;
        bool Verify = false;
        std::string BackupDir;
        bool NoBackup = false;
        std::string Sheet;
        bool OneOfAFleet = false;
    };
    auto o = std::make_shared<Options>();
    auto* command = tool.add_subcommand("program", "Program a document into the option board");
    command
        ->add_option("FILE", o->File,
                     "Document, or a 2256-byte image file (a backup), written as it is")
        ->required();
    command
        ->add_option("--port", o->Ports,
                     "Serial port 1..4 (default: the program's settings, else 1); given more "
                     "than once, the boards on all these ports are programmed at once")
        ->check(CLI::Range(1, 4));
    command->add_flag("--repeat", o->Repeat,
                      "After each board, wait for the next one on the port and program it too, "
                      "until Ctrl-C");
    command->add_flag("--verify", o->Verify, "Read the board back and compare it with the image");
    command->add_option("--backup", o->BackupDir,
                        "First save the board's current memory into a file named by its ESN and "
                        "the time here (default: the backup-folder of the user's preferences)");
    command->add_flag("--no-backup", o->NoBackup,
                      "Make no backup, even when the user's preferences ask for one");
    command->add_option("--sheet", o->Sheet,
                        "After a board is programmed (and verified, with --verify), write its "
                        "configuration sheet with its ESN, the date and the image checksum "
                        "(OUT.pdf or OUT.html; with several boards, each named by its ESN)");
    command->add_flag(kOneOfAFleet, o->OneOfAFleet)->group("");
    return {command, [o] {
                std::string backupDir = o->BackupDir;
                if (backupDir.empty() && !o->NoBackup)
                    backupDir = ReadUserPreferences().BackupFolder.string();
                if (o->NoBackup)
                    backupDir.clear();
                if (const std::string problem = o->Sheet.empty() ? "" : SheetNameProblem(o->Sheet);
                    !problem.empty())
                    return Fail(status::Usage, problem);
                const ProgramJob job{o->File, o->Verify, backupDir, o->Sheet,
                                     o->Repeat || o->Ports.size() > 1 || o->OneOfAFleet};
                const int port = o->Ports.empty() ? 0 : o->Ports.front();
                if (o->Repeat && o->Ports.size() > 1)
                    return Fail(status::Usage, "--repeat programs one port at a time");
                if (o->Repeat)
                    return ProgramRepeatedly(job, port);
                if (o->Ports.size() > 1 && !deviceOverride.empty())
                    return Fail(status::Usage, "--device names one device; map each port of a "
                                               "fleet run with TARVO_COMn");
                if (o->Ports.size() > 1)
                    return ProgramFleet(job, o->Ports);
                return Program(job, port);
            }};
}
