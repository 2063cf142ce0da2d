// zeltool: the command-line face of the programming tool. It edits nothing
// by hand; it creates, shows, exports and imports documents, builds the
// option-board image, programs, reads and verifies the board, and compares
// documents, images and boards.
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
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

// Exit codes besides the radio-link library's result codes (1..14, 100, 200).
namespace status {
constexpr int Ok = 0;
constexpr int Usage = 64;
constexpr int InvalidData = 65; // a document that cannot be programmed, or invalid JSON
constexpr int CannotRead = 66;  // an input file missing, unreadable or refused
constexpr int CannotWrite = 73;
constexpr int Mismatch = 75;     // the board differs from the image
constexpr int NotADocument = 76; // the board's bytes do not decode into a document
constexpr int Differ = 1;        // zeltool diff: the two differ
constexpr int Interrupted = 130;
} // namespace status

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

int SaveOrFail(const TBoardData& document, const std::string& path) {
    const ZelResult result = SaveDocument(document, path);
    if (result == ZelResult::Ok)
        return status::Ok;
    return Fail(status::CannotWrite, "cannot save " + path + ": " + DescribeZelResult(result));
}

bool WriteBinary(const std::string& path, const std::uint8_t* data, std::size_t size) {
    return WriteFileAtomically(path, std::span(data, size)) == WriteResult::Ok;
}

// The port: the option, else the GUI's settings file, else COM1.
int ChoosePort(int option) {
    if (option != 0)
        return option;
    TAppSettings settings;
    const auto zel = ThisProgram(nullptr).parent_path() / "zel";
    ReadSettings(SettingsLocation(zel), settings);
    if (settings.Port == 1)
        ReadSettings(SettingsPathFor(zel), settings);
    return settings.Port;
}

std::string Yes(std::int32_t flag) {
    return flag == 1 ? "yes" : "no";
}

