// The exports of tarvoDLL against a scripted server registered under the
// server's class identifier: call sequence, port mapping, initialisation and
// the guards around the frame buffers.
#include "radiolink/frame.h"
#include "radiolink/radiolink.h"
#include "radiolink/tarvodll.h"

#include "support/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct ScriptedReply {
    HRESULT Result = S_OK;
    std::vector<std::uint8_t> Frame;
};

// Everything the scripted server saw, as readable lines, plus the frames.
struct ServerLog {
    std::vector<std::string> Calls;
    std::vector<std::vector<std::uint8_t>> Requests;
    std::deque<ScriptedReply> Replies;
    HRESULT OpenResult = S_OK;
    int Live = 0; // server objects not yet released
};

ServerLog logbook;

class ScriptedServer final : public IRadioLink {
  public:
    ScriptedServer() { ++logbook.Live; }
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IRadioLink || iid == IID_IUnknown) {
            *object = static_cast<IRadioLink*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        if (--references_ == 0) {
            --logbook.Live;
            delete this;
            return 0;
        }
        return references_;
    }
    HRESULT Open(const char* port, std::int32_t) override {
        logbook.Calls.push_back(std::string("Open ") + port);
        return logbook.OpenResult;
    }
    HRESULT Close() override {
        logbook.Calls.push_back("Close");
        return S_OK;
    }
    HRESULT Send(TLinkBuffer* request) override {
        logbook.Calls.push_back("Send");
        logbook.Requests.emplace_back(request->Data, request->Data + request->Used - 1);
        return logbook.Replies.empty() ? S_OK : Next(nullptr);
    }
    HRESULT Transact(TLinkBuffer* request, TLinkBuffer* reply) override {
        logbook.Calls.push_back("Transact");
        logbook.Requests.emplace_back(request->Data, request->Data + request->Used - 1);
        return Next(reply);
    }

  private:
    ~ScriptedServer() = default;
    HRESULT Next(TLinkBuffer* reply) {
        if (logbook.Replies.empty())
            return AsHresult(ServerResult::NotConnected);
        auto next = logbook.Replies.front();
        logbook.Replies.pop_front();
        if (reply != nullptr) {
            std::copy(next.Frame.begin(), next.Frame.end(), reply->Data);
            reply->Used = 99; // the library must not rely on it
        }
        return next.Result;
    }
    ULONG references_ = 1;
};

class ScriptedFactory final : public IClassFactory {
  public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IClassFactory || iid == IID_IUnknown) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++references; }
    ULONG Release() override { return --references; }
    HRESULT CreateInstance(IUnknown*, REFIID iid, void** object) override {
        auto* server = new ScriptedServer;
        const HRESULT hr = server->QueryInterface(iid, object);
        server->Release();
        return hr;
    }
    HRESULT LockServer(bool) override { return S_OK; }
    ULONG references = 1;
};

ScriptedFactory factory;
DWORD cookie = 0;

std::vector<std::uint8_t> BoardReply(std::vector<std::uint8_t> body) {
    std::vector<std::uint8_t> reply = {0xFF, 0x8F, 0x00,
                                       static_cast<std::uint8_t>(body.size() + 2)};
    for (const std::uint8_t byte : body)
        reply.push_back(byte);
    reply.push_back(frame::BodyChecksum(body.data(), body.size()));
    reply.push_back(frame::LinkCheck(reply.data(), reply.size()));
    return reply;
}

ScriptedReply WriteAck() {
    return {S_OK, BoardReply({0x43, 0x13, 0x01, 0x00, 0x00})};
}

void Reset() {
    logbook.Calls.clear();
    logbook.Requests.clear();
    logbook.Replies.clear();
    logbook.OpenResult = S_OK;
}

// The scripted server is registered for the whole program, as a loaded
// server library would be.
const bool registered = CoRegisterClassObject(CLSID_RadioLinkServer, &factory, CLSCTX_INPROC_SERVER,
                                              REGCLS_MULTIPLEUSE, &cookie) == S_OK;

using Calls = std::vector<std::string>;

} // namespace

// The library's initialised state lasts for the whole process: this test
// holds only while it runs first (CTest runs every test in its own process).
TEST(Exports, BeforeInitialisationEveryRadioCallReturnsOneWithoutTheServer) {
    ASSERT_TRUE(registered);
    Reset();
    unsigned char buffer[100] = {};
    char esn[10];
    EXPECT_EQ(ReadData(1, buffer, 0, 16), 1);
    EXPECT_EQ(WriteData(1, buffer, 0, 16, 1), 1);
    EXPECT_EQ(Ping_Opt_Board(1, buffer), 1);
    EXPECT_EQ(Get_ESN(1, esn), 1);
    EXPECT_EQ(ResetRadio(1), 1);
    EXPECT_EQ(SetTestMode(1), 1);
    EXPECT_TRUE(logbook.Calls.empty());
}

