// Child processes that run a piece of this program with their output piped
// back: a fleet run programs each port in a process of its own, since the
// radio-link library's state is process-wide.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

struct ChildProcess {
    long Id = -1;    // the process
    int Output = -1; // read end of its standard output and error
};

// Runs `work` in a new process whose standard output and error go to the
// returned pipe; the process ends with work's result. `othersOutputs` are
// earlier children's pipes, which the new process does not keep.
std::optional<ChildProcess> StartChild(const std::function<int()>& work,
                                       std::span<const int> othersOutputs);

// Waits up to `milliseconds` for output; the pipes with something to read
// (or closed) are marked true. Nothing when interrupted by a signal.
std::optional<std::vector<bool>> WaitForOutput(std::span<const int> outputs, int milliseconds);

// Reads what a child wrote: the byte count, 0 at its end, -1 on an error
// (interrupted reads are tried again).
long ReadOutput(int output, char* buffer, std::size_t size);
void CloseOutput(int output);

// Asks a child to stop, as Ctrl-C would.
void AskToStop(const ChildProcess& child);

// Waits for a child's end: its exit status, or 128 + the signal that ended it.
int WaitForEnd(const ChildProcess& child);
