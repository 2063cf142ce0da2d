#include "platform/process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int Descriptor(OutputPipe output) {
    return static_cast<int>(output);
}

} // namespace

std::optional<ChildProcess> StartChild(const ChildWork& work,
                                       std::span<const OutputPipe> othersOutputs) {
    int pipe[2];
    if (::pipe(pipe) != 0)
        return std::nullopt;
    std::cout.flush();
    std::cerr.flush();
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (const OutputPipe other : othersOutputs)
            ::close(Descriptor(other));
        ::close(pipe[0]);
        ::dup2(pipe[1], STDOUT_FILENO);
        ::dup2(pipe[1], STDERR_FILENO);
        ::close(pipe[1]);
        const int status = work.Work();
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        ::_exit(status & 0xFF);
    }
    ::close(pipe[1]);
    if (pid < 0) {
        ::close(pipe[0]);
        return std::nullopt;
    }
    return ChildProcess{pid, -1, pipe[0]};
}

std::optional<std::vector<bool>> WaitForOutput(std::span<const OutputPipe> outputs,
                                               int milliseconds) {
    std::vector<pollfd> waiting;
    for (const OutputPipe output : outputs)
        waiting.push_back({Descriptor(output), POLLIN, 0});
    if (::poll(waiting.data(), waiting.size(), milliseconds) < 0)
        return std::nullopt;
    std::vector<bool> ready;
    for (const auto& each : waiting)
        ready.push_back(each.revents != 0);
    return ready;
}

long ReadOutput(OutputPipe output, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(Descriptor(output), buffer, size);
        if (got < 0 && errno == EINTR)
            continue;
        return static_cast<long>(got);
    }
}

void CloseOutput(OutputPipe output) {
    ::close(Descriptor(output));
}

void AskToStop(const ChildProcess& child) {
    ::kill(static_cast<pid_t>(child.Id), SIGTERM);
}

int WaitForEnd(const ChildProcess& child) {
    int raw = 0;
    while (::waitpid(static_cast<pid_t>(child.Id), &raw, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(raw))
        return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw))
        return 128 + WTERMSIG(raw);
    return 1;
}
