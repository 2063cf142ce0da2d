// zeltool log: the programming log, all of it or one board's or since a day;
// a table on the terminal, or every column as CSV.
#include "exchange/csv.h"
#include "programminglog/programminglog.h"
#include "tools/zeltool/commands.h"
#include "tools/zeltool/common.h"

#include <algorithm>
#include <iostream>
#include <memory>

namespace {

struct LogOptions {
    std::string Esn;
    std::string Since;
    bool Csv = false;
};

std::string Result(const LogEntry& entry) {
    return entry.ResultText.empty() ? std::string("-") : entry.ResultText;
}

int ListLog(const LogOptions& options) {
    if (!options.Since.empty() && !IsLogDate(options.Since))
        return Fail(status::Usage, "--since takes a date YYYY-MM-DD or a UTC time "
                                   "YYYY-MM-DDTHH:MM:SSZ, not '" +
                                       options.Since + "'");
    ProgrammingLog log;
    const auto entries = log.List({options.Esn, options.Since});
    if (!log.Problem().empty())
        return Fail(status::CannotRead, log.Problem());
    if (options.Csv) {
        std::vector<CsvRecord> records{LogColumnNames()};
        for (const auto& entry : entries)
            records.push_back(LogColumns(entry));
        std::cout << CsvText(records, false);
        return status::Ok;
    }
    if (entries.empty()) {
        std::cerr << "No runs recorded"
                  << (options.Esn.empty() && options.Since.empty() ? "" : " that match") << " in "
                  << ProgrammingLog::DefaultLocation().string() << "\n";
        return status::Ok;
    }
    // Time, port, ESN, verify, result, document: the columns a shop answers
    // its customers from; --csv has them all.
    std::size_t esnWidth = 3;
    std::size_t resultWidth = 6;
    for (const auto& entry : entries) {
        esnWidth = std::max(esnWidth, entry.Esn.size());
        resultWidth = std::max(resultWidth, Result(entry).size());
    }
    const auto pad = [](const std::string& text, std::size_t width) {
        return text + std::string(width - std::min(width, text.size()) + 2, ' ');
    };
    std::cout << pad("Time (UTC)", 20) << pad("Port", 4) << pad("ESN", esnWidth)
              << pad("Verify", 11) << pad("Result", resultWidth) << "Document\n";
    for (const auto& entry : entries)
        std::cout << pad(entry.TimeUtc, 20) << pad(entry.Port, 4)
                  << pad(entry.Esn.empty() ? "-" : entry.Esn, esnWidth)
                  << pad(entry.Verify.empty() ? "-" : entry.Verify, 11)
                  << pad(Result(entry), resultWidth) << entry.Document << "\n";
    return status::Ok;
}

} // namespace

Command AddLog(CLI::App& tool) {
    auto o = std::make_shared<LogOptions>();
    auto* command = tool.add_subcommand(
        "log", "List the programming log: every board programmed, when, and whether it verified");
    command->add_option("--esn", o->Esn, "Only the runs of the board with this ESN");
    command->add_option("--since", o->Since,
                        "Only the runs at or after this UTC date (YYYY-MM-DD) or time "
                        "(YYYY-MM-DDTHH:MM:SSZ)");
    command->add_flag("--csv", o->Csv, "Every column of the log as CSV on standard output");
    return {command, [o] { return ListLog(*o); }};
}
