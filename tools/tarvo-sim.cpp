// tarvo-sim: the option-board simulator served on a pseudo-terminal, so that
// the real serial path (termios, framing, timeouts) can be exercised without
// a radio. The first line of output is the device to point TARVO_COMn at.
#include "radiolink/frame.h"
#include "radiolink/sim/optionboard.h"
#include "resources/version.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<bool> stopRequested{false};

void RequestStop(int) {
    stopRequested = true;
}

std::atomic<bool> nextBoardRequested{false};

void RequestNextBoard(int) {
    nextBoardRequested = true;
}

// The ESN of the next board: the trailing number one higher.
std::string NextEsn(std::string esn) {
    for (auto it = esn.rbegin(); it != esn.rend(); ++it) {
        if (*it < '0' || *it > '9')
            break;
        if (*it != '9') {
            ++*it;
            return esn;
        }
        *it = '0';
    }
    return esn;
}

// The length of the request frame begun in `pending`: 0 while it is not yet
// known, -1 when the first byte starts no request.
int RequestLength(const std::vector<std::uint8_t>& pending) {
    switch (pending[0]) {
    case frame::kStart:
        return pending.size() < 4 ? 0 : pending[3] + 4;
    case frame::kResetRequestStart:
        return 3;
    case frame::kEsnRequestStart:
        return 4;
    case frame::kTestModeRequestStart:
        return 6;
    default:
        return -1;
    }
}

bool SaveMemory(const std::string& path, const sim::OptionBoard& board) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const auto memory = board.Memory();
    file.write(reinterpret_cast<const char*>(memory.data()),
               static_cast<std::streamsize>(memory.size()));
    return static_cast<bool>(file);
}

