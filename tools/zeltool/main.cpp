// zeltool: the command-line face of the programming tool. It edits nothing
// by hand; it creates, shows, exports and imports documents, builds the
// option-board image, programs, reads and verifies the board, and compares
// documents, images and boards.
#include "document/inputfile.h"
#include "document/limits.h"
#include "document/windows1252.h"
#include "document/zelfile.h"
#include "programming/documentdiff.h"
#include "programming/image.h"
#include "programming/imagedecoder.h"
#include "programming/imagefields.h"
#include "programming/report.h"
#include "programming/run.h"
#include "programming/settings.h"
#include "radiolink/server/portlist.h"
#include "radiolink/server/radioserver.h"
#include "radiolink/tarvodll.h"
#include "report/reportwriter.h"
#include "tools/zeltool/documentjson.h"
#include "tools/zeltool/fleet.h"

#include "document/safefile.h"

#include <CLI/CLI.hpp>
#include <QGuiApplication>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <optional>
#include <sstream>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

// Exit codes besides the radio-link library's result codes (1..14, 100, 200).
namespace status {
constexpr int Ok = 0;
constexpr int Usage = 64;
constexpr int InvalidData = 65; // a document that cannot be programmed, or invalid JSON
constexpr int CannotRead = 66;  // an input file missing, unreadable or refused
constexpr int Internal = 70;    // a fault of zeltool itself
constexpr int CannotWrite = 73;
constexpr int Mismatch = 75;      // the board differs from the image
constexpr int NotADocument = 76;  // the board's bytes do not decode into a document
constexpr int WrongPassword = 77; // a locked document without its password
constexpr int Differ = 1;         // zeltool diff: the two differ
constexpr int Interrupted = 130;
} // namespace status

// A JSON document of the largest possible document is far smaller.
constexpr std::size_t kMaxJsonBytes = 16 << 20;

std::atomic<bool> interrupted{false};

void OnInterrupt(int) {
    interrupted = true;
}

int Fail(int code, const std::string& message) {
    std::cerr << "zeltool: " << message << "\n";
    return code;
}

int LoadOrFail(const std::string& path, std::unique_ptr<TBoardData>& document) {
    const ZelResult result = LoadDocument(path, document);
    if (result == ZelResult::Ok)
        return status::Ok;
    return Fail(status::CannotRead,
                "Unable to open file " + path + ": " + DescribeZelResult(result));
}

// Writes an output: "-" is standard output, any other name goes through the
// safe-write helper.
int WriteOutput(const std::string& path, std::string_view bytes) {
    if (path == "-") {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        return std::cout ? status::Ok : Fail(status::CannotWrite, "cannot write standard output");
    }
    const WriteResult written = WriteFileSafely(path, bytes);
    if (written == WriteResult::Ok)
        return status::Ok;
    return Fail(status::CannotWrite, "cannot write " + path + ": " + DescribeWriteResult(written));
}

int WriteOutput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    return WriteOutput(path, std::string_view(reinterpret_cast<const char*>(data), size));
}

int SaveOrFail(const TBoardData& document, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    const ZelResult encoded =
        EncodeDocument(document, static_cast<std::uint16_t>(std::rand() % 32768), bytes);
    if (encoded != ZelResult::Ok)
        return Fail(status::CannotWrite, "cannot save " + path + ": " + DescribeZelResult(encoded));
    return WriteOutput(path, bytes.data(), bytes.size());
}

// An output that names the input file itself would be lost with it.
int RefuseSameFile(const std::string& input, const std::string& output) {
    std::error_code error;
    if (output != "-" && std::filesystem::equivalent(input, output, error))
        return Fail(status::Usage, output + " is the input file itself; choose another output");
    return status::Ok;
}

// Texts of a document, for the terminal.
std::string Utf8(std::string_view text) {
    return DocumentTextToUtf8(text);
}

// Reads a line from the terminal without showing it.
std::string ReadSecretLine() {
    termios saved{};
    const bool terminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::cerr << "\n";
    }
    return line;
}

