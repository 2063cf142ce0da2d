// One suite for both transports of the radio communications server: the
// built-in simulator in-process, and the serial backend talking termios to
// tarvo-sim on a pseudo-terminal. Then the failures only a real line has.
#include "radiolink/frame.h"
#include "radiolink/protocol.h"
#include "radiolink/radiolink.h"
#include "radiolink/server/backend.h"
#include "radiolink/server/portmap.h"
#include "radiolink/server/radioserver.h"
#include "radiolink/server/serialbackend.h"
#include "radiolink/sim/optionboard.h"
#include "radiolink/tarvodll.h"
#include "support/simprocess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

std::vector<unsigned char> Pattern(std::size_t size, unsigned seed) {
    std::vector<unsigned char> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>((i * 53 + seed) & 0xFF);
    return bytes;
}

// The simulator in this process.
class InProcessBoard {
  public:
    explicit InProcessBoard(const std::string& esn) {
        setenv("TARVO_COM2", ("sim:esn=" + esn).c_str(), 1);
    }
    ~InProcessBoard() { unsetenv("TARVO_COM2"); }
    std::vector<unsigned char> Memory() {
        const auto memory = radioserver::SimulatedBoard("COM2")->Memory();
        return {memory.begin(), memory.end()};
    }
};

// tarvo-sim in a child process, reached through its pseudo-terminal.
class PtyBoard {
  public:
    explicit PtyBoard(const std::string& esn)
        : memoryFile_(testing::TempDir() + "tarvo-sim-memory-" + std::to_string(getpid())),
          simulator_({"--esn", esn, "--memory-out", memoryFile_}) {
        setenv("TARVO_COM2", simulator_.Device().c_str(), 1);
    }
    ~PtyBoard() {
        simulator_.Stop();
        unsetenv("TARVO_COM2");
        std::remove(memoryFile_.c_str());
    }
    std::vector<unsigned char> Memory() {
        simulator_.Stop();
        std::ifstream file(memoryFile_, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }

  private:
    std::string memoryFile_;
    SimProcess simulator_;
};

template <typename Board> class TransportTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(TarvoDllInit("KX720", "TQR41VBL2XC7PD", 16, 16), 0); }
};

using Boards = ::testing::Types<InProcessBoard, PtyBoard>;
TYPED_TEST_SUITE(TransportTest, Boards);

TYPED_TEST(TransportTest, FullImageWrittenReadBackAndRadioCommands) {
    TypeParam board("ESN4711XYZ");
    char esn[10];
    EXPECT_EQ(ResetRadio(2), 0);
    ASSERT_EQ(Get_ESN(2, esn), 0);
    EXPECT_EQ(std::string(esn, 10), "ESN4711XYZ");
    unsigned char reply[100] = {};
    EXPECT_EQ(Ping_Opt_Board(2, reply), 0);

    const auto image = Pattern(2256, 11);
    for (int offset = 0; offset < 2256; offset += 128)
        ASSERT_EQ(WriteData(2, image.data() + offset, offset, std::min(128, 2256 - offset), 0), 0);
    std::vector<unsigned char> back(2256);
    ASSERT_EQ(ReadData(2, back.data(), 0, 2256), 0);
    EXPECT_EQ(back, image);
    EXPECT_EQ(board.Memory(), image);
}

// A pseudo-terminal whose far side the test itself plays.
class ScriptedLine {
  public:
    ScriptedLine() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(master_);
        unlockpt(master_);
        device_ = ptsname(master_);
        termios line{};
        const int slave = open(device_.c_str(), O_RDWR | O_NOCTTY);
        tcgetattr(slave, &line);
        cfmakeraw(&line);
        tcsetattr(slave, TCSANOW, &line);
        keepAlive_ = slave;
    }
    ~ScriptedLine() {
        if (peer_.joinable())
            peer_.join();
        close(keepAlive_);
        close(master_);
    }
    const std::string& Device() const { return device_; }
    // Answers the next request with these bytes.
    void AnswerWith(std::vector<std::uint8_t> bytes) {
        peer_ = std::thread([this, bytes] {
            pollfd waitFor{master_, POLLIN, 0};
            if (poll(&waitFor, 1, 2000) <= 0)
                return;
            std::uint8_t request[80];
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            [[maybe_unused]] auto got = read(master_, request, sizeof request);
            [[maybe_unused]] auto put = write(master_, bytes.data(), bytes.size());
        });
    }

  private:
    int master_ = -1;
    int keepAlive_ = -1;
    std::string device_;
    std::thread peer_;
};

