#include "programminglog/programminglog.h"

#include "document/records.h"
#include "document/windows1252.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/paths.h"
#include "programming/sha256.h"
#include "radiolink/server/backend.h"
#include "resources/version.h"

#include <sqlite3.h>

#include <cctype>
#include <thread>

namespace {

// A boundary on every wait for another writer: the log must not hold a
// board's run up.
constexpr int kBusyTimeoutMs = 2000;

constexpr const char* kSchema = "CREATE TABLE IF NOT EXISTS runs("
                                " id INTEGER PRIMARY KEY,"
                                " time_utc TEXT NOT NULL,"
                                " user TEXT NOT NULL,"
                                " host TEXT NOT NULL,"
                                " tool TEXT NOT NULL,"
                                " port TEXT NOT NULL,"
                                " device TEXT NOT NULL,"
                                " esn TEXT NOT NULL DEFAULT '',"
                                " document TEXT NOT NULL,"
                                " image_sha256 TEXT NOT NULL,"
                                " product TEXT NOT NULL,"
                                " result_code INTEGER,"
                                " result_text TEXT NOT NULL,"
                                " verify TEXT NOT NULL DEFAULT '',"
                                " duration_ms INTEGER NOT NULL DEFAULT 0,"
                                " program_version TEXT NOT NULL);"
                                "CREATE INDEX IF NOT EXISTS runs_esn ON runs(esn);";

// Runs `attempt` again while another connection holds the database, up to
// the busy timeout: the busy handler does not cover every such moment (a new
// database turned to WAL by several processes at once answers "locked").
template <typename Attempt> int WhileBusy(Attempt attempt) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    for (;;) {
        const int result = attempt();
        if ((result != SQLITE_BUSY && result != SQLITE_LOCKED) ||
            std::chrono::steady_clock::now() >= deadline)
            return result;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// A prepared statement, finalised when it goes.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) {
        sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr);
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ready() const { return statement_ != nullptr; }
    void Bind(int index, const std::string& text) {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
    void Bind(int index, std::int64_t value) { sqlite3_bind_int64(statement_, index, value); }
    // One step, tried again while the database is busy.
    int Step() {
        return WhileBusy([this] {
            const int result = sqlite3_step(statement_);
            if (result == SQLITE_BUSY || result == SQLITE_LOCKED)
                sqlite3_reset(statement_);
            return result;
        });
    }
    std::string Text(int column) const {
        const auto* text = sqlite3_column_text(statement_, column);
        return text != nullptr ? reinterpret_cast<const char*>(text) : "";
    }
    std::int64_t Integer(int column) const { return sqlite3_column_int64(statement_, column); }
    bool IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

bool Digits(const std::string& text, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i)
        if (std::isdigit(static_cast<unsigned char>(text[i])) == 0)
            return false;
    return true;
}

} // namespace

std::vector<std::string> LogColumnNames() {
    return {"id",          "time_utc", "user",        "host",           "tool",    "port",
            "device",      "esn",      "document",    "image_sha256",   "product", "result_code",
            "result_text", "verify",   "duration_ms", "program_version"};
}

std::vector<std::string> LogColumns(const LogEntry& entry) {
    return {std::to_string(entry.Id),
            entry.TimeUtc,
            entry.User,
            entry.Host,
            entry.Tool,
            entry.Port,
            entry.Device,
            entry.Esn,
            entry.Document,
            entry.ImageSha256,
            entry.Product,
            entry.ResultCode ? std::to_string(*entry.ResultCode) : std::string(),
            entry.ResultText,
            entry.Verify,
            std::to_string(entry.DurationMs),
            entry.ProgramVersion};
}

bool IsLogDate(const std::string& text) {
    const bool date = text.size() >= 10 && Digits(text, 0, 4) && text[4] == '-' &&
                      Digits(text, 5, 2) && text[7] == '-' && Digits(text, 8, 2);
    if (!date)
        return false;
    if (text.size() == 10)
        return true;
    return text.size() == 20 && text[10] == 'T' && Digits(text, 11, 2) && text[13] == ':' &&
           Digits(text, 14, 2) && text[16] == ':' && Digits(text, 17, 2) && text[19] == 'Z';
}

std::filesystem::path ProgrammingLog::DefaultLocation() {
    const std::filesystem::path folder = UserDataDirectory();
    return folder.empty() ? std::filesystem::path() : folder / "programming-log.sqlite";
}

ProgrammingLog::ProgrammingLog(std::filesystem::path file) : file_(std::move(file)) {}

ProgrammingLog::~ProgrammingLog() {
    sqlite3_close(db_);
}

bool ProgrammingLog::Failed(const std::string& what) {
    if (problem_.empty()) {
        problem_ = "the programming log " + (file_.empty() ? std::string() : file_.string() + " ") +
                   "cannot be used: " + what;
        if (db_ != nullptr)
            problem_ += std::string(" (") + sqlite3_errmsg(db_) + ")";
    }
    return false;
}

