// What every zeltool command shares: exit statuses, messages, reading and
// writing files, the document password and the port.
#pragma once

#include "document/records.h"
#include "programming/image.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// zeltool's exit statuses besides the radio-link library's result codes
// (1..14, 100, 200), in one table; the help text is made from it.
namespace status {
constexpr int Ok = 0;
constexpr int Differ = 1; // zeltool diff: the two differ
constexpr int Usage = 64;
constexpr int InvalidData = 65; // a document that cannot be programmed, or invalid JSON
constexpr int CannotRead = 66;  // an input file missing, unreadable or refused
constexpr int Internal = 70;    // a fault of zeltool itself
constexpr int CannotWrite = 73;
constexpr int Mismatch = 75;      // the board differs from the image
constexpr int NotADocument = 76;  // the board's bytes do not decode into a document
constexpr int WrongPassword = 77; // a locked document without its password
constexpr int Interrupted = 130;

struct Meaning {
    const char* Codes;
    const char* Text;
};
inline constexpr Meaning kTable[] = {
    {"0", "success"},
    {"1..14, 100, 200", "the radio-link result (see the README)"},
    {"64", "usage"},
    {"65", "invalid document or JSON"},
    {"66", "input file missing, unreadable or refused"},
    {"70", "an internal fault"},
    {"73", "output file not written"},
    {"75", "verification found differences"},
    {"76", "the board holds no document's image (read)"},
    {"77", "a password-protected document without its password"},
    {"130", "interrupted"},
};
} // namespace status

// The help text's sentence on exit statuses.
std::string ExitStatusHelp();

// Set by SIGINT and SIGTERM; runs stop between blocks.
extern std::atomic<bool> interrupted;
void CatchInterrupts();

// Prints "zeltool: message" on standard error and returns `code`.
int Fail(int code, const std::string& message);

int LoadOrFail(const std::string& path, std::unique_ptr<TBoardData>& document);
// Writes an output: "-" is standard output, any other name goes through the
// safe-write helper.
int WriteOutput(const std::string& path, std::string_view bytes);
int WriteOutput(const std::string& path, const std::uint8_t* data, std::size_t size);
int SaveOrFail(const TBoardData& document, const std::string& path);
// An output that names the input file itself would be lost with it.
int RefuseSameFile(const std::string& input, const std::string& output);
int BuildOrFail(const TBoardData& document, TOptionImage& image);
// A document file's image.
int LoadAndBuild(const std::string& path, TOptionImage& image);
// A file of exactly an image's bytes (a board read or backed up).
int LoadImageFile(const std::string& path, TOptionImage& image);
// A document (`document` set, its image built) or else an image file.
int LoadDocumentOrImage(const std::string& path, std::unique_ptr<TBoardData>& document,
                        TOptionImage& image);

// Texts of a document, for the terminal.
std::string Utf8(std::string_view text);

// The document password is a lock on viewing the document's settings: a
// command that shows them needs it, from --password or typed at a prompt.
struct PasswordGate {
    std::optional<std::string> Given; // --password, as typed (UTF-8)

    int Check(const TBoardData& document, const std::string& path);
    // The --password option of a command that shows settings.
    void AddOption(CLI::App* command);
};

// A document whose settings are shown: loaded, then unlocked.
int LoadUnlocked(const std::string& path, std::unique_ptr<TBoardData>& document,
                 PasswordGate& gate);

// The port: the option, else the GUI's settings file, else COM1. A device
// given with --device becomes that port's mapping for this run.
int ChoosePort(int option);
// The command line after the program's name, as given.
extern std::vector<std::string> commandArguments;

// --device PATH: the device the chosen port maps to for this run
// (/dev/serial/by-id/..., by-path names with colons, or sim[:options]).
extern std::string deviceOverride;
