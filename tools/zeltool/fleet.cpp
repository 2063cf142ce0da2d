#include "tools/zeltool/fleet.h"

#include "platform/process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>

namespace {

using Clock = std::chrono::steady_clock;

struct Child {
    PortOutcome Outcome;
    ChildProcess Process; // Output is -1 once the child's output ended
    std::string Pending;
    std::string Shown; // the live line on a terminal
    Clock::time_point Started;
};

std::string PortName(int port) {
    return "COM" + std::to_string(port);
}

class Display {
  public:
    Display(std::vector<Child>& children, std::ostream& out, bool terminal)
        : children_(children), out_(out), terminal_(terminal) {
        if (!terminal_)
            return;
        for (auto& child : children_) {
            child.Shown = "starting";
            out_ << Line(child) << "\n";
        }
        out_ << std::flush;
    }

    void Take(Child& child, const std::string& line) {
        if (line.empty())
            return;
        static constexpr std::string_view kEsn = "Radio ESN: ";
        static constexpr std::string_view kTool = "zeltool: ";
        if (line.starts_with(kEsn))
            child.Outcome.Esn = line.substr(kEsn.size());
        child.Outcome.Result = line.starts_with(kTool) ? line.substr(kTool.size()) : line;
        if (!terminal_) {
            out_ << PortName(child.Outcome.Port) << ": " << line << "\n" << std::flush;
            return;
        }
        child.Shown = child.Outcome.Result;
        // Back to the first port's line, and every line again.
        out_ << "\x1b[" << children_.size() << "A";
        for (const auto& each : children_)
            out_ << "\r\x1b[K" << Line(each) << "\n";
        out_ << std::flush;
    }

  private:
    static std::string Line(const Child& child) {
        return PortName(child.Outcome.Port) + "  " + child.Shown;
    }

    std::vector<Child>& children_;
    std::ostream& out_;
    bool terminal_;
};

// The lines a child wrote so far; a progress bar's carriage returns end
// lines too.
void Drain(Child& child, Display& display, const char* data, std::size_t size) {
    child.Pending.append(data, size);
    std::size_t end;
    while ((end = child.Pending.find_first_of("\r\n")) != std::string::npos) {
        display.Take(child, child.Pending.substr(0, end));
        child.Pending.erase(0, end + 1);
    }
}

} // namespace

std::vector<PortOutcome> RunPerPort(const std::vector<int>& ports,
                                    const std::function<ChildWork(int port)>& work,
                                    const std::function<bool()>& stopRequested, std::ostream& out,
                                    bool terminal) {
    std::vector<Child> children(ports.size());
    std::vector<OutputPipe> outputs;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        Child& child = children[i];
        child.Outcome.Port = ports[i];
        child.Started = Clock::now();
        // The child's output goes to the parent, which shows it.
        const auto started = StartChild(work(ports[i]), outputs);
        if (!started) {
            child.Outcome.Status = 71;
            child.Outcome.Result = "cannot start a process for this port";
            continue;
        }
        child.Process = *started;
        outputs.push_back(child.Process.Output);
    }

    Display display(children, out, terminal);
    bool forwarded = false;
    for (;;) {
        std::vector<OutputPipe> waiting;
        std::vector<Child*> owners;
        for (auto& child : children)
            if (child.Process.Output != -1) {
                waiting.push_back(child.Process.Output);
                owners.push_back(&child);
            }
        if (waiting.empty())
            break;
        // Ctrl-C on a terminal reaches the children too; a signal sent to
        // the parent alone is passed on. Each child stops between blocks and
        // says so, so the parent goes on reading until they are done.
        const auto ready = WaitForOutput(waiting, 200);
        if (!forwarded && stopRequested()) {
            forwarded = true;
            for (const auto& child : children)
                if (child.Process.Output != -1)
                    AskToStop(child.Process);
        }
        if (!ready)
            continue;
        for (std::size_t k = 0; k < waiting.size(); ++k) {
            if (!(*ready)[k])
                continue;
            Child& child = *owners[k];
            char buffer[512];
            const long got = ReadOutput(child.Process.Output, buffer, sizeof buffer);
            if (got > 0) {
                Drain(child, display, buffer, static_cast<std::size_t>(got));
                continue;
            }
            Drain(child, display, "\n", 1);
            CloseOutput(child.Process.Output);
            child.Process.Output = -1;
            child.Outcome.Status = WaitForEnd(child.Process);
            child.Outcome.Seconds =
                std::chrono::duration<double>(Clock::now() - child.Started).count();
        }
    }
    std::vector<PortOutcome> outcomes;
    for (auto& child : children)
        outcomes.push_back(std::move(child.Outcome));
    return outcomes;
}

void PrintSummary(const std::vector<PortOutcome>& outcomes, std::ostream& out) {
    std::size_t resultWidth = 6;
    for (const auto& outcome : outcomes)
        resultWidth = std::max(resultWidth, outcome.Result.size());
    auto row = [&](const std::string& port, const std::string& status, const std::string& result,
                   const std::string& esn, const std::string& time) {
        char line[64];
        std::snprintf(line, sizeof line, "%-6s%-8s", port.c_str(), status.c_str());
        out << line << result << std::string(resultWidth - result.size() + 2, ' ');
        std::snprintf(line, sizeof line, "%-12s%s", esn.c_str(), time.c_str());
        out << line << "\n";
    };
    row("Port", "Status", "Result", "ESN", "Time");
    for (const auto& outcome : outcomes) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f s", outcome.Seconds);
        row(PortName(outcome.Port), outcome.Status == 0 ? "ok" : std::to_string(outcome.Status),
            outcome.Result, outcome.Esn.empty() ? "-" : outcome.Esn, seconds);
    }
}