bool ProgrammingLog::Open() {
    if (db_ != nullptr)
        return true;
    if (!problem_.empty())
        return false; // reported once; a broken log is not retried for every board
    if (file_.empty())
        return Failed("the user's data folder is not known");
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    // Like every file the program writes: the target of a link, and never a
    // device or FIFO in the log's place.
    const auto status = std::filesystem::status(file_, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return Failed("it is not a regular file");
    if (sqlite3_open_v2(file_.string().c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        Failed("it cannot be opened");
        sqlite3_close(db_);
        db_ = nullptr;
        return false;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    const auto setUp = [this] {
        const int wal = sqlite3_exec(db_, "PRAGMA journal_mode=WAL;", nullptr, nullptr, nullptr);
        return wal != SQLITE_OK ? wal : sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr);
    };
    if (WhileBusy(setUp) != SQLITE_OK) {
        Failed("it is not a programming log");
        sqlite3_close(db_);
        db_ = nullptr;
        return false;
    }
    return true;
}

std::optional<std::int64_t> ProgrammingLog::Begin(const RunStart& start) {
    if (!Open())
        return std::nullopt;
    Statement insert(db_, "INSERT INTO runs(time_utc, user, host, tool, port, device, document,"
                          " image_sha256, product, result_text, program_version)"
                          " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
    if (!insert.Ready())
        return Failed("it is not a programming log"), std::nullopt;
    insert.Bind(1, UtcTimeText());
    insert.Bind(2, UserName());
    insert.Bind(3, HostName());
    insert.Bind(4, start.Tool);
    insert.Bind(5, start.Port);
    insert.Bind(6, start.Device);
    insert.Bind(7, start.Document);
    insert.Bind(8, start.ImageSha256);
    insert.Bind(9, start.Product);
    insert.Bind(10, std::string(kNotFinished));
    insert.Bind(11, std::string(BuildVersion()));
    if (insert.Step() != SQLITE_DONE)
        return Failed("a run could not be added"), std::nullopt;
    const std::int64_t id = sqlite3_last_insert_rowid(db_);
    started_[id] = std::chrono::steady_clock::now();
    return id;
}

bool ProgrammingLog::Finish(std::int64_t id, const RunEnd& end) {
    if (!Open())
        return false;
    Statement update(db_, "UPDATE runs SET esn = ?1, result_code = ?2, result_text = ?3,"
                          " verify = ?4, duration_ms = ?5 WHERE id = ?6");
    if (!update.Ready())
        return Failed("it is not a programming log");
    const auto started = started_.find(id);
    const auto duration = started == started_.end()
                              ? std::chrono::milliseconds(0)
                              : std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - started->second);
    update.Bind(1, end.Esn);
    update.Bind(2, static_cast<std::int64_t>(end.ResultCode));
    update.Bind(3, end.ResultText);
    update.Bind(4, end.Verify);
    update.Bind(5, static_cast<std::int64_t>(duration.count()));
    update.Bind(6, id);
    if (update.Step() != SQLITE_DONE)
        return Failed("a run's result could not be kept");
    if (started != started_.end())
        started_.erase(started);
    return true;
}

std::vector<LogEntry> ProgrammingLog::List(const LogFilter& filter) {
    std::vector<LogEntry> entries;
    // Listing makes no log where there is none.
    std::error_code error;
    if (db_ == nullptr && !std::filesystem::exists(file_, error))
        return entries;
    if (!Open())
        return entries;
    Statement select(db_, "SELECT id, time_utc, user, host, tool, port, device, esn, document,"
                          " image_sha256, product, result_code, result_text, verify, duration_ms,"
                          " program_version FROM runs"
                          " WHERE (?1 = '' OR esn = ?1) AND (?2 = '' OR time_utc >= ?2)"
                          " ORDER BY id");
    if (!select.Ready()) {
        Failed("it is not a programming log");
        return entries;
    }
    select.Bind(1, filter.Esn);
    select.Bind(2, filter.Since);
    int step = SQLITE_ROW;
    while ((step = select.Step()) == SQLITE_ROW) {
        LogEntry entry;
        entry.Id = select.Integer(0);
        entry.TimeUtc = select.Text(1);
        entry.User = select.Text(2);
        entry.Host = select.Text(3);
        entry.Tool = select.Text(4);
        entry.Port = select.Text(5);
        entry.Device = select.Text(6);
        entry.Esn = select.Text(7);
        entry.Document = select.Text(8);
        entry.ImageSha256 = select.Text(9);
        entry.Product = select.Text(10);
        if (!select.IsNull(11))
            entry.ResultCode = static_cast<int>(select.Integer(11));
        entry.ResultText = select.Text(12);
        entry.Verify = select.Text(13);
        entry.DurationMs = select.Integer(14);
        entry.ProgramVersion = select.Text(15);
        entries.push_back(std::move(entry));
    }
    if (step != SQLITE_DONE)
        Failed("it cannot be read");
    return entries;
}

std::string ProgrammingLog::ProblemToReport() {
    if (problem_.empty() || reported_)
        return {};
    reported_ = true;
    return problem_;
}

RunStart DescribeRunStart(const std::string& tool, int port, const std::filesystem::path& file,
                          const TBoardData* document, std::span<const std::uint8_t> image) {
    RunStart start;
    start.Tool = tool;
    start.Port = "COM" + std::to_string(port >= 1 && port <= 4 ? port : 1);
    if (const auto target = radioserver::ResolvePort(start.Port))
        start.Device = radioserver::DescribePortTarget(*target);
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    start.Document = file.empty() ? "untitled" : (error ? file : absolute).string();
    start.ImageSha256 = Sha256Hex(image);
    if (document != nullptr)
        start.Product = DocumentTextToUtf8(document->Product.ProductName.View()) + " / " +
                        DocumentTextToUtf8(document->Product.ModelNumber.View());
    return start;
}