// The document password is a lock on viewing the document's settings: a
// command that shows them needs it, from --password or typed at a prompt.
struct PasswordGate {
    std::optional<std::string> Given; // --password, as typed (UTF-8)

    int Check(const TBoardData& document, const std::string& path) {
        if (document.Product.Password.Empty())
            return status::Ok;
        if (!Given) {
            if (::isatty(STDIN_FILENO) != 1)
                return Fail(status::WrongPassword,
                            path + " is password protected; give its password with --password");
            std::cerr << "Password for " << path << ": " << std::flush;
            Given = ReadSecretLine();
        }
        const auto entry = Utf8ToDocumentText(*Given);
        if (!entry || entry->substr(0, limits::kPassword) != document.Product.Password.View())
            return Fail(status::WrongPassword, "Incorrect password for " + path);
        return status::Ok;
    }
};

// A document whose settings are shown: loaded, then unlocked.
int LoadUnlocked(const std::string& path, std::unique_ptr<TBoardData>& document,
                 PasswordGate& gate) {
    if (const int loaded = LoadOrFail(path, document); loaded != status::Ok)
        return loaded;
    return gate.Check(*document, path);
}

// The port: the option, else the GUI's settings file, else COM1.
int ChoosePort(int option) {
    if (option != 0)
        return option;
    TAppSettings settings;
    ReadAllSettings(ThisProgram(nullptr).parent_path() / "zel", settings);
    return settings.Port;
}

std::string Yes(std::int32_t flag) {
    return flag == 1 ? "yes" : "no";
}

void Show(const TBoardData& d, std::ostream& out) {
    const auto& g = d.Global;
    out << "Product: " << Utf8(d.Product.ProductName.View()) << " / "
        << Utf8(d.Product.ModelNumber.View())
        << (d.Product.Password.Empty() ? "" : "  (password protected)") << "\n";
    out << "Options:\n"
        << "  Verify ESN: " << Yes(g.VerifyEsn)
        << (g.EsnText.Empty() ? "" : "  (ESN " + Utf8(g.EsnText.View()) + ")") << "\n"
        << "  Conventional operation: " << Yes(g.ConventionalOperation) << "\n"
        << "  Clear channel alert: " << Yes(g.ClearChannelAlert) << "\n"
        << "  Disable radio-kill: " << Yes(g.DisableRadioKill) << "\n"
        << "  Busy channel detect: " << (g.BusyDetectCtcss == 1 ? "CTCSS" : "Carrier") << "\n"
        << "  Disable user programming: " << Yes(g.DisableUserProgramming) << "\n"
        << "  Restrict keypad calls: " << Yes(g.RestrictKeypadCalls) << "\n"
        << "  External microphone: " << (g.ExtMicDelayed == 1 ? "Delayed" : "Standard") << "\n"
        << "  Disable disconnect beep: " << Yes(g.DisableDisconnectBeep) << "\n";
    out << "Speed dial:\n";
    for (int i = 0; i < TSdData::kLocations; ++i)
        if (!d.SpeedDial.Number[i].Empty())
            out << "  " << i << ": " << Utf8(d.SpeedDial.Number[i].View()) << "  route "
                << d.SpeedDial.Route[i] << "\n";
    out << "RF sites (" << d.Sites.Count() << "):\n";
    for (const auto& site : d.Sites) {
        out << "  " << Utf8(site->Name.View()) << " (" << site->Channels.Count() << " channels)\n";
        for (const auto& channel : site->Channels)
            out << "    " << Utf8(channel->GetDisplayText()) << "\n";
    }
    out << "Channel banks (" << d.Banks.Count() << "):\n";
    for (int i = 0; i < d.Banks.Count(); ++i) {
        const TBankData& b = d.Banks[i];
        out << "  Position " << i + 1 << ": " << Utf8(b.Name.View()) << "  site "
            << (b.Site != nullptr ? Utf8(b.Site->Name.View()) : std::string("(none)"))
            << "  address " << (b.SystemId.Empty() ? "-" : Utf8(b.SystemId.View())) << "/"
            << (b.PagingCode.Empty() ? "-" : Utf8(b.PagingCode.View())) << "  PTT "
            << (b.PttGroup == 1     ? "Group " + Utf8(b.PttPagingCode.View())
                : b.PttConnect == 1 ? "Connect " + Utf8(b.PttNumber.View())
                                    : std::string("None"))
            << "  button "
            << (b.ButtonGroup == 1     ? "Group " + Utf8(b.ButtonPagingCode.View())
                : b.ButtonConnect == 1 ? "Connect " + Utf8(b.ButtonNumber.View())
                                       : std::string("None"))
            << (b.ReceiveGroups.Empty() ? "" : "  groups " + Utf8(b.ReceiveGroups.View())) << "\n";
    }
}

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

