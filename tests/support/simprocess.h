// tarvo-sim in a child process: the pseudo-terminal it serves, and the
// board memory it writes when stopped.
#pragma once

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// A program built beside the running one (tests, tools and benchmarks all
// land in one directory), so that a copy of that directory runs anywhere.
inline std::string ProgramBesideThisOne(const std::string& name) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (self.parent_path() / name).string();
}

class SimProcess {
  public:
    // Starts tarvo-sim with these options.
    explicit SimProcess(std::vector<std::string> arguments) {
        const std::string program = ProgramBesideThisOne("tarvo-sim");
        int out[2];
        if (pipe(out) != 0)
            return;
        child_ = fork();
        if (child_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            arguments.insert(arguments.begin(), "tarvo-sim");
            std::vector<char*> argv;
            for (auto& argument : arguments)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        char line[256] = {};
        FILE* stream = fdopen(out[0], "r");
        if (fgets(line, sizeof line, stream) == nullptr)
            line[0] = '\0';
        fclose(stream);
        device_ = line;
        while (!device_.empty() && device_.back() == '\n')
            device_.pop_back();
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess() { Stop(); }

    // The pseudo-terminal's device path (empty when the simulator did not start).
    const std::string& Device() const { return device_; }

    // SIGUSR1: the next board is connected in place of the last one.
    void NextBoard() const {
        if (child_ > 0)
            kill(child_, SIGUSR1);
    }

    // Ends the simulator, which then writes its memory file.
    void Stop() {
        if (child_ <= 0)
            return;
        kill(child_, SIGTERM);
        waitpid(child_, nullptr, 0);
        child_ = -1;
    }

  private:
    pid_t child_ = -1;
    std::string device_;
};