TEST(Exports, TarvoDllInitResults) {
    EXPECT_EQ(TarvoDllInit("KX720", "TQR41VBL2XC7PD", 16, 16), 0);
    EXPECT_EQ(TarvoDllInit("KP720", "TQP41VDK2XC3PD", 16, 16), 0);
    EXPECT_EQ(TarvoDllInit("KP720", "TQR41VBL2XC7PD", 16, 16), 2);
    EXPECT_EQ(TarvoDllInit("KP720", "UNKNOWN", 16, 16), 2);
    EXPECT_EQ(TarvoDllInit("kp720", "TQP41VDK2XC3PD", 16, 16), 1);
    EXPECT_EQ(TarvoDllInit(nullptr, nullptr, 16, 16), 1);
    EXPECT_EQ(fnTarvoDLL(), 42);
    EXPECT_EQ(nTarvoDLL, 0);
}

TEST(Exports, FailedInitKeepsInitialisedButTakesTheNewBlockSizes) {
    ASSERT_EQ(TarvoDllInit("KP720", "TQP41VDK2XC3PD", 16, 16), 0);
    EXPECT_EQ(TarvoDllInit("NOPE", "NOPE", 8, 8), 1);
    Reset();
    logbook.Replies = {WriteAck(), WriteAck()};
    const unsigned char data[16] = {};
    EXPECT_EQ(WriteData(1, data, 0x40, 16, 0), 0);
    ASSERT_EQ(logbook.Requests.size(), 2u);
    EXPECT_EQ(logbook.Requests[1][7], 0x48); // second packet of 8 bytes at 0x48
}

TEST(Exports, ShopModelListIsRead) {
    const auto directory = std::filesystem::temp_directory_path() / "tarvo-models-test";
    std::filesystem::create_directories(directory / "quarvelin");
    std::ofstream(directory / "quarvelin" / "tarvo-models.txt") << "# our radios\nKX999,SHOP1\n";
    {
        ConfigHome config(directory);
        EXPECT_EQ(TarvoDllInit("KX999", "SHOP1", 16, 16), 0);
        EXPECT_EQ(TarvoDllInit("KX999", "SHOP2", 16, 16), 2);
    }
    std::filesystem::remove_all(directory);
    EXPECT_EQ(TarvoDllInit("KX999", "SHOP1", 16, 16), 1);
}

TEST(Exports, PortNumbersMapToPortNames) {
    ASSERT_EQ(TarvoDllInit("KP720", "TQP41VDK2XC3PD", 16, 16), 0);
    const std::pair<std::int32_t, std::string> cases[] = {
        {0, "COM1"}, {5, "COM1"}, {-1, "COM1"}, {1, "COM1"}, {2, "COM2"}, {3, "COM3"}, {4, "COM4"}};
    for (const auto& [port, name] : cases) {
        Reset();
        EXPECT_EQ(ResetRadio(port), 0);
        EXPECT_EQ(logbook.Calls, (Calls{"Open " + name, "Send", "Close"})) << port;
        EXPECT_EQ(logbook.Requests.back(), (std::vector<std::uint8_t>{0xF1, 0x10}));
    }
    EXPECT_EQ(logbook.Live, 0) << "every server object is released";
}

TEST(Exports, FailedOpenIsMappedAndStillClosed) {
    ASSERT_EQ(TarvoDllInit("KP720", "TQP41VDK2XC3PD", 16, 16), 0);
    Reset();
    logbook.OpenResult = AsHresult(ServerResult::PortInUse);
    EXPECT_EQ(ResetRadio(2), 3);
    EXPECT_EQ(logbook.Calls, (Calls{"Open COM2", "Close"}));
    logbook.OpenResult = AsHresult(0xECEC0001);
    EXPECT_EQ(Get_ESN(2, nullptr), 200);
    EXPECT_EQ(logbook.Live, 0);
}