// Progress on standard error: a bar on a terminal, plain lines otherwise.
class CliObserver final : public IProgrammingObserver {
  public:
    CliObserver() : terminal_(::isatty(STDERR_FILENO) == 1) {}
    ~CliObserver() override { EndBar(); }

    void Operation(std::string_view text) override {
        operation_ = text;
        // The blocks show in the bar or their counter lines.
        if (text != "write" && text != "read") {
            EndBar();
            std::cerr << text << "\n";
        }
    }
    void Esn(std::string_view esn) override {
        EndBar();
        std::cerr << "Radio ESN: " << esn << "\n";
    }
    void Counter(std::string_view text) override { counter_ = text; }
    void Progress(int position, int range) override {
        if (terminal_) {
            const int width = 40;
            const int filled = range > 0 ? position * width / range : 0;
            std::cerr << "\r" << operation_ << " ["
                      << std::string(static_cast<std::size_t>(filled), '#')
                      << std::string(static_cast<std::size_t>(width - filled), '.') << "] "
                      << counter_ << std::flush;
            barShown_ = true;
        } else if (position != lastPosition_) {
            std::cerr << operation_ << " " << counter_ << "\n";
        }
        lastPosition_ = position;
    }

  private:
    void EndBar() {
        if (barShown_)
            std::cerr << "\n";
        barShown_ = false;
    }
    bool terminal_;
    bool barShown_ = false;
    int lastPosition_ = -1;
    std::string operation_;
    std::string counter_;
};

// Reads the whole board, with progress, as the programming run writes it.
int ReadBoard(IRadio& radio, int port, TOptionImage& board) {
    CliObserver observer;
    ProgrammingOptions options;
    options.Cancelled = [] { return interrupted.load(); };
    const BoardReadResult result = ReadBoardImage(port, radio, observer, options);
    if (result.Outcome == ReadOutcome::Cancelled)
        return Fail(status::Interrupted, result.Message);
    if (result.Outcome == ReadOutcome::RadioError)
        return result.Code;
    board = result.Image;
    return status::Ok;
}

// A radio failure: for a port that cannot be set up, first the reason that
// the port check knows (the device and why), then the message, which stays
// the last line (a fleet run's summary shows it).
int RadioFailure(int code, int port, const std::string& message) {
    if (code == tarvo::code::PortConfiguration)
        for (const auto& mapping : radioserver::DescribePortMapping())
            if (mapping.Name == "COM" + std::to_string(port) && !mapping.Problem.empty())
                std::cerr << "zeltool: " << mapping.Name << " -> " << mapping.Target << ": "
                          << mapping.Problem << "\n";
    return Fail(code, message);
}

// ReadBoard, with a failure reported in `context`.
int ReadOrFail(IRadio& radio, int port, TOptionImage& board, const std::string& context) {
    const int code = ReadBoard(radio, port, board);
    if (code == status::Ok || code == status::Interrupted)
        return code;
    return RadioFailure(code, port, context + ResultMessage(code));
}

