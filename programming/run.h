// The programming run: a document becomes the option-board image and goes
// into the board through the radio-link library, block by block, with
// retries. The run reports to an observer; the GUI's status dialog and the
// command line are two observers.
#pragma once

#include "document/records.h"
#include "programming/image.h"
#include "radiolink/resultcodes.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The five radio calls of the run, as the radio-link library exports them.
class IRadio {
  public:
    virtual ~IRadio() = default;
    virtual std::int32_t ResetRadio(std::int32_t port) = 0;
    virtual std::int32_t GetEsn(std::int32_t port, char* buffer) = 0;
    virtual std::int32_t PingOptBoard(std::int32_t port, unsigned char* buffer) = 0;
    virtual std::int32_t WriteData(std::int32_t port, const unsigned char* data,
                                   std::int32_t address, std::int32_t count,
                                   std::int32_t resetAfter) = 0;
    virtual std::int32_t ReadData(std::int32_t port, unsigned char* data, std::int32_t address,
                                  std::int32_t count) = 0;
};

// The radio reached through tarvoDLL's exports.
class TarvoRadio final : public IRadio {
  public:
    std::int32_t ResetRadio(std::int32_t port) override;
    std::int32_t GetEsn(std::int32_t port, char* buffer) override;
    std::int32_t PingOptBoard(std::int32_t port, unsigned char* buffer) override;
    std::int32_t WriteData(std::int32_t port, const unsigned char* data, std::int32_t address,
                           std::int32_t count, std::int32_t resetAfter) override;
    std::int32_t ReadData(std::int32_t port, unsigned char* data, std::int32_t address,
                          std::int32_t count) override;
};

class IProgrammingObserver {
  public:
    virtual ~IProgrammingObserver() = default;
    virtual void Operation(std::string_view text) = 0; // "reset", "connect", "ping", "write"
    virtual void Esn(std::string_view esn) = 0;
    virtual void Counter(std::string_view text) = 0; // "%d of %d"
    virtual void Progress(int position, int range) = 0;
};

// An observer that shows nothing, for runs without a display.
class NullProgrammingObserver final : public IProgrammingObserver {
  public:
    void Operation(std::string_view) override {}
    void Esn(std::string_view) override {}
    void Counter(std::string_view) override {}
    void Progress(int, int) override {}
};

struct ProgrammingOptions {
    // The pause after the final reset; tests replace it.
    std::function<void(std::chrono::milliseconds)> Pause;
    // Asked between blocks; true ends the run before the next block.
    std::function<bool()> Cancelled;
    // Whether the radio is reset before and after the run. Identifying a
    // board leaves the radio as it is (a failed block still is followed by
    // a reset, as in every run).
    bool ResetAround = true;
};

enum class RunOutcome {
    Programmed,      // every block written: the board holds the image
    InvalidDocument, // the image could not be built; the radio was not contacted
    RadioError,      // a radio call failed; Code holds its result
    Cancelled,       // stopped between blocks; the board holds a partial image
};

struct ProgrammingResult {
    RunOutcome Outcome = RunOutcome::Programmed;
    int Code = 0;        // the library's result, or BuildImage's for InvalidDocument
    std::string Message; // the text the user is shown
    // A write reached the board: after a failure it may hold a partial image.
    bool WriteBegun = false;
    std::string Esn; // the radio's ESN, once it was read
};

// "Success: Programming completed" or "Error %d: %s".
std::string ResultMessage(int code);
// The string-table message for a failed image build.
std::string BuildFailureMessage(int buildResult);

// Builds the image (a document that cannot be programmed ends the run before
// any radio contact), then transfers it.
ProgrammingResult RunProgramming(const TBoardData& document, int port, IRadio& radio,
                                 IProgrammingObserver& observer,
                                 const ProgrammingOptions& options = {});
// Transfers a built image: reset, ESN, board check, the blocks, final reset.
ProgrammingResult TransferImage(const TOptionImage& image, int port, IRadio& radio,
                                IProgrammingObserver& observer,
                                const ProgrammingOptions& options = {});

enum class ReadOutcome {
    Read,       // the whole memory was read
    RadioError, // a radio call failed; Code holds its result
    Cancelled,  // stopped between blocks
};

struct BoardReadResult {
    ReadOutcome Outcome = ReadOutcome::Read;
    int Code = 0;
    std::string Message;
    std::string Esn;
    TOptionImage Image{};
};

// Initialises the radio-link library for talking to a board without
// programming it: with the document's radio when the library knows it,
// else with the default radio.
void PrepareLibraryForReading(const TProductData& product);

// Reads the whole board as the run writes it: reset, ESN, board check, the
// blocks with the same retries, final reset.
BoardReadResult ReadBoardImage(int port, IRadio& radio, IProgrammingObserver& observer,
                               const ProgrammingOptions& options = {});

constexpr int kBlockSize = 128;
constexpr int kAttempts = 3;
