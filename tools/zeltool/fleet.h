// Several boards at once: one child process per port, so that nothing of
// the radio-link library's process-wide state (its initialisation, packet
// sizes and frame buffers) is shared between ports.
#pragma once

#include "platform/process.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct PortOutcome {
    int Port = 0;
    int Status = 0;     // the child's exit status
    std::string Esn;    // as the child reported it
    std::string Result; // the child's last line: what became of the board
    double Seconds = 0;
};

// Runs `work(port)` in a child process for each port. The children's lines
// are shown per port: as one live line each on a terminal, else as lines
// prefixed "COMn:". Once `stopRequested` says so, every child is asked to
// stop (as Ctrl-C would). Returns when every child has ended.
std::vector<PortOutcome> RunPerPort(const std::vector<int>& ports,
                                    const std::function<ChildWork(int port)>& work,
                                    const std::function<bool()>& stopRequested, std::ostream& out,
                                    bool terminal);

// The table of what became of each board.
void PrintSummary(const std::vector<PortOutcome>& outcomes, std::ostream& out);