void PrintBytes(std::ostream& out, const char* label, const TOptionImage& image,
                const ImageDifference& difference) {
    out << label;
    const std::size_t shown = std::min<std::size_t>(difference.Last - difference.First + 1, 8);
    for (std::size_t i = 0; i < shown; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", image[difference.First + i]);
        out << hex;
    }
    if (shown < difference.Last - difference.First + 1)
        out << " ...";
}

// Prints every stretch of differing bytes with the field it lies in.
void PrintDifferences(const TOptionImage& board, const TOptionImage& image, const char* boardLabel,
                      const char* imageLabel) {
    for (const ImageDifference& difference : CompareImages(board, image)) {
        std::cerr << "  " << DescribeAddresses(difference) << ": " << difference.Field.Describe()
                  << ":";
        PrintBytes(std::cerr, boardLabel, board, difference);
        std::cerr << ",";
        PrintBytes(std::cerr, imageLabel, image, difference);
        std::cerr << "\n";
    }
}

// Compares the board with the image, naming the field of every difference.
int CompareWithImage(const TOptionImage& board, const TOptionImage& image) {
    std::size_t differences = 0;
    for (std::size_t i = 0; i < image.size(); ++i)
        differences += board[i] != image[i];
    if (differences == 0) {
        std::cerr << "Verified: the option board holds the image (" << image.size() << " bytes)\n";
        return status::Ok;
    }
    PrintDifferences(board, image, " board", " image");
    return Fail(status::Mismatch, "verification failed: " + std::to_string(differences) +
                                      " byte(s) of the board differ from the image");
}

void PrintFindings(const DecodedImage& decoded, const std::string& source) {
    for (const DecodeFinding* problem : decoded.Problems())
        std::cerr << "  " << problem->Text() << "\n";
    if (!decoded.Clean())
        return;
    for (const auto& finding : decoded.Findings)
        std::cerr << "note (" << source << "): " << finding.Text() << "\n";
}

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
    const DecodedImage decoded = DecodeImage(board);
    if (!decoded.Clean()) {
        // An erased board says so in one line; its field list is long and
        // tells nothing more unless asked for.
        if (const auto fill = ErasedFill(board)) {
            std::cerr << "The option board looks erased: every byte is "
                      << (*fill == 0xFF ? "FF" : "00") << ".\n";
        } else {
            std::cerr << "The option board holds bytes that no document makes"
                      << (details ? ":" : " (--details lists them).") << "\n";
        }
        if (details)
            PrintFindings(decoded, "board");
        if (!force)
            return Fail(status::NotADocument,
                        "the board does not hold a programmed image; nothing was written (--force "
                        "writes what could be decoded, -o FILE.bin keeps the raw bytes)");
    } else {
        PrintFindings(decoded, "board");
    }
    if (const int saved = SaveOrFail(*decoded.Document, output); saved != status::Ok)
        return saved;
    std::cerr << "Document written to " << output << "\n";
    return status::Ok;
}

// One side of a comparison: a document, an image file or a board.
struct Side {
    std::string Label;
    std::unique_ptr<TBoardData> Document; // when the side is a document
    TOptionImage Image{};
};

int LoadSide(const std::string& what, Side& side, PasswordGate& gate) {
    side.Label = what;
    if (what.starts_with("port:")) {
        const std::string number = what.substr(5);
        if (number.size() != 1 || number[0] < '1' || number[0] > '4')
            return Fail(status::Usage, what + ": use port:1 .. port:4");
        PrepareLibraryForReading(TProductData{});
        TarvoRadio radio;
        return ReadOrFail(radio, number[0] - '0', side.Image, what + ": ");
    }
    std::unique_ptr<TBoardData> document;
    if (LoadDocument(what, document) == ZelResult::Ok) {
        if (const int unlocked = gate.Check(*document, what); unlocked != status::Ok)
            return unlocked;
        side.Document = std::move(document);
        if (const int built = BuildImage(side.Image, *side.Document); built != buildresult::Ok)
            return Fail(status::InvalidData, what + ": " + BuildFailureMessage(built));
        return status::Ok;
    }
    std::string bytes;
    const InputProblem problem = ReadWholeFile(what, kImageSize, bytes);
    if (problem != InputProblem::None && problem != InputProblem::TooLarge)
        return Fail(status::CannotRead, what + ": " + DescribeInputProblem(problem));
    if (problem == InputProblem::TooLarge || bytes.size() != kImageSize)
        return Fail(status::CannotRead, what + ": neither a document nor a " +
                                            std::to_string(kImageSize) + "-byte image");
    std::copy(bytes.begin(), bytes.end(), side.Image.begin());
    return status::Ok;
}

