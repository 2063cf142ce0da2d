// Child processes that run a piece of this program with their output piped
// back: a fleet run programs each port in a process of its own, since the
// radio-link library's state is process-wide.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A pipe's read end: a descriptor, or a handle on Windows; -1 is none.
using OutputPipe = std::intptr_t;

struct ChildProcess {
    long Id = -1;              // the process
    std::intptr_t Handle = -1; // the process's handle where the system has one
    OutputPipe Output = -1;    // read end of its standard output and error
};

// What a child does. POSIX systems fork the running program, which then
// runs `Work`; Windows starts the program again with `Arguments` (without
// the program's name), which must make it do the same.
struct ChildWork {
    std::function<int()> Work;
    std::vector<std::string> Arguments;
};

// Starts a child whose standard output and error go to the returned pipe;
// it ends with the work's result. `othersOutputs` are earlier children's
// pipes, which the new process does not keep.
std::optional<ChildProcess> StartChild(const ChildWork& work,
                                       std::span<const OutputPipe> othersOutputs);

// Waits up to `milliseconds` for output; the pipes with something to read
// (or closed) are marked true. Nothing when interrupted by a signal.
std::optional<std::vector<bool>> WaitForOutput(std::span<const OutputPipe> outputs,
                                               int milliseconds);

// Reads what a child wrote: the byte count, 0 at its end, -1 on an error
// (interrupted reads are tried again).
long ReadOutput(OutputPipe output, char* buffer, std::size_t size);
void CloseOutput(OutputPipe output);

// Asks a child to stop, as Ctrl-C would.
void AskToStop(const ChildProcess& child);
// Waits for a child's end: its exit status, or 128 + the signal that ended it.
int WaitForEnd(const ChildProcess& child);
