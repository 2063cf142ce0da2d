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

int ReadOrFail(IRadio& radio, int port, TOptionImage& board, const std::string& context) {
    const int code = ReadBoard(radio, port, board);
    if (code == status::Ok || code == status::Interrupted)
        return code;
    return RadioFailure(code, port, context + ResultMessage(code));
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