int Diff(const std::string& first, const std::string& second, PasswordGate& gate) {
    Side a;
    Side b;
    if (const int loaded = LoadSide(first, a, gate); loaded != status::Ok)
        return loaded;
    if (const int loaded = LoadSide(second, b, gate); loaded != status::Ok)
        return loaded;
    std::vector<std::string> lines;
    if (a.Document && b.Document) {
        lines = DiffDocuments(*a.Document, *b.Document, DiffScope::Everything);
    } else if (a.Image != b.Image) {
        // Compared as the board sees them, the sites named after the
        // document's where there is one.
        const ImageContentDiff diff =
            DiffImageContent(a.Image, b.Image, a.Document ? a.Document.get() : b.Document.get());
        lines = diff.Fields;
        for (const auto& [side, decoded] :
             {std::pair{&a, &diff.First}, std::pair{&b, &diff.Second}})
            if (!decoded->Clean()) {
                std::cout << side->Label << " holds bytes that no document makes:\n";
                for (const DecodeFinding* problem : decoded->Problems())
                    std::cout << "  " << problem->Text() << "\n";
            }
        if (lines.empty())
            for (const ImageDifference& difference : diff.Stretches)
                lines.push_back(difference.Field.Describe() + ": " + DescribeAddresses(difference) +
                                " differ");
    }
    for (const std::string& line : lines)
        std::cout << line << "\n";
    if (lines.empty()) {
        std::cout << "The same: " << first << " and " << second << "\n";
        return status::Ok;
    }
    return status::Differ;
}

int BuildOrFail(const TBoardData& document, TOptionImage& image) {
    const int built = BuildImage(image, document);
    if (built == 0)
        return status::Ok;
    return Fail(status::InvalidData, BuildFailureMessage(built));
}

// What to do with each board: the document, and the options of the run.
struct ProgramJob {
    std::string File;
    bool Verify = false;
    std::string BackupDir;
};

// What became of one board beyond the exit status.
struct BoardRun {
    std::string Esn;         // once it was read
    bool WriteBegun = false; // a block reached the board
};

// Programs one board.
int Program(const ProgramJob& job, int portOption, BoardRun* run = nullptr) {
    const std::string& file = job.File;
    std::unique_ptr<TBoardData> document;
    if (const int loaded = LoadOrFail(file, document); loaded != 0)
        return loaded;
    TOptionImage image;
    if (const int built = BuildOrFail(*document, image); built != 0)
        return built;
    const int port = ChoosePort(portOption);
    std::cerr << "Programming " << file << " on COM" << (port >= 1 && port <= 4 ? port : 1) << "\n";
    TarvoRadio radio;

    if (!job.BackupDir.empty()) {
        TOptionImage board{};
        if (const int read =
                ReadOrFail(radio, port, board, "backup read failed, nothing was written: ");
            read != status::Ok)
            return read;
        std::error_code ignored;
        std::filesystem::create_directories(job.BackupDir, ignored);
        // Boards programmed at once on several ports each get their own.
        const auto path =
            std::filesystem::path(job.BackupDir) /
            ("board-COM" + std::to_string(port) + "-" + LocalTimeText("%Y%m%d-%H%M%S") + ".bin");
        if (WriteOutput(path.string(), board.data(), board.size()) != status::Ok)
            return Fail(status::CannotWrite, "the backup was not written; nothing was written to "
                                             "the board");
        std::cerr << "Backup of the board: " << path.string() << "\n";
    }

    CliObserver observer;
    ProgrammingOptions options;
    options.Cancelled = [] { return interrupted.load(); };
    const ProgrammingResult result = TransferImage(image, port, radio, observer, options);
    if (run != nullptr)
        *run = {result.Esn, result.WriteBegun};
    switch (result.Outcome) {
    case RunOutcome::InvalidDocument: // built above already
        return Fail(status::InvalidData, result.Message);
    case RunOutcome::Cancelled:
        return Fail(status::Interrupted, result.Message);
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
        read != status::Ok)
        return read;
    return CompareWithImage(board, image);
}