std::vector<std::uint8_t> Request(std::vector<std::uint8_t> bytes) {
    bytes.push_back(frame::LinkCheck(bytes.data(), bytes.size()));
    return bytes;
}

const std::vector<std::uint8_t> kReadRequest =
    Request({0xFF, 0x2F, 0x00, 0x06, 0x45, 0x00, 0x00, 0x04, 0xB7});
const std::vector<std::uint8_t> kEsnRequest = Request({0xF2, 0x23, 0x01});
const std::vector<std::uint8_t> kTestModeRequest = Request({0xF4, 0x22, 0x01, 0x00, 0x00});

std::vector<std::uint8_t> GoodReadReply() {
    return sim::OptionBoard().Answer(kReadRequest);
}

// Exchanges one request through the serial backend directly, timing it.
struct Outcome {
    std::uint32_t open = 0;
    std::uint32_t transact = 0;
    std::chrono::milliseconds took{};
    std::size_t length = 0;
    std::array<std::uint8_t, 67> reply{};
};

Outcome ExchangeOnce(const std::string& device,
                     const std::vector<std::uint8_t>& request = kReadRequest,
                     const std::string& options = "timeout=300,gap=50") {
    std::string error;
    radioserver::SerialBackend backend(device, *radioserver::ParseLineSettings(options, &error));
    Outcome outcome;
    outcome.open = backend.Open();
    if (outcome.open != 0)
        return outcome;
    const auto start = std::chrono::steady_clock::now();
    outcome.transact = backend.Transact(request, outcome.reply, outcome.length);
    outcome.took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return outcome;
}

// After any exchange the port must be free again for the next opener, also
// for one that is not root: neither the lock nor the exclusive flag stays.
bool PortIsFree(const std::string& device) {
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    int exclusive = 1;
    const bool free = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                      ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive == 0;
    if (fd >= 0)
        close(fd);
    return free;
}

} // namespace

TEST(SerialLine, MissingDeviceOrNotASerialPortIsAConfigurationError) {
    EXPECT_EQ(ExchangeOnce("/dev/does-not-exist").open, ServerResult::PortConfig);
    EXPECT_EQ(ExchangeOnce("/dev/null").open, ServerResult::PortConfig);
}

