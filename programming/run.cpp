#include "programming/run.h"

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
        return {RunOutcome::InvalidDocument, built, BuildFailureMessage(built)};
    return TransferImage(image, port, radio, observer, options);
}

ProgrammingResult TransferImage(const TOptionImage& image, int port, IRadio& radio,
                                IProgrammingObserver& observer, const ProgrammingOptions& options) {
    bool writeBegun = false;
    auto finish = [&writeBegun](int code) {
        return ProgrammingResult{code == tarvo::code::Success ? RunOutcome::Programmed
                                                              : RunOutcome::RadioError,
                                 code, ResultMessage(code), writeBegun};
    };
    constexpr int kImage = static_cast<int>(kImageSize);
    // Receives the ESN, then the board check's reply.
    char buffer[100];

    observer.Operation("reset");
    int code = radio.ResetRadio(port);
    if (code != tarvo::code::Success)
        return finish(code);

    observer.Operation("connect");
    std::memset(buffer, 0, sizeof buffer);
    code = radio.GetEsn(port, buffer);
    if (code != tarvo::code::Success)
        return finish(code);
    observer.Esn(std::string_view(buffer, strnlen(buffer, 10)));

    observer.Operation("ping");
    code = radio.PingOptBoard(port, reinterpret_cast<unsigned char*>(buffer));
    if (code != tarvo::code::Success)
        return finish(code);

    int offset = 0;
    while (offset < kImage && code == tarvo::code::Success) {
        if (options.Cancelled && options.Cancelled())
            return {RunOutcome::Cancelled, 0,
                    "Programming stopped: the option board holds a partial image (" +
                        CounterText(offset) + " bytes written). Program it again.",
                    writeBegun};
        observer.Operation("write");
        observer.Counter(CounterText(offset));
        observer.Progress(offset, kImage);
        const int length = std::min(kImage - offset, kBlockSize);
        writeBegun = true;
        for (int attempt = 1; attempt <= kAttempts; ++attempt) {
            code = radio.WriteData(port, image.data() + offset, offset, length, 0);
            if (code == tarvo::code::Success)
                break;
            // Every failed attempt, the last one too, is followed by a reset
            // and a board check; a failure there ends the attempts, keeping
            // the write's code.
            if (radio.ResetRadio(port) != tarvo::code::Success)
                break;
            if (radio.PingOptBoard(port, reinterpret_cast<unsigned char*>(buffer)) !=
                tarvo::code::Success)
                break;
        }
        offset += length;
        observer.Counter(CounterText(offset));
        observer.Progress(offset, kImage);
    }
    if (code == tarvo::code::Success) {
        observer.Counter(CounterText(offset));
        observer.Operation("reset");
        radio.ResetRadio(port);
        if (options.Pause)
            options.Pause(std::chrono::milliseconds(500));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    return finish(code);
}
