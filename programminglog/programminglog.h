// The shop's record of every board programmed: which board got which
// configuration, when, and whether it verified. One SQLite database in the
// user's data folder, in WAL mode so that the processes of a fleet run write
// at once. A run never waits on the log for long, and never fails because of
// it: a log that cannot be written is reported once and the run goes on.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct sqlite3;

// What is known when a run starts.
struct RunStart {
    std::string Tool;     // "zel" or "zeltool"
    std::string Port;     // "COM2"
    std::string Device;   // where the port leads
    std::string Document; // the file programmed, an absolute path
    std::string ImageSha256;
    std::string Product; // "KX720 / TQR41VBL2XC7PD", empty for an image file
};

// The result code of a run that failed or stopped outside the radio link:
// interrupted, or a backup that could not be written.
inline constexpr int kOutsideTheLink = -1;

// How a run ended.
struct RunEnd {
    std::string Esn;
    int ResultCode = 0;     // the library's result (0 for success), or kOutsideTheLink
    std::string ResultText; // what the user was shown
    std::string Verify;     // one of the kVerify... texts
};

inline constexpr const char* kVerifyNotAsked = "not asked";
inline constexpr const char* kVerifyPassed = "verified";
inline constexpr const char* kVerifyDiffers = "differs";
inline constexpr const char* kVerifyFailed = "read failed";

// The text a run that never finished keeps: killed, or its machine stopped.
inline constexpr const char* kNotFinished = "did not finish";

// One row of the log.
struct LogEntry {
    std::int64_t Id = 0;
    std::string TimeUtc; // "2026-12-11T15:40:02Z"
    std::string User;
    std::string Host;
    std::string Tool;
    std::string Port;
    std::string Device;
    std::string Esn;
    std::string Document;
    std::string ImageSha256;
    std::string Product;
    std::optional<int> ResultCode; // none while the run had not finished
    std::string ResultText;
    std::string Verify;
    std::int64_t DurationMs = 0;
    std::string ProgramVersion;
};

// The columns of a row, in the order of `LogEntry` and the CSV listing.
std::vector<std::string> LogColumnNames();
std::vector<std::string> LogColumns(const LogEntry& entry);

struct LogFilter {
    std::string Esn;   // exactly this ESN; empty for all
    std::string Since; // runs at or after this UTC date or time; empty for all
};

// Whether `text` is a date "YYYY-MM-DD" or a UTC time "YYYY-MM-DDTHH:MM:SSZ"
// that --since takes.
bool IsLogDate(const std::string& text);

class ProgrammingLog {
  public:
    // The log in the user's data folder: programming-log.sqlite.
    static std::filesystem::path DefaultLocation();

    explicit ProgrammingLog(std::filesystem::path file = DefaultLocation());
    ~ProgrammingLog();
    ProgrammingLog(const ProgrammingLog&) = delete;
    ProgrammingLog& operator=(const ProgrammingLog&) = delete;

    // Records a run that started now as not finished, so that a killed run
    // stays in the log as such; the id for `Finish`, or none when the log
    // cannot be written.
    std::optional<std::int64_t> Begin(const RunStart& start);
    // Completes the row `Begin` made.
    bool Finish(std::int64_t id, const RunEnd& end);

    // The rows that pass the filter, oldest first; none when the log cannot
    // be read (see `Problem`).
    std::vector<LogEntry> List(const LogFilter& filter = {});

    // What went wrong the first time the log failed; empty while all is well.
    const std::string& Problem() const { return problem_; }
    // `Problem` the first time it is asked after a failure, then empty, so
    // that a run with many boards reports a broken log once.
    std::string ProblemToReport();

  private:
    bool Open();
    bool Failed(const std::string& what);

    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
    std::string problem_;
    bool reported_ = false;
    std::map<std::int64_t, std::chrono::steady_clock::time_point> started_;
};

class TBoardData;

// The start of a run of `tool` that writes `image`, made from `document`
// (null for an image file written as it is) or read from `file` (empty for
// a document never saved), on COMn.
RunStart DescribeRunStart(const std::string& tool, int port, const std::filesystem::path& file,
                          const TBoardData* document, std::span<const std::uint8_t> image);