TEST(Exports, WriteSendsPacketsAndResetsOnlyAfterSuccess) {
    ASSERT_EQ(TarvoDllInit("KP720", "TQP41VDK2XC3PD", 16, 16), 0);
    unsigned char data[40];
    for (int i = 0; i < 40; ++i)
        data[i] = static_cast<unsigned char>(i);
    Reset();
    logbook.Replies = {WriteAck(), WriteAck(), WriteAck()};
    EXPECT_EQ(WriteData(4, data, 0x0100, 40, 1), 0);
    EXPECT_EQ(logbook.Calls, (Calls{"Open COM4", "Transact", "Transact", "Transact", "Close",
                                    "Open COM4", "Send", "Close"}));
    std::vector<std::uint8_t> third{0xFF, 0x2F, 0x00, 0x0E, 0x44, 0x0B, 0x01, 0x20,
                                    32,   33,   34,   35,   36,   37,   38,   39};
    third.push_back(frame::BodyChecksum(third.data() + 4, third.size() - 4));
    EXPECT_EQ(logbook.Requests[2], third);

    Reset();
    logbook.Replies = {WriteAck(), {S_OK, BoardReply({0x43, 0x13, 0x00, 0x00, 0x10})}};
    EXPECT_EQ(WriteData(1, data, 0, 40, 1), 11);
    EXPECT_EQ(logbook.Calls, (Calls{"Open COM1", "Transact", "Transact", "Close"}));
}

TEST(Exports, UnusableSizesAreRefusedBeforeTheFrameBuffers) {
    unsigned char data[128] = {};
    const struct {
        std::int32_t read, write, count;
        std::int32_t readResult, writeResult;
    } cases[] = {{0, 0, 16, 1, 1}, {57, 58, 16, 1, 1}, {56, 57, 0, 0, 0}, {16, 16, -1, 1, 1}};
    for (const auto& c : cases) {
        ASSERT_EQ(TarvoDllInit("KP720", "TQP41VDK2XC3PD", c.read, c.write), 0);
        Reset();
        logbook.Replies = {WriteAck(), {S_OK, BoardReply({0x43, 0x03, 0x03, 0, 0})}};
        EXPECT_EQ(WriteData(1, data, 0, c.count, 0), c.writeResult) << c.write;
        EXPECT_EQ(ReadData(1, data, 0, c.count), c.readResult) << c.read;
        if (c.writeResult == 1 && c.readResult == 1) {
            EXPECT_TRUE(logbook.Calls.empty());
        }
    }
}

TEST(Exports, PingAndEsnHandTheReplyOver) {
    ASSERT_EQ(TarvoDllInit("KP720", "TQP41VDK2XC3PD", 16, 16), 0);
    Reset();
    logbook.Replies = {{S_OK, BoardReply({0x44, 0x01, 0x10})}};
    unsigned char board[100] = {};
    EXPECT_EQ(Ping_Opt_Board(1, board), 0);
    EXPECT_EQ(board[0], 0x01);
    EXPECT_EQ(board[1], 0x10);
    EXPECT_EQ(logbook.Requests[0],
              (std::vector<std::uint8_t>{0xFF, 0x2F, 0x00, 0x06, 0x45, 0x00, 0x00, 0x00, 0xBB}));

    std::vector<std::uint8_t> esnReply{0xFC, 0x8B, 0x01, '0', '1', '2', '3',
                                       '4',  '5',  '6',  '7', '8', '9'};
    esnReply.push_back(frame::LinkCheck(esnReply.data(), esnReply.size()));
    Reset();
    logbook.Replies = {{S_OK, esnReply}};
    char esn[11] = "xxxxxxxxxx";
    EXPECT_EQ(Get_ESN(1, esn), 0);
    EXPECT_EQ(std::string(esn), "0123456789");
    EXPECT_EQ(logbook.Calls, (Calls{"Open COM1", "Transact", "Close"}));
}

TEST(Exports, ServerFailuresOnTransactAreMapped) {
    ASSERT_EQ(TarvoDllInit("KP720", "TQP41VDK2XC3PD", 16, 16), 0);
    unsigned char data[16] = {};
    Reset();
    logbook.Replies = {{AsHresult(ServerResult::NotConnected), {}}};
    EXPECT_EQ(ReadData(1, data, 0, 16), 4);
    Reset();
    logbook.Replies = {{AsHresult(0xECEC0006), {}}};
    EXPECT_EQ(SetTestMode(1), 6);
}

// Runs last: with the class object revoked, nothing can be created.
TEST(Exports, WithoutARegisteredServerEveryRadioCallReturnsHundred) {
    ASSERT_EQ(TarvoDllInit("KP720", "TQP41VDK2XC3PD", 16, 16), 0);
    ASSERT_EQ(CoRevokeClassObject(cookie), S_OK);
    Reset();
    unsigned char buffer[100] = {};
    char esn[10];
    EXPECT_EQ(ReadData(1, buffer, 0, 16), 100);
    EXPECT_EQ(WriteData(1, buffer, 0, 16, 1), 100);
    EXPECT_EQ(Ping_Opt_Board(1, buffer), 100);
    EXPECT_EQ(Get_ESN(1, esn), 100);
    EXPECT_EQ(ResetRadio(1), 100);
    EXPECT_EQ(SetTestMode(1), 100);
    EXPECT_TRUE(logbook.Calls.empty());
    EXPECT_EQ(factory.references, 1u);
}
