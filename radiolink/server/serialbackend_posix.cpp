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

bool ParseInt(std::string_view text, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

} // namespace

std::optional<LineSettings> ParseLineSettings(std::string_view options, std::string* error) {
    LineSettings settings;
    auto fail = [&](std::string message) -> std::optional<LineSettings> {
        if (error != nullptr)
            *error = std::move(message);
        return std::nullopt;
    };
    for (const auto& [key, text, hasValue, item] : SplitOptions(options)) {
        if (key == "dtr" || key == "rts") {
            if (text != "on" && text != "off")
                return fail(std::string(key) + ": use on or off");
            (key == "dtr" ? settings.Dtr : settings.Rts) = text == "on";
            continue;
        }
        int value = 0;
        if (!hasValue || !ParseInt(text, value))
            return fail("option '" + std::string(item) + "' needs a whole number");
        if (key == "baud") {
            if (!BaudConstant(value))
                return fail("baud: use 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200");
            settings.Baud = value;
        } else if (key == "timeout" && value >= 10 && value <= 60000) {
            settings.ResponseTimeout = std::chrono::milliseconds(value);
        } else if (key == "gap" && value >= 5 && value <= 10000) {
            settings.ByteTimeout = std::chrono::milliseconds(value);
        } else {
            return fail("unknown or out-of-range line option '" + std::string(item) + "'");
        }
    }
    return settings;
}

SerialBackend::SerialBackend(std::string device, const LineSettings& settings)
    : device_(std::move(device)), settings_(settings) {}

SerialBackend::~SerialBackend() {
    Close();
}

std::uint32_t SerialBackend::Open() {
    if (fd_ >= 0)
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
    fd_ = fd;
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
        if (lines == 0 || ::ioctl(fd_, request, &lines) == 0)
            continue;
        if (errno != ENOTTY && errno != EINVAL)
            return false;
    }
    return true;
}

void SerialBackend::Close() {
    if (fd_ < 0)
        return;
    // The exclusive flag belongs to the terminal, not to this descriptor: on
    // a pseudo-terminal it outlives the close and would turn away the next
    // opener that is not root (the next call of the same run).
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_); // also drops the lock
    fd_ = -1;
}

std::uint32_t SerialBackend::WriteFrame(std::span<const std::uint8_t> request) {
    std::size_t written = 0;
    const auto deadline = Clock::now() + settings_.ResponseTimeout;
    while (written < request.size()) {
        const ssize_t n = ::write(fd_, request.data() + written, request.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return ServerResult::WriteFailure;
        pollfd waitFor{fd_, POLLOUT, 0};
        if (::poll(&waitFor, 1, MillisecondsUntil(deadline)) <= 0 && Clock::now() >= deadline)
            return ServerResult::WriteFailure;
    }
    return 0;
}

bool SerialBackend::ReadByte(std::uint8_t& byte, Clock::time_point deadline) {
    for (;;) {
        if (inputNext_ < inputEnd_) {
            byte = input_[inputNext_++];
            return true;
        }
        const ssize_t n = ::read(fd_, input_.data(), input_.size());
        if (n > 0) {
            inputNext_ = 0;
            inputEnd_ = static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        const int wait = MillisecondsUntil(deadline);
        if (wait == 0)
            return false;
        pollfd waitFor{fd_, POLLIN, 0};
        const int ready = ::poll(&waitFor, 1, wait);
        if (ready < 0 && errno != EINTR)
            return false;
        // A hung-up line (the other end closed) answers nothing more.
        if (ready > 0 && (waitFor.revents & (POLLHUP | POLLERR)) != 0 &&
            (waitFor.revents & POLLIN) == 0)
            return false;
    }
}

std::uint32_t SerialBackend::Send(std::span<const std::uint8_t> request) {
    if (fd_ < 0)
        return ServerResult::PortConfig;
    if (const auto result = WriteFrame(request); result != 0)
        return result;
    ::tcdrain(fd_);
    return 0;
}

std::uint32_t SerialBackend::Transact(std::span<const std::uint8_t> request,
                                      std::span<std::uint8_t> reply, std::size_t& replyLength) {
    replyLength = 0;
    if (fd_ < 0)
        return ServerResult::PortConfig;
    // A late reply to an earlier request is stale.
    ::tcflush(fd_, TCIFLUSH);
    inputNext_ = inputEnd_ = 0;
    if (const auto result = WriteFrame(request); result != 0)
        return result;

    ReplyFramer framer(request, reply);
    // The board has the response timeout to begin its reply; once bytes
    // arrive, each further byte must follow within the inter-byte timeout,
    // and a longer pause ends the burst.
    const auto responseDeadline = Clock::now() + settings_.ResponseTimeout;
    std::uint8_t byte = 0;
    for (;;) {
        const auto deadline =
            framer.InBurst() ? Clock::now() + settings_.ByteTimeout : responseDeadline;
        if (!ReadByte(byte, deadline)) {
            if (!framer.InBurst())
                return framer.SawBytes() ? ServerResult::ReadWriteFailure
                                         : ServerResult::NotConnected;
            const auto state = framer.Pause();
            if (state == ReplyFramer::State::Complete)
                break;
            if (state == ReplyFramer::State::Failed)
                return ServerResult::ReadWriteFailure;
            continue; // noise, forgotten; the reply may still come
        }
        const auto state = framer.Feed(byte);
        if (state == ReplyFramer::State::Complete)
            break;
        if (state == ReplyFramer::State::Failed)
            return ServerResult::ReadWriteFailure;
    }
    replyLength = framer.Length();
    return 0;
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
