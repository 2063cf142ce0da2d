// Talking to the option board from the command line: progress on the
// terminal, reading the whole board, and how failures and differences are
// told.
#pragma once

#include "programming/image.h"
#include "programming/run.h"
#include "programminglog/programminglog.h"
#include "readback/imagedecoder.h"

#include <string>
#include <string_view>

// Progress on standard error: a bar on a terminal, plain lines otherwise.
class CliObserver final : public IProgrammingObserver {
  public:
    CliObserver();
    ~CliObserver() override;

    void Operation(std::string_view text) override;
    void Esn(std::string_view esn) override;
    void Counter(std::string_view text) override;
    void Progress(int position, int range) override;

  private:
    void EndBar();
    bool terminal_;
    bool barShown_ = false;
    int lastPosition_ = -1;
    std::string operation_;
    std::string counter_;
};

// The programming log of this process.
ProgrammingLog& Log();
// Tells once on standard error that the log cannot be used; the run goes on.
void ReportLogProblem();

// A radio failure: for a port that cannot be set up, first the reason that
// the port check knows (the device and why), then the message, which stays
// the last line (a fleet run's summary shows it).
int RadioFailure(int code, int port, const std::string& message);

// Reads the whole board as the programming run writes it; a failure is
// reported after `context`.
int ReadOrFail(IRadio& radio, int port, TOptionImage& board, const std::string& context,
               std::string* esn = nullptr);

// Compares the board with the image, naming the field of every difference.
int CompareWithImage(const TOptionImage& board, const TOptionImage& image);

// What the decoder found that no document makes, and its notes.
void PrintFindings(const DecodedImage& decoded, const std::string& source);

// Decodes an image (of a board or a file: `what` names it in messages,
// `source` in notes) and saves the document; bytes that no document makes
// refuse the save unless `force`, listed with `details`.
int SaveDecoded(const TOptionImage& image, const std::string& what, const std::string& source,
                const std::string& output, bool force, bool details);
