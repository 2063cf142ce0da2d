#include "radiolink/server/serialbackend.h"

#include "radiolink/optionlist.h"
#include "radiolink/radiolink.h"
#include "radiolink/server/replyframer.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace radioserver {

namespace {

using Clock = std::chrono::steady_clock;

// The line of an open backend is a file descriptor.
int Descriptor(std::intptr_t line) {
    return static_cast<int>(line);
}

std::optional<speed_t> BaudConstant(int baud) {
    switch (baud) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return std::nullopt;
    }
}

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

} // namespace

std::string DefaultDevice(int portNumber) {
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

std::uint32_t SerialBackend::Open() {
    if (IsOpen())
        return 0;
    const int fd = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == EBUSY ? ServerResult::PortInUse : ServerResult::PortConfig;
    // Another program (or another server object) holding the port keeps its
    // lock; TIOCEXCL additionally turns away openers that do not lock.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int lockError = errno;
        ::close(fd);
        return lockError == EWOULDBLOCK ? ServerResult::PortInUse : ServerResult::PortConfig;
    }
    termios line{};
    if (::tcgetattr(fd, &line) != 0) { // not a terminal device
        ::close(fd);
        return ServerResult::PortConfig;
    }
    ::ioctl(fd, TIOCEXCL);
    line_ = fd;
    ::cfmakeraw(&line);
    // Without HUPCL the driver leaves DTR and RTS as they are when the port
    // closes: each radio call opens and closes the port, and a box powered
    // from those lines must not lose power between the calls of one run.
    line.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE | HUPCL);
    line.c_cflag |= CS8 | CLOCAL | CREAD;
    line.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    const speed_t speed = *BaudConstant(settings_.Baud);
    if (::cfsetispeed(&line, speed) != 0 || ::cfsetospeed(&line, speed) != 0 ||
        ::tcsetattr(fd, TCSANOW, &line) != 0 || !SetModemLines()) {
        Close();
        return ServerResult::LineSettings;
    }
    return 0;
}

bool SerialBackend::SetModemLines() {
    int raise = 0;
    int lower = 0;
    (settings_.Dtr ? raise : lower) |= TIOCM_DTR;
    (settings_.Rts ? raise : lower) |= TIOCM_RTS;
    for (const auto& [request, lines] : {std::pair{TIOCMBIS, raise}, std::pair{TIOCMBIC, lower}}) {
        if (lines == 0 || ::ioctl(Descriptor(line_), request, &lines) == 0)
            continue;
        if (errno != ENOTTY && errno != EINVAL)
            return false;
    }
    return true;
}

void SerialBackend::Close() {
    if (!IsOpen())
        return;
    // The exclusive flag belongs to the terminal, not to this descriptor: on
    // a pseudo-terminal it outlives the close and would turn away the next
    // opener that is not root (the next call of the same run).
    ::ioctl(Descriptor(line_), TIOCNXCL);
    ::close(Descriptor(line_)); // also drops the lock
    line_ = kNoLine;
}

std::uint32_t SerialBackend::WriteFrame(std::span<const std::uint8_t> request) {
    std::size_t written = 0;
    const auto deadline = Clock::now() + settings_.ResponseTimeout;
    while (written < request.size()) {
        const ssize_t n =
            ::write(Descriptor(line_), request.data() + written, request.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return ServerResult::WriteFailure;
        pollfd waitFor{Descriptor(line_), POLLOUT, 0};
        if (::poll(&waitFor, 1, MillisecondsUntil(deadline)) <= 0 && Clock::now() >= deadline)
            return ServerResult::WriteFailure;
    }
    return 0;
}

long SerialBackend::ReadSome(Clock::time_point deadline) {
    const ssize_t n = ::read(Descriptor(line_), input_.data(), input_.size());
    if (n > 0)
        return static_cast<long>(n);
    if (n < 0 && errno != EAGAIN && errno != EINTR)
        return -1;
    const int wait = MillisecondsUntil(deadline);
    if (wait == 0)
        return -1;
    pollfd waitFor{Descriptor(line_), POLLIN, 0};
    const int ready = ::poll(&waitFor, 1, wait);
    if (ready < 0 && errno != EINTR)
        return -1;
    // A hung-up line (the other end closed) answers nothing more.
    if (ready > 0 && (waitFor.revents & (POLLHUP | POLLERR)) != 0 &&
        (waitFor.revents & POLLIN) == 0)
        return -1;
    return 0;
}

void SerialBackend::DiscardInput() {
    ::tcflush(Descriptor(line_), TCIFLUSH);
}

void SerialBackend::DrainOutput() {
    ::tcdrain(Descriptor(line_));
}

std::string SerialDeviceProblem(const std::string& device) {
    struct stat status {};
    if (::stat(device.c_str(), &status) != 0)
        return std::string("cannot be found: ") + std::strerror(errno);
    if (!S_ISCHR(status.st_mode))
        return "is not a serial device";
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES)
            return "no permission to open it (is your user in the dialout group?)";
        if (errno == EBUSY)
            return "is in use by another program";
        return std::string("cannot be opened: ") + std::strerror(errno);
    }
    termios line{};
    const bool terminal = ::tcgetattr(fd, &line) == 0;
    ::close(fd);
    return terminal ? std::string() : "is not a terminal (not a serial port)";
}

} // namespace radioserver
