#include "programming/run.h"

#include "document/limits.h"
#include "radiolink/modeltable.h"
#include "radiolink/tarvodll.h"
#include "resources/stringtable.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>
#include <utility>

std::int32_t TarvoRadio::ResetRadio(std::int32_t port) {
    return ::ResetRadio(port);
}
std::int32_t TarvoRadio::GetEsn(std::int32_t port, char* buffer) {
    return ::Get_ESN(port, buffer);
}
std::int32_t TarvoRadio::PingOptBoard(std::int32_t port, unsigned char* buffer) {
    return ::Ping_Opt_Board(port, buffer);
}
std::int32_t TarvoRadio::WriteData(std::int32_t port, const unsigned char* data,
                                   std::int32_t address, std::int32_t count,
                                   std::int32_t resetAfter) {
    return ::WriteData(port, data, address, count, resetAfter);
}
std::int32_t TarvoRadio::ReadData(std::int32_t port, unsigned char* data, std::int32_t address,
                                  std::int32_t count) {
    return ::ReadData(port, data, address, count);
}

std::string ResultMessage(int code) {
    if (code == tarvo::code::Success)
        return "Success: Programming completed";
    const std::string_view text = tarvo::ErrorText(code);
    char message[256];
    std::snprintf(message, sizeof message, "Error %d: %.*s", code, static_cast<int>(text.size()),
                  text.data());
    return message;
}

std::string BuildFailureMessage(int buildResult) {
    switch (buildResult) {
    case buildresult::ProductRejected:
        return LoadMessage(strings::kBuildInvalidProduct);
    case buildresult::InvalidFrequencies:
        return LoadMessage(strings::kInvalidFrequencies);
    case buildresult::TooManyChannels:
        return LoadMessage(strings::kTooManyChannels);
    default:
        return LoadMessage(strings::kConversionError);
    }
}

namespace {

std::string CounterText(int offset) {
    char text[32];
    std::snprintf(text, sizeof text, "%d of %d", offset, static_cast<int>(kImageSize));
    return text;
}

} // namespace

ProgrammingResult RunProgramming(const TBoardData& document, int port, IRadio& radio,
                                 IProgrammingObserver& observer,
                                 const ProgrammingOptions& options) {
    TOptionImage image;
    if (const int built = BuildImage(image, document); built != buildresult::Ok)
        return {RunOutcome::InvalidDocument, built, BuildFailureMessage(built), false, {}};
    return TransferImage(image, port, radio, observer, options);
}

namespace {

// What programming and reading share: reset, ESN, board check, then the
// image block by block, each block tried up to three times with a reset and
// a board check after every failed attempt.
class BlockRun {
  public:
    BlockRun(int port, IRadio& radio, IProgrammingObserver& observer,
             const ProgrammingOptions& options)
        : port_(port), radio_(radio), observer_(observer), options_(options) {}

    int Connect() {
        int code = tarvo::code::Success;
        if (options_.ResetAround) {
            observer_.Operation("reset");
            code = radio_.ResetRadio(port_);
            if (code != tarvo::code::Success)
                return code;
        }
        observer_.Operation("connect");
        std::memset(buffer_, 0, sizeof buffer_);
        code = radio_.GetEsn(port_, buffer_);
        if (code != tarvo::code::Success)
            return code;
        esn_ = std::string(buffer_, strnlen(buffer_, 10));
        observer_.Esn(esn_);
        observer_.Operation("ping");
        return radio_.PingOptBoard(port_, Reply());
    }

    // Runs `transfer(offset, length)` over every block; stops at the first
    // block that still fails, or between blocks when asked to.
    int Blocks(std::string_view operation, const std::function<int(int, int)>& transfer) {
        constexpr int kImage = static_cast<int>(kImageSize);
        int code = tarvo::code::Success;
        while (offset_ < kImage && code == tarvo::code::Success) {
            if (options_.Cancelled && options_.Cancelled()) {
                cancelled_ = true;
                return code;
            }
            observer_.Operation(operation);
            observer_.Counter(CounterText(offset_));
            observer_.Progress(offset_, kImage);
            const int length = std::min(kImage - offset_, kBlockSize);
            begun_ = true;
            for (int attempt = 1; attempt <= kAttempts; ++attempt) {
                code = transfer(offset_, length);
                if (code == tarvo::code::Success)
                    break;
                // A failure here ends the attempts, keeping the block's code.
                if (radio_.ResetRadio(port_) != tarvo::code::Success)
                    break;
                if (radio_.PingOptBoard(port_, Reply()) != tarvo::code::Success)
                    break;
            }
            offset_ += length;
            observer_.Counter(CounterText(offset_));
            observer_.Progress(offset_, kImage);
        }
        return code;
    }