bool LoadMemory(const std::string& path, sim::OptionBoard& board) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    if (bytes.size() != sim::OptionBoard::kMemorySize)
        return false;
    board.Load({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    return true;
}

class PtyServer {
  public:
    PtyServer(sim::OptionBoard& board, int baud) : board_(board), baud_(baud) {}

    bool Start() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            return false;
        const char* name = ptsname(master_);
        if (name == nullptr)
            return false;
        slavePath_ = name;
        // Holding the slave open keeps the master from seeing a hang-up each
        // time a client closes the port.
        keepAlive_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios line{};
        if (keepAlive_ < 0 || ::tcgetattr(keepAlive_, &line) != 0)
            return false;
        ::cfmakeraw(&line);
        return ::tcsetattr(keepAlive_, TCSANOW, &line) == 0;
    }

    const std::string& SlavePath() const { return slavePath_; }

    void Serve() {
        std::vector<std::uint8_t> pending;
        Clock::time_point firstByte;
        while (!stopRequested) {
            if (nextBoardRequested.exchange(false))
                SwapBoard();
            pollfd waitFor{master_, POLLIN, 0};
            const int ready = ::poll(&waitFor, 1, 100);
            if (ready <= 0) {
                // A partial frame followed by silence was line noise.
                if (!pending.empty() && Clock::now() - firstByte > std::chrono::milliseconds(500))
                    pending.clear();
                continue;
            }
            std::uint8_t chunk[128];
            const ssize_t got = ::read(master_, chunk, sizeof chunk);
            for (ssize_t i = 0; i < got; ++i) {
                if (pending.empty())
                    firstByte = Clock::now();
                pending.push_back(chunk[i]);
                const int length = RequestLength(pending);
                if (length < 0)
                    pending.clear();
                else if (length > 0 && static_cast<int>(pending.size()) == length) {
                    Reply(pending, firstByte);
                    pending.clear();
                }
            }
        }
    }

  private:
    // Another radio with its board connected in place of the last one: an
    // erased board and the next ESN.
    void SwapBoard() {
        sim::SimOptions options = board_.Options();
        options.Esn = NextEsn(options.Esn);
        board_.Configure(options);
        board_.Fill(0xFF);
        std::fprintf(stderr, "tarvo-sim: next board, ESN %s\n", options.Esn.c_str());
    }

    void Reply(const std::vector<std::uint8_t>& request, Clock::time_point firstByte) {
        // A real line delivers the request no faster than its rate, and the
        // reply takes its own wire time.
        std::this_thread::sleep_until(firstByte + ByteTime() * request.size());
        const auto reply = board_.Answer(request);
        const auto start = Clock::now();
        for (std::size_t i = 0; i < reply.size(); ++i) {
            if (baud_ > 0)
                std::this_thread::sleep_until(start + ByteTime() * (i + 1));
            if (::write(master_, &reply[i], 1) != 1)
                return;
        }
    }

    Clock::duration ByteTime() const {
        if (baud_ <= 0)
            return Clock::duration::zero();
        return std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(10.0 / baud_));
    }

    sim::OptionBoard& board_;
    int baud_;
    int master_ = -1;
    int keepAlive_ = -1;
    std::string slavePath_;
};

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Option-board simulator on a pseudo-terminal.\n"
                 "Prints the terminal's device path on its first line, then answers the "
                 "radio-link frames written to it until stopped (Ctrl-C or SIGTERM). SIGUSR1 "
                 "connects the next board: erased, with the next ESN."};
    app.set_version_flag("--version", std::string("tarvo-sim ") + BuildVersion());
    std::string esn = "SIM0000001";
    std::string fault = "none";
    int after = 0;
    int count = 0;
    int powerloss = -1;
    int corrupt = -1;
    int baud = 0;
    std::string memoryIn;
    std::string memoryOut;
    app.add_option("--esn", esn, "ESN the radio reports (up to 10 characters)")
        ->capture_default_str();
    app.add_option("--fault", fault,
                   "Fault to inject: none, noanswer (no reply), nak (status 0), badsum (wrong "
                   "body checksum), badlink (wrong link check byte), badmarker (wrong marker), "
                   "badheader (reply starts FF 8F 01), range (address out of range)")
        ->capture_default_str();
    app.add_option("--after", after, "Answer this many option-board frames before the fault")
        ->capture_default_str();
    app.add_option("--count", count, "Let the fault strike this many times (0: for good)")
        ->capture_default_str();
    app.add_option("--powerloss", powerloss,
                   "Stop answering altogether after this many option-board frames");
    app.add_option("--corrupt", corrupt,
                   "Store a wrong byte, silently, when this address (0..2255) is written");
    app.add_option("--baud", baud,
                   "Pace the line as a real one at this rate (e.g. 9600); 0 answers at once")
        ->capture_default_str();
    app.add_option("--memory-in", memoryIn,
                   "Start with the board memory of this 2256-byte file (an erased board without)")
        ->check(CLI::ExistingFile);
    app.add_option("--memory-out", memoryOut,
                   "Write the 2256-byte board memory to this file on exit");
    CLI11_PARSE(app, argc, argv);

    std::string optionText = "esn=" + esn + ",fault=" + fault + ",after=" + std::to_string(after) +
                             ",count=" + std::to_string(count);
    if (powerloss >= 0)
        optionText += ",powerloss=" + std::to_string(powerloss);
    if (corrupt >= 0)
        optionText += ",corrupt=" + std::to_string(corrupt);
    std::string error;
    const auto options = sim::ParseSimOptions(optionText, &error);
    if (!options || options->FaultKind == sim::Fault::PortInUse) {
        std::fprintf(stderr, "tarvo-sim: %s\n",
                     options ? "fault 'inuse' cannot be simulated on a terminal" : error.c_str());
        return 2;
    }
    sim::OptionBoard board;
    board.Configure(*options);
    if (!memoryIn.empty() && !LoadMemory(memoryIn, board)) {
        std::fprintf(stderr, "tarvo-sim: %s does not hold %zu bytes\n", memoryIn.c_str(),
                     sim::OptionBoard::kMemorySize);
        return 2;
    }

    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    std::signal(SIGHUP, RequestStop);
    std::signal(SIGUSR1, RequestNextBoard);

    // Paced replies sleep once per byte; the default timer slack of 50 us
    // would add up to a visible share of the line time.
    prctl(PR_SET_TIMERSLACK, 1UL);

    PtyServer server(board, baud);
    if (!server.Start()) {
        std::perror("tarvo-sim: pseudo-terminal");
        return 1;
    }
    std::printf("%s\n", server.SlavePath().c_str());
    std::fflush(stdout);
    server.Serve();
    if (!memoryOut.empty() && !SaveMemory(memoryOut, board)) {
        std::fprintf(stderr, "tarvo-sim: cannot write %s\n", memoryOut.c_str());
        return 1;
    }
    return 0;
}