// Several boards at once, one child process per port; a summary at the end.
int ProgramFleet(const ProgramJob& job, const std::vector<int>& ports) {
    for (std::size_t i = 0; i < ports.size(); ++i)
        if (std::count(ports.begin(), ports.begin() + static_cast<long>(i), ports[i]) > 0)
            return Fail(status::Usage, "--port " + std::to_string(ports[i]) + " is given twice");
    // A document that cannot be programmed is reported once, not per port.
    std::unique_ptr<TBoardData> document;
    if (const int loaded = LoadOrFail(job.File, document); loaded != status::Ok)
        return loaded;
    TOptionImage image;
    if (const int built = BuildOrFail(*document, image); built != status::Ok)
        return built;
    const auto outcomes = RunPerPort(
        ports, [&job](int port) { return Program(job, port); }, [] { return interrupted.load(); },
        std::cerr, ::isatty(STDERR_FILENO) == 1);
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

// The configuration sheet of a document, as HTML or as a PDF laid out by Qt.
int Report(const std::string& file, const std::string& output, PasswordGate& gate, int argc,
           char** argv) {
    std::unique_ptr<TBoardData> document;
    if (const int loaded = LoadUnlocked(file, document, gate); loaded != status::Ok)
        return loaded;
    const std::string extension = std::filesystem::path(output).extension().string();
    const std::string html = ConfigurationSheetHtml(
        *document, {std::filesystem::path(file).filename().string(), ReportTimestamp()});
    // Standard output takes the sheet as HTML.
    if (output == "-" || extension == ".html" || extension == ".htm")
        return WriteOutput(output, html);
    if (extension != ".pdf")
        return Fail(status::Usage, output + ": the sheet is written as .pdf or .html");
    // Laying out text needs the fonts of a GUI application, not a display.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt's notes about the session (no runtime directory, ...) are not the
    // user's business here; its errors still show.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << "zeltool: " << message.toStdString() << "\n";
    });
    QGuiApplication application(argc, argv);
    const QByteArray pdf = ReportPdf(html);
    return WriteOutput(output,
                       std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
}

int Ports() {
    std::cout << "Serial ports present:\n";
    const auto ports = radioserver::ListSerialPorts();
    if (ports.empty())
        std::cout << "  (none found)\n";
    for (const auto& port : ports) {
        std::cout << "  " << port.Device;
        if (!port.Description.empty())
            std::cout << "  " << port.Description;
        if (port.UsbVendor && port.UsbProduct) {
            char ids[32];
            std::snprintf(ids, sizeof ids, "  USB %04x:%04x", *port.UsbVendor, *port.UsbProduct);
            std::cout << ids;
        }
        std::cout << "\n";
    }
    std::cout << "Port mapping:\n";
    // A mapping that was set and cannot work is an error; a default device
    // that this machine lacks is only noted.
    int result = status::Ok;
    for (const auto& mapping : radioserver::DescribePortMapping()) {
        std::cout << "  " << mapping.Name << " -> " << mapping.Target << "  (" << mapping.Source
                  << "): " << (mapping.Problem.empty() ? "ok" : mapping.Problem) << "\n";
        if (!mapping.Problem.empty() && mapping.Source != "default")
            result = 2;
    }
    return result;
}

