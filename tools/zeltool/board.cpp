#include "tools/zeltool/board.h"

#include "platform/terminal.h"
#include "radiolink/resultcodes.h"
#include "radiolink/server/portlist.h"
#include "readback/imagefields.h"
#include "tools/zeltool/common.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

CliObserver::CliObserver() : terminal_(IsTerminal(StandardStream::Error)) {}

CliObserver::~CliObserver() {
    EndBar();
}

void CliObserver::Operation(std::string_view text) {
    operation_ = text;
    // The blocks show in the bar or their counter lines.
    if (text != "write" && text != "read") {
        EndBar();
        std::cerr << text << "\n";
    }
}

void CliObserver::Esn(std::string_view esn) {
    EndBar();
    std::cerr << "Radio ESN: " << esn << "\n";
}

void CliObserver::Counter(std::string_view text) {
    counter_ = text;
}

void CliObserver::Progress(int position, int range) {
    if (terminal_) {
        const int width = 40;
        const int filled = range > 0 ? position * width / range : 0;
        std::cerr << "\r" << operation_ << " ["
                  << std::string(static_cast<std::size_t>(filled), '#')
                  << std::string(static_cast<std::size_t>(width - filled), '.') << "] " << counter_
                  << std::flush;
        barShown_ = true;
    } else if (position != lastPosition_) {
        std::cerr << operation_ << " " << counter_ << "\n";
    }
    lastPosition_ = position;
}

void CliObserver::EndBar() {
    if (barShown_)
        std::cerr << "\n";
    barShown_ = false;
}

namespace {

// Reads the whole board, with progress, as the programming run writes it.
int ReadBoard(IRadio& radio, int port, TOptionImage& board, std::string* esn) {
    CliObserver observer;
    ProgrammingOptions options;
    options.Cancelled = [] { return interrupted.load(); };
    const BoardReadResult result = ReadBoardImage(port, radio, observer, options);
    if (result.Outcome == ReadOutcome::Cancelled)
        return Fail(status::Interrupted, result.Message);
    if (result.Outcome == ReadOutcome::RadioError)
        return result.Code;
    board = result.Image;
    if (esn != nullptr)
        *esn = result.Esn;
    return status::Ok;
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

} // namespace

int RadioFailure(int code, int port, const std::string& message) {
    if (code == tarvo::code::PortConfiguration)
        for (const auto& mapping : radioserver::DescribePortMapping())
            if (mapping.Name == "COM" + std::to_string(port) && !mapping.Problem.empty())
                std::cerr << "zeltool: " << mapping.Name << " -> " << mapping.Target << ": "
                          << mapping.Problem << "\n";
    return Fail(code, message);
}

int ReadOrFail(IRadio& radio, int port, TOptionImage& board, const std::string& context,
               std::string* esn) {
    const int code = ReadBoard(radio, port, board, esn);
    if (code == status::Ok || code == status::Interrupted)
        return code;
    return RadioFailure(code, port, context + ResultMessage(code));
}

ProgrammingLog& Log() {
    static ProgrammingLog log;
    return log;
}

void ReportLogProblem() {
    if (const std::string problem = Log().ProblemToReport(); !problem.empty())
        std::cerr << "zeltool: warning: " << problem << "; the run goes on without it\n";
}

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

int SaveDecoded(const TOptionImage& image, const std::string& what, const std::string& source,
                const std::string& output, bool force, bool details) {
    const DecodedImage decoded = DecodeImage(image);
    if (!decoded.Clean()) {
        // An erased board says so in one line; its field list is long and
        // tells nothing more unless asked for.
        if (const auto fill = ErasedFill(image)) {
            std::cerr << what << " looks erased: every byte is " << (*fill == 0xFF ? "FF" : "00")
                      << ".\n";
        } else {
            std::cerr << what << " holds bytes that no document makes"
                      << (details ? ":" : " (--details lists them).") << "\n";
        }
        if (details)
            PrintFindings(decoded, source);
        if (!force)
            return Fail(status::NotADocument,
                        "the " + source +
                            " does not hold a programmed image; nothing was written (--force "
                            "writes what could be decoded, -o FILE.bin keeps the raw bytes)");
    } else {
        PrintFindings(decoded, source);
    }
    if (const int saved = SaveOrFail(*decoded.Document, output); saved != status::Ok)
        return saved;
    std::cerr << "Document written to " << output << "\n";
    return status::Ok;
}