void Show(const TBoardData& d, std::ostream& out) {
    const auto& g = d.Global;
    out << "Product: " << d.Product.ProductName.View() << " / " << d.Product.ModelNumber.View()
        << (d.Product.Password.Empty() ? "" : "  (password protected)") << "\n";
    out << "Options:\n"
        << "  Verify ESN: " << Yes(g.VerifyEsn)
        << (g.EsnText.Empty() ? "" : "  (ESN " + g.EsnText.Str() + ")") << "\n"
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
            out << "  " << i << ": " << d.SpeedDial.Number[i].View() << "  route "
                << d.SpeedDial.Route[i] << "\n";
    out << "RF sites (" << d.Sites.Count() << "):\n";
    for (const auto& site : d.Sites) {
        out << "  " << site->Name.View() << " (" << site->Channels.Count() << " channels)\n";
        for (const auto& channel : site->Channels)
            out << "    " << channel->GetDisplayText() << "\n";
    }
    out << "Channel banks (" << d.Banks.Count() << "):\n";
    for (int i = 0; i < d.Banks.Count(); ++i) {
        const TBankData& b = d.Banks[i];
        out << "  Position " << i + 1 << ": " << b.Name.View() << "  site "
            << (b.Site != nullptr ? b.Site->Name.Str() : std::string("(none)")) << "  address "
            << (b.SystemId.Empty() ? "-" : b.SystemId.Str()) << "/"
            << (b.PagingCode.Empty() ? "-" : b.PagingCode.Str()) << "  PTT "
            << (b.PttGroup == 1     ? "Group " + b.PttPagingCode.Str()
                : b.PttConnect == 1 ? "Connect " + b.PttNumber.Str()
                                    : std::string("None"))
            << "  button "
            << (b.ButtonGroup == 1     ? "Group " + b.ButtonPagingCode.Str()
                : b.ButtonConnect == 1 ? "Connect " + b.ButtonNumber.Str()
                                       : std::string("None"))
            << (b.ReceiveGroups.Empty() ? "" : "  groups " + b.ReceiveGroups.Str()) << "\n";
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

// ReadBoard, with a failure reported in `context`.
int ReadOrFail(IRadio& radio, int port, TOptionImage& board, const std::string& context) {
    const int code = ReadBoard(radio, port, board);
    if (code == status::Ok || code == status::Interrupted)
        return code;
    return Fail(code, context + ResultMessage(code));
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

int Read(int portOption, const std::string& output, bool force) {
    PrepareLibraryForReading(TProductData{});
    TarvoRadio radio;
    TOptionImage board{};
    const int port = ChoosePort(portOption);
    if (const int read = ReadOrFail(radio, port, board, ""); read != status::Ok)
        return read;
    if (std::filesystem::path(output).extension() != ".zel") {
        if (!WriteBinary(output, board.data(), board.size()))
            return Fail(status::CannotWrite, "cannot write " + output);
        std::cerr << "Board memory written to " << output << "\n";
        return status::Ok;
    }
    const DecodedImage decoded = DecodeImage(board);
    if (!decoded.Clean()) {
        std::cerr << "The option board holds bytes that no document makes:\n";
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

int LoadSide(const std::string& what, Side& side) {
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
        side.Document = std::move(document);
        if (const int built = BuildImage(side.Image, *side.Document); built != buildresult::Ok)
            return Fail(status::InvalidData, what + ": " + BuildFailureMessage(built));
        return status::Ok;
    }
    std::ifstream in(what, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    if (!in.is_open() || bytes.size() != kImageSize)
        return Fail(status::CannotRead, what + ": neither a document nor a " +
                                            std::to_string(kImageSize) + "-byte image");
    std::copy(bytes.begin(), bytes.end(), side.Image.begin());
    return status::Ok;
}

int Diff(const std::string& first, const std::string& second) {
    Side a;
    Side b;
    if (const int loaded = LoadSide(first, a); loaded != status::Ok)
        return loaded;
    if (const int loaded = LoadSide(second, b); loaded != status::Ok)
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

// Programs one board; `esn` receives the radio's ESN once it was read.
int Program(const ProgramJob& job, int portOption, std::string* esn = nullptr) {
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
        if (!WriteBinary(path.string(), board.data(), board.size()))
            return Fail(status::CannotWrite, "cannot write the backup " + path.string() +
                                                 "; nothing was written to the board");
        std::cerr << "Backup of the board: " << path.string() << "\n";
    }

    CliObserver observer;
    ProgrammingOptions options;
    options.Cancelled = [] { return interrupted.load(); };
    const ProgrammingResult result = TransferImage(image, port, radio, observer, options);
    if (esn != nullptr)
        *esn = result.Esn;
    switch (result.Outcome) {
    case RunOutcome::InvalidDocument: // built above already
        return Fail(status::InvalidData, result.Message);
    case RunOutcome::Cancelled:
        return Fail(status::Interrupted, result.Message);
    case RunOutcome::RadioError:
        return Fail(result.Code,
                    result.WriteBegun
                        ? result.Message +
                              " (the option board may hold a partial image; program it again)"
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
        ports, [&job](int port) { return Program(job, port); }, std::cerr,
        ::isatty(STDERR_FILENO) == 1);
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

// One board after another on one port, until the user stops.
int ProgramRepeatedly(const ProgramJob& job, int portOption) {
    const int port = ChoosePort(portOption);
    int programmed = 0;
    int failed = 0;
    int firstFailure = status::Ok;
    for (;;) {
        std::string esn;
        const int result = Program(job, port, &esn);
        if (result == status::Interrupted)
            break;
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
        if (!WaitForNextBoard(port, esn))
            break;
    }
    std::cout << "Programmed " << programmed << " board(s) on COM" << port << ", " << failed
              << " failed.\n";
    return firstFailure;
}

// The configuration sheet of a document, as HTML or as a PDF laid out by Qt.
int Report(const std::string& file, const std::string& output, int argc, char** argv) {
    std::unique_ptr<TBoardData> document;
    if (const int loaded = LoadOrFail(file, document); loaded != status::Ok)
        return loaded;
    const std::string extension = std::filesystem::path(output).extension().string();
    const std::string html = ConfigurationSheetHtml(
        *document, {std::filesystem::path(file).filename().string(), ReportTimestamp()});
    if (extension == ".html" || extension == ".htm") {
        if (WriteFileAtomically(output, html) != WriteResult::Ok)
            return Fail(status::CannotWrite, "cannot write " + output);
        return status::Ok;
    }
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
    QString error;
    if (!WriteReportPdf(html, QString::fromStdString(output), &error))
        return Fail(status::CannotWrite, "cannot write " + output + ": " + error.toStdString());
    return status::Ok;
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

} // namespace

int main(int argc, char** argv) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (!radioserver::IsRegistered())
        return Fail(100, "the radio communications server is not available");

    CLI::App app{"Quarvelin II PRO-ZEL command-line tool: documents, option-board images and "
                 "programming.\nExit codes: 0 success; 1..14, 100, 200 the radio-link result "
                 "(see the README); 64 usage; 65 invalid document or JSON; 66 input file "
                 "unreadable or refused; 73 output file not written; 75 verification found "
                 "differences; 76 the board holds no document's image (read); 130 interrupted. "
                 "diff exits 0 when the two are the same and 1 when they differ."};
    app.require_subcommand(1);
    std::string file, input, second, output, backupDir;
    int port = 0;
    std::vector<int> programPorts;
    bool verify = false;
    bool force = false;
    bool repeat = false;

    auto* newCommand = app.add_subcommand("new", "Create a new document with its defaults");
    newCommand->add_option("FILE", file, "Document to create")->required();
    auto* show = app.add_subcommand("show", "Print a readable summary of a document");
    show->add_option("FILE", file, "Document")->required()->check(CLI::ExistingFile);
    auto* exportCommand = app.add_subcommand("export", "Write every field of a document as JSON");
    exportCommand->add_option("FILE", file, "Document")->required()->check(CLI::ExistingFile);
    exportCommand->add_option("-o,--output", output, "JSON file (standard output without it)");
    auto* importCommand =
        app.add_subcommand("import", "Create a document from JSON, checked as the editors check");
    importCommand->add_option("JSON", input, "JSON file")->required()->check(CLI::ExistingFile);
    importCommand->add_option("-o,--output", output, "Document to write")->required();
    auto* image = app.add_subcommand("image", "Build the 2256-byte option-board image");
    image->add_option("FILE", file, "Document")->required()->check(CLI::ExistingFile);
    image->add_option("-o,--output", output, "Binary image file (annotated hex dump without it)");
    auto* program = app.add_subcommand("program", "Program a document into the option board");
    program->add_option("FILE", file, "Document")->required()->check(CLI::ExistingFile);
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
    auto* diff = app.add_subcommand("diff", "List the differences between two configurations, "
                                            "field by field");
    for (auto* operand : {&input, &second})
        diff->add_option(
                operand == &input ? "A" : "B", *operand,
                "A document (.zel), a 2256-byte image file, or port:N for the board on COMN")
            ->required();
    auto* verifyCommand = app.add_subcommand("verify", "Compare the option board with a document");
    verifyCommand->add_option("FILE", file, "Document")->required()->check(CLI::ExistingFile);
    verifyCommand->add_option("--port", port, "Serial port 1..4")->check(CLI::Range(1, 4));
    auto* ports = app.add_subcommand("ports", "List serial ports and what COM1..COM4 map to");
    auto* report = app.add_subcommand(
        "report", "Write a configuration sheet of a document for the customer's records");
    report->add_option("FILE", file, "Document")->required()->check(CLI::ExistingFile);
    report->add_option("-o,--output", output, "OUT.pdf or OUT.html")->required();

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

    if (*newCommand)
        return SaveOrFail(TBoardData{}, file);
    if (*ports)
        return Ports();
    if (*report)
        return Report(file, output, argc, argv);

    if (*importCommand) {
        nlohmann::json json;
        try {
            std::ifstream in(input);
            json = nlohmann::json::parse(in);
        } catch (const nlohmann::json::parse_error& e) {
            return Fail(status::InvalidData, input + ": not valid JSON: " + e.what());
        }
        TBoardData document;
        if (const auto error = DocumentFromJson(json, document))
            return Fail(status::InvalidData, input + ": " + error->Path + ": " + error->Rule);
        return SaveOrFail(document, output);
    }

    if (*read)
        return Read(port, output, force);
    if (*diff)
        return Diff(input, second);

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

    std::unique_ptr<TBoardData> document;
    if (const int loaded = LoadOrFail(file, document); loaded != 0)
        return loaded;
    if (*show) {
        Show(*document, std::cout);
        return status::Ok;
    }
    if (*exportCommand) {
        const std::string text = DocumentToJson(*document).dump(2) + "\n";
        if (output.empty()) {
            std::cout << text;
            return status::Ok;
        }
        std::ofstream out(output, std::ios::trunc);
        out << text;
        out.close();
        return out ? status::Ok : Fail(status::CannotWrite, "cannot write " + output);
    }
    TOptionImage built;
    if (const int result = BuildOrFail(*document, built); result != 0)
        return result;
    if (*image) {
        if (output.empty()) {
            HexDump(built, std::cout);
            return status::Ok;
        }
        return WriteBinary(output, built.data(), built.size())
                   ? status::Ok
                   : Fail(status::CannotWrite, "cannot write " + output);
    }
    // verify
    TarvoRadio radio;
    TOptionImage board{};
    if (const int got = ReadOrFail(radio, ChoosePort(port), board, ""); got != status::Ok)
        return got;
    return CompareWithImage(board, built);
}