int Run(int argc, char** argv) {
    if (!radioserver::IsRegistered())
        return Fail(100, "the radio communications server is not available");

    CLI::App app{"Quarvelin II PRO-ZEL command-line tool: documents, option-board images and "
                 "programming.\nExit codes: 0 success; 1..14, 100, 200 the radio-link result "
                 "(see the README); 64 usage; 65 invalid document or JSON; 66 input file "
                 "unreadable or refused; 70 an internal fault; 73 output file not written; 75 "
                 "verification found differences; 76 the board holds no document's image "
                 "(read); 77 a password-protected document without its password; 130 "
                 "interrupted. "
                 "diff exits 0 when the two are the same and 1 when they differ."};
    app.require_subcommand(1);
    std::string file, input, second, output, backupDir;
    int port = 0;
    std::vector<int> programPorts;
    bool verify = false;
    bool force = false;
    bool repeat = false;
    bool details = false;
    PasswordGate gate;
    // The document password, for the commands that show a document's settings.
    const auto passwordOption = [&gate](CLI::App* command) {
        command
            ->add_option_function<std::string>(
                "--password", [&gate](const std::string& given) { gate.Given = given; },
                "The document's password (asked for on a terminal when it is needed)")
            ->type_name("TEXT");
    };

    auto* newCommand = app.add_subcommand("new", "Create a new document with its defaults");
    newCommand->add_option("FILE", file, "Document to create")->required();
    newCommand->add_flag("--force", force, "Replace a file that is already there");
    auto* show = app.add_subcommand("show", "Print a readable summary of a document");
    show->add_option("FILE", file, "Document")->required();
    auto* exportCommand = app.add_subcommand("export", "Write every field of a document as JSON");
    exportCommand->add_option("FILE", file, "Document")->required();
    exportCommand->add_option("-o,--output", output, "JSON file (standard output without it)");
    passwordOption(show);
    passwordOption(exportCommand);
    auto* importCommand =
        app.add_subcommand("import", "Create a document from JSON, checked as the editors check");
    importCommand->add_option("JSON", input, "JSON file")->required();
    importCommand->add_option("-o,--output", output, "Document to write")->required();
    auto* image = app.add_subcommand("image", "Build the 2256-byte option-board image");
    image->add_option("FILE", file, "Document")->required();
    image->add_option("-o,--output", output,
                      "Binary image file, - for standard output (annotated hex dump without it)");
    auto* program = app.add_subcommand("program", "Program a document into the option board");
    program->add_option("FILE", file, "Document")->required();
    program
        ->add_option("--port", programPorts,
                     "Serial port 1..4 (default: the program's settings, else 1); given more "
                     "than once, the boards on all these ports are programmed at once")
        ->check(CLI::Range(1, 4));
    program->add_flag("--repeat", repeat,
                      "After each board, wait for the next one on the port and program it too, "
                      "until Ctrl-C");
    program->add_flag("--verify", verify, "Read the board back and compare it with the image");
    program->add_option("--backup", backupDir,
                        "First save the board's current memory into a timestamped file here");
    auto* read = app.add_subcommand("read", "Read the option board into a document or a file");
    read->add_option("--port", port, "Serial port 1..4")->check(CLI::Range(1, 4));
    read->add_option("-o,--output", output,
                     "FILE.zel: the board decoded into a document; any other name: the raw "
                     "2256 bytes")
        ->required();
    read->add_flag("--force", force,
                   "Write the document also when the board holds bytes that "
                   "no document makes (what could be decoded)");
    read->add_flag("--details", details, "List every field of the board that no document makes");
    auto* diff = app.add_subcommand("diff", "List the differences between two configurations, "
                                            "field by field");
    for (auto* operand : {&input, &second})
        diff->add_option(
                operand == &input ? "A" : "B", *operand,
                "A document (.zel), a 2256-byte image file, or port:N for the board on COMN")
            ->required();
    passwordOption(diff);
    auto* verifyCommand = app.add_subcommand("verify", "Compare the option board with a document");
    verifyCommand->add_option("FILE", file, "Document")->required();
    verifyCommand->add_option("--port", port, "Serial port 1..4")->check(CLI::Range(1, 4));
    auto* ports = app.add_subcommand("ports", "List serial ports and what COM1..COM4 map to");
    auto* report = app.add_subcommand(
        "report", "Write a configuration sheet of a document for the customer's records");
    report->add_option("FILE", file, "Document")->required();
    report->add_option("-o,--output", output, "OUT.pdf, OUT.html, or - for HTML on standard output")
        ->required();
    passwordOption(report);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return status::Usage;
    }

    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    if (*newCommand) {
        std::error_code error;
        if (file != "-" && !force &&
            std::filesystem::exists(std::filesystem::symlink_status(file, error)))
            return Fail(status::CannotWrite, file + " exists already; --force replaces it");
        return SaveOrFail(TBoardData{}, file);
    }
    if (*ports)
        return Ports();
    if (*report) {
        if (const int same = RefuseSameFile(file, output); same != status::Ok)
            return same;
        return Report(file, output, gate, argc, argv);
    }

    if (*importCommand) {
        if (const int same = RefuseSameFile(input, output); same != status::Ok)
            return same;
        std::string text;
        if (const InputProblem problem = ReadWholeFile(input, kMaxJsonBytes, text);
            problem != InputProblem::None)
            return Fail(status::CannotRead, input + ": " + DescribeInputProblem(problem));
        JsonError error;
        const auto json = ParseDocumentJson(text, error);
        TBoardData document;
        if (json)
            if (const auto wrong = DocumentFromJson(*json, document))
                error = *wrong;
        if (!json || !error.Path.empty())
            return Fail(status::InvalidData, input + ": " + error.Path + ": " + error.Rule);
        return SaveOrFail(document, output);
    }

    if (*read)
        return Read(port, output, force, details);
    if (*diff)
        return Diff(input, second, gate);

    if (*program) {
        const ProgramJob job{file, verify, backupDir};
        if (repeat && programPorts.size() > 1)
            return Fail(status::Usage, "--repeat programs one port at a time");
        if (repeat)
            return ProgramRepeatedly(job, programPorts.empty() ? 0 : programPorts.front());
        if (programPorts.size() > 1)
            return ProgramFleet(job, programPorts);
        return Program(job, programPorts.empty() ? 0 : programPorts.front());
    }

    if (!output.empty())
        if (const int same = RefuseSameFile(file, output); same != status::Ok)
            return same;
    std::unique_ptr<TBoardData> document;
    // Showing the settings needs the password; building the image does not.
    if (const int loaded = *show || *exportCommand ? LoadUnlocked(file, document, gate)
                                                   : LoadOrFail(file, document);
        loaded != status::Ok)
        return loaded;
    if (*show) {
        Show(*document, std::cout);
        return status::Ok;
    }
    if (*exportCommand)
        return WriteOutput(output.empty() ? "-" : output, DocumentToJson(*document).dump(2) + "\n");
    TOptionImage built;
    if (const int result = BuildOrFail(*document, built); result != 0)
        return result;
    if (*image) {
        if (output.empty()) {
            HexDump(built, std::cout);
            return status::Ok;
        }
        return WriteOutput(output, built.data(), built.size());
    }
    // verify
    TarvoRadio radio;
    TOptionImage board{};
    if (const int got = ReadOrFail(radio, ChoosePort(port), board, ""); got != status::Ok)
        return got;
    return CompareWithImage(board, built);
}

} // namespace

int main(int argc, char** argv) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // Every fault ends with a message and a documented status, never an abort.
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        return Fail(status::Internal, std::string("internal error: ") + e.what());
    }
}