TEST(SerialLine, PortHeldByAnotherOpenerIsInUse) {
    ScriptedLine line;
    const int holder = open(line.Device().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(ExchangeOnce(line.Device()).open, ServerResult::PortInUse);
    close(holder);
    EXPECT_TRUE(PortIsFree(line.Device()));
}

TEST(SerialLine, NobodyAnsweringIsNotConnectedWithinTheTimeout) {
    ScriptedLine line;
    const auto outcome = ExchangeOnce(line.Device());
    EXPECT_EQ(outcome.transact, ServerResult::NotConnected);
    EXPECT_GE(outcome.took.count(), 250);
    EXPECT_LT(outcome.took.count(), 1500);
    EXPECT_TRUE(PortIsFree(line.Device()));
}

// What arrives on the line, what the server makes of it, and what the
// library's checks then say: every frame that came whole reaches the checks.
TEST(SerialLine, RepliesOnTheLineAndTheCodesTheyGive) {
    const auto good = GoodReadReply();
    auto cut = good;
    cut.resize(cut.size() - 3);
    std::vector<std::uint8_t> overflow{0xFF, 0x8F, 0x00, 0x50, 0x43};
    overflow.resize(80, 0x00);
    auto badHeader = good;
    badHeader[2] = 0x01;
    auto noiseThenGood = std::vector<std::uint8_t>{0x00, 0x13, 0xFF, 0x8E, 0x55};
    noiseThenGood.insert(noiseThenGood.end(), good.begin(), good.end());
    auto badEsn = sim::OptionBoard().Answer(kEsnRequest);
    badEsn[2] = 0x02;
    const struct {
        const char* name;
        std::vector<std::uint8_t> request;
        std::vector<std::uint8_t> line;
        std::uint32_t server;
        std::int32_t code; // the library's verdict when the server delivered a reply
    } cases[] = {
        {"good reply", kReadRequest, good, 0, 0},
        {"noise before a frame is skipped", kReadRequest, noiseThenGood, 0, 0},
        {"a frame that breaks off", kReadRequest, cut, ServerResult::ReadWriteFailure, 8},
        {"a length beyond 67 bytes", kReadRequest, overflow, 0, tarvo::code::InvalidPacket},
        {"FF 8F 01 header", kReadRequest, badHeader, 0, tarvo::code::NoResponse},
        {"a short burst of noise only",
         kReadRequest,
         {0x13, 0x37},
         ServerResult::ReadWriteFailure,
         8},
        {"ESN reply with a wrong header", kEsnRequest, badEsn, 0, tarvo::code::InvalidPacket},
        {"any test-mode reply", kTestModeRequest, {0xF4, 0x22}, 0, 0},
    };
    for (const auto& c : cases) {
        ScriptedLine line;
        line.AnswerWith(c.line);
        const auto outcome = ExchangeOnce(line.Device(), c.request);
        EXPECT_EQ(outcome.transact, c.server) << c.name;
        EXPECT_LT(outcome.took.count(), 1500) << c.name;
        EXPECT_TRUE(PortIsFree(line.Device())) << c.name;
        if (c.server != 0) {
            EXPECT_EQ(tarvo::MapServerResult(c.server), c.code) << c.name;
            continue;
        }
        std::uint8_t data[4];
        char esn[10];
        const std::int32_t code =
            c.request == kEsnRequest        ? tarvo::CheckEsnReply(outcome.reply.data(), esn)
            : c.request == kTestModeRequest ? 0
                                            : tarvo::CheckDataReply(outcome.reply.data(), data, 4);
        EXPECT_EQ(code, c.code) << c.name;
    }
}

TEST(SerialLine, TheCableLinesStayAsTheyAreWhenThePortCloses) {
    ScriptedLine line;
    ASSERT_EQ(ExchangeOnce(line.Device(), kReadRequest, "timeout=20").open, 0u);
    termios settings{};
    const int fd = open(line.Device().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_EQ(tcgetattr(fd, &settings), 0);
    close(fd);
    EXPECT_EQ(settings.c_cflag & HUPCL, 0u) << "closing would drop DTR and RTS";
}

TEST(SerialLine, LineOptions) {
    std::string error;
    const auto defaults = radioserver::ParseLineSettings("", &error);
    ASSERT_TRUE(defaults);
    EXPECT_TRUE(defaults->Dtr);
    EXPECT_TRUE(defaults->Rts);
    const auto lowered = radioserver::ParseLineSettings("dtr=off,baud=19200,rts=off", &error);
    ASSERT_TRUE(lowered);
    EXPECT_FALSE(lowered->Dtr);
    EXPECT_FALSE(lowered->Rts);
    EXPECT_EQ(lowered->Baud, 19200);
    for (const char* bad : {"dtr=1", "rts", "baud=12345", "gap=1", "parity=even"}) {
        EXPECT_FALSE(radioserver::ParseLineSettings(bad, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(SerialLine, DeviceNamesMayHoldColons) {
    const struct {
        const char* value;
        const char* device;
        const char* options;
        bool simulator;
    } cases[] = {
        {"/dev/ttyUSB0", "/dev/ttyUSB0", "", false},
        {"/dev/ttyUSB0:baud=19200,dtr=off", "/dev/ttyUSB0", "baud=19200,dtr=off", false},
        {"/dev/serial/by-path/pci-0000:00:14.0-usb-0:1:1.0-port0",
         "/dev/serial/by-path/pci-0000:00:14.0-usb-0:1:1.0-port0", "", false},
        {"/dev/serial/by-path/pci-0000:00:14.0-usb-0:1:1.0-port0:rts=off",
         "/dev/serial/by-path/pci-0000:00:14.0-usb-0:1:1.0-port0", "rts=off", false},
        {"sim", "", "", true},
        {"sim:fault=nak,after=3", "", "fault=nak,after=3", true},
    };
    for (const auto& c : cases) {
        const auto target = radioserver::ParsePortValue(c.value);
        EXPECT_EQ(target.Device, c.device) << c.value;
        EXPECT_EQ(target.Options, c.options) << c.value;
        EXPECT_EQ(target.Simulator, c.simulator) << c.value;
    }
}

// The user's port map chooses a port's device unless TARVO_COMn is set;
// lines that are not "COMn=VALUE" for COM1..COM4 are passed over.
TEST(SerialLine, ThePortMapChoosesTheDeviceAndTheVariableWins) {
    const std::string config = testing::TempDir() + "portmap-config";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const std::filesystem::path file = radioserver::PortMapLocation();
    ASSERT_EQ(file, std::filesystem::path(config) / "quarvelin" / "ports");
    std::string error;
    ASSERT_TRUE(
        radioserver::WritePortMap({"", "/dev/serial/by-id/usb-FTDI-if00-port0", "", ""}, error))
        << error;
    {
        std::ofstream out(file, std::ios::app);
        out << "COM3=sim:esn=MAPPED0003\r\nCOM5=sim\nCOM0=sim\n# COM4=sim\ncom4=sim\n";
    }
    EXPECT_EQ(radioserver::ReadPortMap(),
              (radioserver::PortMap{"", "/dev/serial/by-id/usb-FTDI-if00-port0",
                                    "sim:esn=MAPPED0003", ""}));
    const auto com2 = radioserver::ResolvePort("COM2");
    EXPECT_EQ(com2->Device, "/dev/serial/by-id/usb-FTDI-if00-port0");
    EXPECT_EQ(com2->Source, file.string());
    const auto com3 = radioserver::ResolvePort("COM3");
    EXPECT_TRUE(com3->Simulator);
    EXPECT_EQ(com3->Options, "esn=MAPPED0003");
    EXPECT_EQ(radioserver::ResolvePort("COM4")->Source, "default");
    setenv("TARVO_COM2", "sim", 1);
    EXPECT_TRUE(radioserver::ResolvePort("COM2")->Simulator);
    EXPECT_EQ(radioserver::ResolvePort("COM2")->Source, "TARVO_COM2");
    unsetenv("TARVO_COM2");
    // The mapped simulator answers with the mapped ESN.
    ASSERT_EQ(TarvoDllInit("KX720", "TQR41VBL2XC7PD", 16, 16), 0);
    char esn[10];
    ASSERT_EQ(Get_ESN(3, esn), 0);
    EXPECT_EQ(std::string(esn, 10), "MAPPED0003");

    for (const auto& [value, fault] :
         std::vector<std::pair<std::string, bool>>{{"/dev/ttyUSB7", false},
                                                   {"/dev/ttyUSB7:baud=19200", false},
                                                   {"sim:fault=nak", false},
                                                   {"sim:fault=bogus", true},
                                                   {"/dev/ttyUSB7:baud=12345", true},
                                                   {"/dev/tty\nUSB7", true}})
        EXPECT_EQ(!radioserver::PortValueProblem(value).empty(), fault) << value;
    std::filesystem::remove_all(config);
    unsetenv("XDG_CONFIG_HOME");
}

TEST(SerialLine, ExportsReportTheLineFailureAndLeaveThePortClosed) {
    ScriptedLine line;
    ASSERT_EQ(TarvoDllInit("KX720", "TQR41VBL2XC7PD", 16, 16), 0);
    setenv("TARVO_COM2", (line.Device() + ":timeout=200").c_str(), 1);
    unsigned char reply[100];
    EXPECT_EQ(Ping_Opt_Board(2, reply), 4);
    EXPECT_TRUE(PortIsFree(line.Device()));
    setenv("TARVO_COM2", (line.Device() + ":baud=12345").c_str(), 1);
    EXPECT_EQ(Ping_Opt_Board(2, reply), 2);
    unsetenv("TARVO_COM2");
}