    // The last reset after a complete transfer; its result is not reported.
    void Finish() {
        observer_.Counter(CounterText(offset_));
        if (!options_.ResetAround)
            return;
        observer_.Operation("reset");
        radio_.ResetRadio(port_);
    }

    bool Cancelled() const { return cancelled_; }
    bool Begun() const { return begun_; }
    int Offset() const { return offset_; }
    const std::string& Esn() const { return esn_; }

  private:
    unsigned char* Reply() { return reinterpret_cast<unsigned char*>(buffer_); }

    int port_;
    IRadio& radio_;
    IProgrammingObserver& observer_;
    const ProgrammingOptions& options_;
    // Receives the ESN, then the board check's reply.
    char buffer_[100];
    std::string esn_;
    int offset_ = 0;
    bool begun_ = false;
    bool cancelled_ = false;
};

} // namespace

ProgrammingResult TransferImage(const TOptionImage& image, int port, IRadio& radio,
                                IProgrammingObserver& observer, const ProgrammingOptions& options) {
    BlockRun run(port, radio, observer, options);
    auto finish = [&run](int code) {
        return ProgrammingResult{code == tarvo::code::Success ? RunOutcome::Programmed
                                                              : RunOutcome::RadioError,
                                 code, ResultMessage(code), run.Begun(), run.Esn()};
    };
    int code = run.Connect();
    if (code != tarvo::code::Success)
        return finish(code);
    code = run.Blocks("write", [&](int offset, int length) {
        return radio.WriteData(port, image.data() + offset, offset, length, 0);
    });
    if (run.Cancelled())
        return {RunOutcome::Cancelled, 0,
                run.Begun() ? "Programming stopped: the option board holds a partial image (" +
                                  CounterText(run.Offset()) + " bytes written). Program it again."
                            : std::string("Programming stopped before the first block: nothing "
                                          "was written to the option board."),
                run.Begun(), run.Esn()};
    if (code == tarvo::code::Success) {
        run.Finish();
        if (options.Pause)
            options.Pause(std::chrono::milliseconds(500));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    return finish(code);
}

void PrepareLibraryForReading(const TProductData& product) {
    if (TarvoDllInit(product.ProductName.c_str(), product.ModelNumber.c_str(), limits::kPacketSize,
                     limits::kPacketSize) == tarvo::lookup::Known)
        return;
    const TProductData standard;
    TarvoDllInit(standard.ProductName.c_str(), standard.ModelNumber.c_str(), limits::kPacketSize,
                 limits::kPacketSize);
}

BoardReadResult ReadBoardImage(int port, IRadio& radio, IProgrammingObserver& observer,
                               const ProgrammingOptions& options) {
    BlockRun run(port, radio, observer, options);
    BoardReadResult result;
    result.Code = run.Connect();
    if (result.Code == tarvo::code::Success)
        result.Code = run.Blocks("read", [&](int offset, int length) {
            return radio.ReadData(port, result.Image.data() + offset, offset, length);
        });
    result.Esn = run.Esn();
    if (run.Cancelled()) {
        result.Outcome = ReadOutcome::Cancelled;
        result.Message = "Reading stopped after " + CounterText(run.Offset()) + " bytes.";
        return result;
    }
    if (result.Code != tarvo::code::Success) {
        result.Outcome = ReadOutcome::RadioError;
        result.Message = ResultMessage(result.Code);
        return result;
    }
    run.Finish();
    result.Outcome = ReadOutcome::Read;
    result.Message = "Read: the option board's " + std::to_string(kImageSize) + " bytes";
    return result;
}
