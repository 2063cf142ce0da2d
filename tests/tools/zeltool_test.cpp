// zeltool end to end: programs over the serial backend into tarvo-sim on a
// pseudo-terminal, verifies, and exchanges documents as JSON.
#include "document/zelfile.h"
#include "exchange/csv.h"
#include "programming/sha256.h"
#include "support/simprocess.h"
#include "support/testdata.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string output; // standard output and error together
};

// Standard input for zeltool: nothing, and no terminal to prompt on.
const char* const kNoInput = "/dev/null";

Outcome Zeltool(const std::string& arguments, const std::string& environment = "") {
    const fs::path log =
        fs::path(testing::TempDir()) / ("zeltool-" + std::to_string(getpid()) + ".log");
    const std::string command = environment + " " + ProgramBesideThisOne("zeltool") + " " +
                                arguments + " <" + kNoInput + " >" + log.string() + " 2>&1";
    const int raw = std::system(command.c_str());
    std::ifstream in(log);
    Outcome outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
                    {std::istreambuf_iterator<char>(in), {}}};
    fs::remove(log);
    return outcome;
}

std::vector<char> Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// tarvo-sim in a child process; its board memory lands in a file on exit.
class Simulator {
  public:
    explicit Simulator(std::vector<std::string> options)
        : memory_(fs::path(testing::TempDir()) / ("sim-memory-" + std::to_string(getpid()))),
          process_(WithMemoryFile(std::move(options), memory_)) {}
    std::string Environment(int port = 2) const {
        return "TARVO_COM" + std::to_string(port) + "=" + process_.Device();
    }
    const std::string& Device() const { return process_.Device(); }
    void NextBoard() const { process_.NextBoard(); }
    std::vector<char> Memory() {
        process_.Stop();
        return Bytes(memory_);
    }

  private:
    static std::vector<std::string> WithMemoryFile(std::vector<std::string> options,
                                                   const fs::path& memory) {
        options.insert(options.begin(), {"--memory-out", memory.string()});
        return options;
    }
    fs::path memory_;
    SimProcess process_;
};

const std::string kDemo = std::string(EXAMPLES_DIR) + "/demo.zel";

fs::path Temp(const std::string& name) {
    const fs::path directory = fs::path(testing::TempDir()) / "zeltool-test";
    fs::create_directories(directory);
    return directory / name;
}

// Every zeltool the tests start keeps its programming log in the tests' own
// data folder, never the user's.
class DataFolder final : public testing::Environment {
  public:
    void SetUp() override {
        const fs::path folder = Temp("data-" + std::to_string(getpid()));
        setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
};
testing::Environment* const kDataFolder = testing::AddGlobalTestEnvironment(new DataFolder);

// A fresh data folder for one test's programming log.
fs::path FreshDataFolder(const std::string& name) {
    const fs::path folder = Temp(name);
    fs::remove_all(folder);
    return folder;
}

// The rows of the programming log in `data`, read as CSV, the heading first.
std::vector<CsvRecord> LogRows(const fs::path& data, const std::string& options = "") {
    const Outcome listed = Zeltool("log --csv " + options, "XDG_DATA_HOME=" + data.string());
    std::string error;
    const auto table = ParseCsv(listed.output, error);
    EXPECT_TRUE(listed.status == 0 && table) << listed.output << error;
    return table ? table->Records : std::vector<CsvRecord>{};
}

// The value of `column` in a row of the log.
std::string Column(const std::vector<CsvRecord>& rows, std::size_t row, const std::string& column) {
    const auto& heading = rows.front();
    const auto at = std::find(heading.begin(), heading.end(), column) - heading.begin();
    return rows.at(row).at(static_cast<std::size_t>(at));
}

} // namespace

TEST(Zeltool, ProgramsAndVerifiesOverThePseudoTerminal) {
    const fs::path image = Temp("demo.bin");
    ASSERT_EQ(Zeltool("image " + kDemo + " -o " + image.string()).status, 0);
    Simulator simulator({"--esn", "PTY0000007"});
    const auto backups = Temp("backups");
    const Outcome outcome =
        Zeltool("program " + kDemo + " --port 2 --verify --backup " + backups.string(),
                simulator.Environment());
    EXPECT_EQ(outcome.status, 0) << outcome.output;
    EXPECT_NE(outcome.output.find("Radio ESN: PTY0000007"), std::string::npos);
    EXPECT_NE(outcome.output.find("2256 of 2256"), std::string::npos);
    EXPECT_NE(outcome.output.find("Success: Programming completed"), std::string::npos);
    EXPECT_NE(outcome.output.find("Verified"), std::string::npos);
    EXPECT_EQ(simulator.Memory(), Bytes(image));
    ASSERT_TRUE(fs::exists(backups));
    const auto backup = fs::directory_iterator(backups)->path();
    EXPECT_EQ(Bytes(backup), std::vector<char>(2256, static_cast<char>(0xFF)))
        << "the backup holds the board as it was: erased";
}

TEST(Zeltool, VerifyCatchesASilentlyCorruptedByte) {
    Simulator simulator({"--corrupt", "300"});
    const Outcome outcome =
        Zeltool("program " + kDemo + " --port 2 --verify", simulator.Environment());
    EXPECT_EQ(outcome.status, 75) << outcome.output;
    EXPECT_NE(outcome.output.find("Success: Programming completed"), std::string::npos);
    EXPECT_NE(outcome.output.find("address 300 (0x12C): bank record 3, receive groups"),
              std::string::npos)
        << outcome.output;
    EXPECT_NE(outcome.output.find("1 byte(s)"), std::string::npos);
}

TEST(Zeltool, RadioFailuresExitWithTheirCode) {
    Simulator simulator({"--fault", "nak", "--after", "20"});
    const Outcome outcome = Zeltool("program " + kDemo + " --port 2", simulator.Environment());
    EXPECT_EQ(outcome.status, 11) << outcome.output;
    EXPECT_NE(outcome.output.find("Error 11: No ACK from option board"), std::string::npos);
    EXPECT_NE(outcome.output.find("may hold a partial image"), std::string::npos);
    const Outcome missing =
        Zeltool("program " + kDemo + " --port 3", "TARVO_COM3=/dev/nonexistent");
    EXPECT_EQ(missing.status, 2) << missing.output;
    EXPECT_NE(missing.output.find("Error 2: Serial port configuration error"), std::string::npos);
    EXPECT_NE(missing.output.find("COM3 -> /dev/nonexistent: cannot be found"), std::string::npos)
        << "the reason follows the code's text\n"
        << missing.output;
    EXPECT_EQ(missing.output.find("partial image"), std::string::npos)
        << "nothing was written, so nothing is partial";
}

TEST(Zeltool, PortsChecksEveryMapping) {
    Simulator simulator({});
    const Outcome outcome = Zeltool("ports", simulator.Environment() +
                                                 " TARVO_COM1=sim:fault=bogus TARVO_COM3=/dev/null"
                                                 " TARVO_COM4=/dev/nonexistent:dtr=off");
    EXPECT_EQ(outcome.status, 2) << outcome.output;
    for (const char* line :
         {"COM1 -> built-in simulator (fault=bogus)  (TARVO_COM1): fault: unknown kind",
          "(TARVO_COM2): ok", "COM3 -> /dev/null  (TARVO_COM3): is not a terminal",
          "(TARVO_COM4): cannot be found"})
        EXPECT_NE(outcome.output.find(line), std::string::npos) << line << "\n" << outcome.output;
    EXPECT_EQ(
        Zeltool("ports", simulator.Environment() + " TARVO_COM1=sim TARVO_COM3=sim TARVO_COM4=sim")
            .status,
        0);
    // The user's port map names its file as the source of a mapping.
    const fs::path config = Temp("ports-config");
    fs::create_directories(config / "quarvelin");
    std::ofstream(config / "quarvelin" / "ports") << "COM4=sim:esn=MAPPED0004\n";
    const Outcome mapped = Zeltool("ports", "XDG_CONFIG_HOME=" + config.string());
    EXPECT_NE(mapped.output.find("COM4 -> built-in simulator (esn=MAPPED0004)  (" +
                                 (config / "quarvelin" / "ports").string() + "): ok"),
              std::string::npos)
        << mapped.output;
}

TEST(Zeltool, JsonRoundTripBuildsTheSameImage) {
    const auto json = Temp("demo.json"), again = Temp("again.zel");
    const auto first = Temp("first.bin"), second = Temp("second.bin");
    ASSERT_EQ(Zeltool("export " + kDemo + " -o " + json.string()).status, 0);
    ASSERT_EQ(Zeltool("import " + json.string() + " -o " + again.string()).status, 0);
    ASSERT_EQ(Zeltool("image " + kDemo + " -o " + first.string()).status, 0);
    ASSERT_EQ(Zeltool("image " + again.string() + " -o " + second.string()).status, 0);
    EXPECT_EQ(Bytes(first), Bytes(second));
    EXPECT_EQ(Bytes(first).size(), 2256u);
}

TEST(Zeltool, InvalidJsonIsRefusedNamingThePathAndWritesNothing) {
    const struct {
        const char* json;
        const char* message;
    } cases[] = {
        {R"({"banks":[{"ptt":{"pagingCode":"40-1234"}}]})", "/banks/0/ptt/pagingCode"},
        {R"({"sites":[{"name":"A","channels":[{"receiveFrequency":"1200","transmitFrequency":"450"}]}]})",
         "/sites/0/channels/0/receiveFrequency"},
        {R"({"speedDial":[{"route":5}]})", "/speedDial/0/route"},
        {R"({"banks":[{"site":0}]})", "/banks/0/site"},
        {R"({"general":{"verifyESN":true}})", "/general/verifyESN: is not a field here"},
        {R"({"product":{"productName":"KX720","modelNumber":"NOPE"}})", "/product"},
        {R"({"sites":[{"name":"x","channels":[{"receiveFrequency":"450","transmitFrequency":"450","transmitCtcss":"68.0"}]}]})",
         "/sites/0/channels/0/transmitCtcss"},
        {R"({"banks": [)", "not valid JSON"},
        // Numbers beyond a field's type are refused, not wrapped.
        {R"({"speedDial":[{"route":4294967299}]})", "/speedDial/0/route"},
        {R"({"speedDial":[{"route":-4294967295}]})", "/speedDial/0/route"},
        {R"({"sites":[{"name":"A"},{"name":"B"}],"banks":[{"site":4294967297}]})", "/banks/0/site"},
        {R"({"sites":[{"name":"A"}],"banks":[{"site":18446744073709551615}]})", "/banks/0/site"},
        // A key given twice is refused wherever it stands.
        {R"({"sites":[{"name":"A"},{"name":"B","name":"C"}]})",
         "/sites/1/name: is given more than once"},
        {R"({"banks":[],"banks":[]})", "/banks: is given more than once"},
        // A character that no byte of the document stands for.
        {R"({"sites":[{"name":"Hafen \u0436"}]})", "/sites/0/name: character 7"},
        {"{\"banks\":[{\"name\":\"\xD0\xB6\"}]}", "/banks/0/name: character 1"},
    };
    for (const auto& c : cases) {
        const auto input = Temp("bad.json"), output = Temp("bad.zel");
        std::ofstream(input) << c.json;
        fs::remove(output);
        const Outcome outcome = Zeltool("import " + input.string() + " -o " + output.string());
        EXPECT_EQ(outcome.status, 65) << c.json;
        EXPECT_NE(outcome.output.find(c.message), std::string::npos) << outcome.output;
        EXPECT_FALSE(fs::exists(output)) << c.json;
    }
}

TEST(Zeltool, UsageAndUnreadableFiles) {
    EXPECT_EQ(Zeltool("frobnicate").status, 64);
    EXPECT_EQ(Zeltool("program").status, 64);
    const auto junk = Temp("junk.zel");
    std::ofstream(junk) << "not a document at all";
    const Outcome outcome = Zeltool("show " + junk.string());
    EXPECT_EQ(outcome.status, 66);
    EXPECT_NE(outcome.output.find("Unable to open file"), std::string::npos);
}

namespace {

std::string DataFile(const std::string& name) {
    return TestData(name);
}

fs::path Filled(const std::string& name, char value) {
    const fs::path path = Temp(name);
    std::ofstream(path, std::ios::binary) << std::string(2256, value);
    return path;
}

} // namespace

// A board holding an image the builder made reads back into a document
// that builds the very same bytes.
TEST(ZeltoolRead, TheGoldenBoardReadsIntoADocumentThatBuildsItAgain) {
    Simulator simulator({"--memory-in", DataFile("golden.bin")});
    const fs::path read = Temp("golden-read.zel"), image = Temp("golden-read.bin");
    fs::remove(read);
    const Outcome outcome = Zeltool("read --port 2 -o " + read.string(), simulator.Environment());
    ASSERT_EQ(outcome.status, 0) << outcome.output;
    EXPECT_NE(outcome.output.find("note (board): sites: the image holds no site names"),
              std::string::npos);
    ASSERT_EQ(Zeltool("image " + read.string() + " -o " + image.string()).status, 0);
    EXPECT_EQ(Bytes(image), Bytes(DataFile("golden.bin")));
    const Outcome same = Zeltool("diff " + read.string() + " port:2", simulator.Environment());
    EXPECT_EQ(same.status, 0) << same.output;
}

TEST(ZeltoolRead, ABoardOfGarbageIsRefusedUnlessForced) {
    Simulator simulator({"--memory-in", Filled("garbage.bin", 0x5A).string()});
    const fs::path document = Temp("garbage.zel"), raw = Temp("garbage-raw.bin");
    fs::remove(document);
    const Outcome refused =
        Zeltool("read --port 2 -o " + document.string(), simulator.Environment());
    EXPECT_EQ(refused.status, 76) << refused.output;
    EXPECT_NE(refused.output.find("holds bytes that no document makes (--details lists them)"),
              std::string::npos);
    EXPECT_EQ(refused.output.find("header, busy channel detect"), std::string::npos);
    const Outcome detailed =
        Zeltool("read --port 2 --details -o " + document.string(), simulator.Environment());
    EXPECT_EQ(detailed.status, 76);
    EXPECT_NE(detailed.output.find("header, busy channel detect: 5A 5A"), std::string::npos)
        << detailed.output;
    EXPECT_FALSE(fs::exists(document));
    const Outcome forced =
        Zeltool("read --port 2 --force -o " + document.string(), simulator.Environment());
    EXPECT_EQ(forced.status, 0) << forced.output;
    EXPECT_TRUE(fs::exists(document));
    ASSERT_EQ(Zeltool("read --port 2 -o " + raw.string(), simulator.Environment()).status, 0);
    EXPECT_EQ(Bytes(raw), std::vector<char>(2256, 0x5A));
}

TEST(ZeltoolDiff, NamesEachDifferenceAndExitsOneWhenTheyDiffer) {
    const fs::path json = Temp("diff.json"), changed = Temp("diff-changed.zel");
    ASSERT_EQ(Zeltool("export " + kDemo + " -o " + json.string()).status, 0);
    std::ifstream in(json);
    std::string text{std::istreambuf_iterator<char>(in), {}};
    const std::string from = "\"receiveFrequency\": \"451.0625\"";
    ASSERT_NE(text.find(from), std::string::npos) << text;
    text.replace(text.find(from), from.size(), "\"receiveFrequency\": \"451.075\"");
    std::ofstream(json, std::ios::trunc) << text;
    ASSERT_EQ(Zeltool("import " + json.string() + " -o " + changed.string()).status, 0);

    const Outcome documents = Zeltool("diff " + kDemo + " " + changed.string());
    EXPECT_EQ(documents.status, 1) << documents.output;
    EXPECT_NE(documents.output.find(": receive 451.0625 \xE2\x86\x92 451.075"), std::string::npos)
        << documents.output;
    EXPECT_EQ(Zeltool("diff " + kDemo + " " + kDemo).status, 0);

    // Against a board: the board's sites are named after the document's.
    const fs::path image = Temp("diff-demo.bin");
    ASSERT_EQ(Zeltool("image " + kDemo + " -o " + image.string()).status, 0);
    Simulator simulator({"--memory-in", image.string()});
    const Outcome board = Zeltool("diff " + changed.string() + " port:2", simulator.Environment());
    EXPECT_EQ(board.status, 1) << board.output;
    EXPECT_NE(board.output.find(": receive 451.075 \xE2\x86\x92 451.0625"), std::string::npos)
        << board.output;
    EXPECT_EQ(Zeltool("diff " + kDemo + " " + image.string()).status, 0);
    EXPECT_EQ(Zeltool("diff " + kDemo + " /etc/hostname").status, 66);
}

namespace {

// The text with every blank removed, so that a table cell split over lines
// is still found.
std::string Squeezed(std::string text) {
    std::erase_if(text, [](unsigned char c) { return std::isspace(c) != 0; });
    return text;
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

// The customer's sheet holds every site, channel, bank and speed dial.
TEST(ZeltoolReport, PdfAndHtmlHoldTheWholeConfiguration) {
    std::unique_ptr<TBoardData> demo;
    ASSERT_EQ(LoadDocument(kDemo, demo), ZelResult::Ok);
    std::vector<std::string> expected;
    for (const auto& site : demo->Sites) {
        expected.push_back(site->Name.Str());
        for (const auto& channel : site->Channels)
            for (const auto& text : {channel->RxFrequency.Str(), channel->TxFrequency.Str()})
                expected.push_back(text);
    }
    for (const auto& bank : demo->Banks) {
        expected.push_back(bank->Name.Str());
        if (!bank->ReceiveGroups.Empty())
            expected.push_back(bank->ReceiveGroups.Str());
    }
    for (const auto& number : demo->SpeedDial.Number)
        if (!number.Empty())
            expected.push_back(number.Str());
    ASSERT_GT(expected.size(), 20u);

    const fs::path pdf = Temp("sheet.pdf"), html = Temp("sheet.html"), text = Temp("sheet.txt");
    fs::remove(pdf);
    ASSERT_EQ(Zeltool("report " + kDemo + " -o " + pdf.string()).status, 0);
    ASSERT_EQ(std::system(("pdftotext " + pdf.string() + " " + text.string()).c_str()), 0);
    ASSERT_EQ(Zeltool("report " + kDemo + " -o " + html.string()).status, 0);
    const std::string fromPdf = Squeezed(Slurp(text));
    const std::string fromHtml = Slurp(html);
    for (const std::string& item : expected) {
        EXPECT_NE(fromPdf.find(Squeezed(item)), std::string::npos) << "PDF lacks " << item;
        EXPECT_NE(fromHtml.find(item), std::string::npos) << "HTML lacks " << item;
    }
    EXPECT_EQ(Zeltool("report " + kDemo + " -o " + Temp("sheet.doc").string()).status, 64);
}

TEST(ZeltoolFleet, ProgramsEveryPortAtOnceAndSumsUp) {
    const fs::path image = Temp("fleet.bin");
    ASSERT_EQ(Zeltool("image " + kDemo + " -o " + image.string()).status, 0);
    Simulator first({"--esn", "FLEET00001"});
    Simulator second({"--esn", "FLEET00002"});
    Simulator third({"--esn", "FLEET00003"});
    const std::string environment = first.Environment(1) + " " + second.Environment(2) + " " +
                                    third.Environment(3) + " TARVO_COM4=/dev/nonexistent";
    const Outcome outcome =
        Zeltool("program " + kDemo + " --port 1 --port 2 --port 3 --port 4 --verify", environment);
    EXPECT_EQ(outcome.status, 2) << "a port that failed makes the run fail\n" << outcome.output;
    for (const char* line :
         {"COM1  ok      Verified: the option board holds the image", "FLEET00002", "COM3  ok",
          "COM4  2       Error 2: Serial port configuration error", "COM2: Radio ESN: FLEET00002"})
        EXPECT_NE(outcome.output.find(line), std::string::npos) << line << "\n" << outcome.output;
    for (Simulator* board : {&first, &second, &third})
        EXPECT_EQ(board->Memory(), Bytes(image));
    EXPECT_EQ(Zeltool("program " + kDemo + " --port 1 --port 1").status, 64);
}

namespace {

// zeltool started in the background with its output going to `log`.
pid_t StartZeltool(const std::vector<std::string>& arguments, const std::string& variable,
                   const std::string& value, const fs::path& log) {
    // A log of an earlier run must not answer for this one.
    fs::remove(log);
    const pid_t tool = fork();
    if (tool == 0) {
        if (!variable.empty())
            setenv(variable.c_str(), value.c_str(), 1);
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        const std::string zeltool = ProgramBesideThisOne("zeltool");
        std::vector<char*> argv{const_cast<char*>("zeltool")};
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(zeltool.c_str(), argv.data());
        _exit(127);
    }
    return tool;
}

// Waits up to ten seconds for `text` in the log.
bool LogShows(const fs::path& log, const std::string& text) {
    for (int i = 0; i < 200; ++i) {
        std::ifstream in(log);
        if (std::string{std::istreambuf_iterator<char>(in), {}}.find(text) != std::string::npos)
            return true;
        usleep(50'000);
    }
    return false;
}

// The exit status, or -1 when the process has not ended within ten seconds
// (it is then killed).
int ExitWithin10s(pid_t process) {
    for (int i = 0; i < 200; ++i) {
        int raw = 0;
        if (waitpid(process, &raw, WNOHANG) == process)
            return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        usleep(50'000);
    }
    kill(process, SIGKILL);
    waitpid(process, nullptr, 0);
    return -1;
}

std::string Text(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

// One board after another at one port: the next board is another radio.
TEST(ZeltoolRepeat, ProgramsEachBoardThatIsConnectedUntilStopped) {
    Simulator simulator({"--esn", "BATCH00001"});
    const fs::path data = FreshDataFolder("repeat-data");
    const std::string tests = getenv("XDG_DATA_HOME");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    const fs::path log = Temp("repeat.log");
    const pid_t tool = StartZeltool({"program", kDemo, "--port", "2", "--repeat"}, "TARVO_COM2",
                                    simulator.Device(), log);
    ASSERT_TRUE(LogShows(log, "Boards programmed: 1, failed: 0"));
    ASSERT_TRUE(LogShows(log, "Waiting for the next board on COM2"));
    usleep(800'000);
    EXPECT_EQ(Text(log).find("Boards programmed: 2"), std::string::npos)
        << "the same radio is not programmed twice";
    simulator.NextBoard();
    ASSERT_TRUE(LogShows(log, "Boards programmed: 2, failed: 0"));
    ASSERT_TRUE(LogShows(log, "Radio ESN: BATCH00002"));
    kill(tool, SIGINT);
    EXPECT_EQ(ExitWithin10s(tool), 0);
    setenv("XDG_DATA_HOME", tests.c_str(), 1);
    EXPECT_TRUE(LogShows(log, "Programmed 2 board(s) on COM2, 0 failed."));
    // Each board of the batch has its row.
    const auto rows = LogRows(data);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(Column(rows, 1, "esn"), "BATCH00001");
    EXPECT_EQ(Column(rows, 2, "esn"), "BATCH00002");
    EXPECT_EQ(Column(rows, 2, "result_code"), "0");
}

// Every verb that reads a file answers each kind of bad path with a message
// and its documented status: never an abort, never a wait.
TEST(ZeltoolBadInput, EveryVerbAnswersEveryKindOfBadPath) {
    const fs::path folder = Temp("bad-paths");
    fs::remove_all(folder);
    fs::create_directories(folder);
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
    std::ofstream(folder / "empty");
    std::ofstream(folder / "garbage") << "this is neither a document nor JSON";
    std::ofstream(folder / "unreadable") << "{}";
    chmod((folder / "unreadable").c_str(), 0);
    struct Kind {
        std::string name;
        std::string path;
    };
    std::vector<Kind> kinds = {{"missing", (folder / "missing.zel").string()},
                               {"directory", folder.string()},
                               {"FIFO", (folder / "fifo").string()},
                               {"device", "/dev/zero"}, // read, never written
                               {"empty", (folder / "empty").string()},
                               {"garbage", (folder / "garbage").string()}};
    if (geteuid() != 0)
        kinds.push_back({"unreadable", (folder / "unreadable").string()});
    const std::string out = (folder / "out").string();
    const std::vector<std::string> verbs = {"show X",
                                            "export X",
                                            "image X",
                                            "report X -o " + out + ".html",
                                            "program X",
                                            "verify X",
                                            "diff X " + kDemo,
                                            "diff " + kDemo + " X",
                                            "import X -o " + out + ".zel"};
    for (const auto& verb : verbs)
        for (const auto& kind : kinds) {
            std::string command = verb;
            command.replace(command.find('X'), 1, kind.path);
            // The run itself must end: a hang shows as timeout's 124.
            const Outcome outcome = Zeltool(command, "TARVO_COM1=sim timeout 20");
            const bool json = verb.starts_with("import");
            const bool jsonText = kind.name == "empty" || kind.name == "garbage";
            EXPECT_EQ(outcome.status, json && jsonText ? 65 : 66)
                << command << " (" << kind.name << ")\n"
                << outcome.output;
            EXPECT_NE(outcome.output.find("zeltool: "), std::string::npos) << command;
        }
    const Outcome missing = Zeltool("show " + (folder / "missing.zel").string());
    EXPECT_NE(missing.output.find("missing.zel: no such file"), std::string::npos)
        << missing.output;
    const Outcome fifo = Zeltool("show " + (folder / "fifo").string());
    EXPECT_NE(fifo.output.find("not a regular file"), std::string::npos) << fifo.output;
}

TEST(ZeltoolOutput, StandardOutputLinksAndTheInputItself) {
    const fs::path folder = Temp("outputs");
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path image = folder / "demo.bin";
    ASSERT_EQ(Zeltool("image " + kDemo + " -o " + image.string()).status, 0);
    // "-" is standard output.
    const fs::path piped = folder / "piped.bin";
    const Outcome toOutput = Zeltool("image " + kDemo + " -o - >" + piped.string() + " 2>" +
                                     (folder / "errors").string() + "; exit $?");
    ASSERT_EQ(toOutput.status, 0) << toOutput.output;
    EXPECT_EQ(Bytes(piped), Bytes(image));
    EXPECT_FALSE(fs::exists("-"));
    // A link is written through and stays a link.
    fs::create_symlink("target.bin", folder / "link.bin");
    ASSERT_EQ(Zeltool("image " + kDemo + " -o " + (folder / "link.bin").string()).status, 0);
    EXPECT_TRUE(fs::is_symlink(folder / "link.bin"));
    EXPECT_EQ(Bytes(folder / "target.bin"), Bytes(image));
    // new does not replace a file unless told to.
    const fs::path document = folder / "new.zel";
    ASSERT_EQ(Zeltool("new " + document.string()).status, 0);
    std::ofstream(document, std::ios::trunc) << "keep me";
    const Outcome again = Zeltool("new " + document.string());
    EXPECT_EQ(again.status, 73);
    EXPECT_NE(again.output.find("exists already; --force replaces it"), std::string::npos);
    EXPECT_EQ(Text(document), "keep me");
    EXPECT_EQ(Zeltool("new --force " + document.string()).status, 0);
    // An output that is the input is refused, and the input stays.
    const auto before = Bytes(document);
    for (const std::string& command :
         {"image " + document.string() + " -o " + document.string(),
          "export " + document.string() + " -o " + document.string(),
          "report " + document.string() + " -o " + document.string()}) {
        const Outcome same = Zeltool(command);
        EXPECT_EQ(same.status, 64) << command;
        EXPECT_NE(same.output.find("is the input file itself"), std::string::npos) << command;
    }
    EXPECT_EQ(Bytes(document), before);
    if (geteuid() != 0)
        return; // a device node takes root to make
    ASSERT_EQ(mknod((folder / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    EXPECT_EQ(Zeltool("image " + kDemo + " -o " + (folder / "null").string()).status, 0);
    EXPECT_TRUE(fs::is_character_file(folder / "null")) << "written, not replaced";
}

// The document password locks every command that shows the settings;
// building and programming stay open, as in the program.
TEST(ZeltoolPassword, CommandsThatShowSettingsNeedThePassword) {
    TBoardData document;
    document.Product.Password.Set("s\xE9"
                                  "cret");
    auto site = std::make_unique<TRfSite>();
    site->SetName("Caf\xE9");
    document.Sites.Append(site);
    const fs::path path = Temp("locked.zel");
    ASSERT_EQ(SaveDocument(document, path, 4), ZelResult::Ok);
    const std::string file = path.string();
    const std::string html = Temp("locked.html").string();
    for (const std::string& command :
         {"show " + file, "export " + file, "report " + file + " -o " + html,
          "diff " + file + " " + kDemo}) {
        const Outcome none = Zeltool(command);
        EXPECT_EQ(none.status, 77) << command << "\n" << none.output;
        EXPECT_NE(none.output.find("is password protected; give its password with --password"),
                  std::string::npos)
            << none.output;
        EXPECT_EQ(none.output.find("Caf"), std::string::npos) << command;
        const Outcome wrong = Zeltool(command + " --password secret");
        EXPECT_EQ(wrong.status, 77) << command;
        EXPECT_NE(wrong.output.find("Incorrect password"), std::string::npos);
        const Outcome right = Zeltool(command + " --password s\xC3\xA9"
                                                "cret");
        EXPECT_NE(right.status, 77) << command << "\n" << right.output;
    }
    const Outcome shown = Zeltool("show " + file +
                                  " --password s\xC3\xA9"
                                  "cret");
    EXPECT_NE(shown.output.find("Caf\xC3\xA9 (0 channels)"), std::string::npos)
        << "texts reach the terminal as UTF-8\n"
        << shown.output;
    EXPECT_EQ(Zeltool("image " + file + " -o " + Temp("locked.bin").string()).status, 0);
}

// Names of any bytes go out as UTF-8 JSON and come back as the same bytes.
TEST(ZeltoolJson, EveryByteOfTheNamesRoundTrips) {
    TBoardData document;
    for (int s = 0; s < 13; ++s) {
        auto site = std::make_unique<TRfSite>();
        std::string name;
        for (int i = 0; i < 20; ++i)
            name += static_cast<char>(1 + (s * 20 + i) % 255);
        site->SetName(name);
        document.Sites.Append(site);
    }
    auto bank = std::make_unique<TBankData>();
    bank->Name.Set("\x80\x81\x8D\x8F\x90\x9D\x9F\xFF");
    bank->Site = &document.Sites[0];
    document.Banks.Append(bank);
    document.Product.Password.Set("\xE9\x80\x01");
    const fs::path path = Temp("bytes.zel"), json = Temp("bytes.json"), again = Temp("bytes2.zel");
    ASSERT_EQ(SaveDocument(document, path, 4), ZelResult::Ok);
    const Outcome exported = Zeltool("export " + path.string() +
                                     " --password \xC3\xA9\xE2\x82\xAC\x01 -o " + json.string());
    ASSERT_EQ(exported.status, 0) << exported.output;
    ASSERT_EQ(Zeltool("import " + json.string() + " -o " + again.string()).status, 0);
    std::unique_ptr<TBoardData> back;
    ASSERT_EQ(LoadDocument(again, back), ZelResult::Ok);
    for (int s = 0; s < 13; ++s)
        EXPECT_EQ(back->Sites[s].Name.View(), document.Sites[s].Name.View()) << s;
    EXPECT_EQ(back->Banks[0].Name.View(), document.Banks[0].Name.View());
    EXPECT_EQ(back->Product.Password.View(), document.Product.Password.View());
}

// Stopped while a board is written, a batch counts that board as failed
// and exits as interrupted.
TEST(ZeltoolRepeat, AnInterruptDuringAWriteCountsTheBoardAsFailed) {
    Simulator simulator({"--baud", "9600"});
    const fs::path log = Temp("repeat-interrupted.log");
    const pid_t tool = StartZeltool({"program", kDemo, "--port", "2", "--repeat"}, "TARVO_COM2",
                                    simulator.Device(), log);
    ASSERT_TRUE(LogShows(log, "write 256 of 2256"));
    kill(tool, SIGINT);
    EXPECT_EQ(ExitWithin10s(tool), 130);
    const std::string output = Text(log);
    EXPECT_NE(output.find("partial image"), std::string::npos) << output;
    EXPECT_NE(output.find("Programmed 0 board(s) on COM2, 1 failed."), std::string::npos) << output;
}

// A signal to a fleet run's parent stops every port.
TEST(ZeltoolFleet, ATerminateSignalToTheParentStopsEveryPort) {
    Simulator first({"--baud", "9600"});
    Simulator second({"--baud", "9600"});
    const fs::path log = Temp("fleet-stopped.log");
    const std::string secondDevice = second.Device();
    setenv("TARVO_COM2", secondDevice.c_str(), 1);
    const pid_t tool = StartZeltool({"program", kDemo, "--port", "1", "--port", "2"}, "TARVO_COM1",
                                    first.Device(), log);
    unsetenv("TARVO_COM2");
    ASSERT_TRUE(LogShows(log, "COM1: write 128 of 2256"));
    ASSERT_TRUE(LogShows(log, "COM2: write 128 of 2256"));
    kill(tool, SIGTERM);
    EXPECT_EQ(ExitWithin10s(tool), 130);
    const std::string output = Text(log);
    for (const char* line : {"COM1  130", "COM2  130"})
        EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
}

// Each program tells its version, and zel its usage without opening a window
// (no display is needed for either).
TEST(Programs, VersionAndUsageOnTheTerminal) {
    for (const std::string program : {"zel", "zeltool", "tarvo-sim"}) {
        const fs::path out = Temp(program + "-version.txt");
        const int raw =
            std::system(("env -u DISPLAY -u QT_QPA_PLATFORM " + ProgramBesideThisOne(program) +
                         " --version >" + out.string() + " 2>&1 <" + kNoInput)
                            .c_str());
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << program;
        EXPECT_EQ(Text(out).rfind(program + " 1.0.0", 0), 0u) << Text(out);
    }
    const fs::path usage = Temp("zel-help.txt");
    const int raw =
        std::system(("env -u DISPLAY -u QT_QPA_PLATFORM " + ProgramBesideThisOne("zel") +
                     " --help >" + usage.string() + " 2>&1 <" + kNoInput)
                        .c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
    EXPECT_EQ(Text(usage).rfind("Usage: zel [FILE.zel]", 0), 0u) << Text(usage);
}

// detect says what the board on the bench holds, and resets nothing.
TEST(ZeltoolDetect, NamesAnErasedAConfiguredAndAGarbageBoard) {
    const struct {
        std::vector<std::string> options;
        const char* says;
    } cases[] = {
        {{}, "the option board holds an erased memory (every byte FF)"},
        {{"--memory-in", DataFile("golden.bin")},
         "the option board holds a configuration: 3 site(s), 6 bank(s), checksum good\n  "
         "product: the image names none; it holds only that the model number does not begin "
         "with P"},
        {{"--memory-in", Filled("detect-garbage.bin", 0x5A).string()},
         "the option board holds bytes that no document makes: "},
    };
    for (const auto& c : cases) {
        Simulator simulator(c.options);
        const Outcome outcome = Zeltool("detect --port 2", simulator.Environment());
        EXPECT_EQ(outcome.status, 0) << outcome.output;
        EXPECT_NE(outcome.output.find("Radio ESN SIM0000001 on COM2: "), std::string::npos);
        EXPECT_NE(outcome.output.find(c.says), std::string::npos) << outcome.output;
        EXPECT_EQ(outcome.output.find("reset"), std::string::npos) << "nothing is reset";
    }
}

// A backup restores: its name carries the board's ESN, programming it
// writes its bytes as they are, and decode turns it into a document.
TEST(ZeltoolRestore, ABackupProgramsBackByteForByteAndDecodes) {
    const fs::path backups = Temp("restore-backups");
    fs::remove_all(backups);
    {
        Simulator old({"--esn", "OLD0000042", "--memory-in", DataFile("golden.bin")});
        const Outcome programmed = Zeltool(
            "program " + kDemo + " --port 2 --backup " + backups.string(), old.Environment());
        ASSERT_EQ(programmed.status, 0) << programmed.output;
    }
    ASSERT_TRUE(fs::exists(backups));
    const fs::path backup = fs::directory_iterator(backups)->path();
    EXPECT_EQ(backup.filename().string().rfind("board-COM2-OLD0000042-", 0), 0u) << backup;
    EXPECT_EQ(Bytes(backup), Bytes(DataFile("golden.bin")));

    Simulator fresh({});
    const Outcome restored =
        Zeltool("program " + backup.string() + " --port 2 --verify", fresh.Environment());
    EXPECT_EQ(restored.status, 0) << restored.output;
    EXPECT_EQ(fresh.Memory(), Bytes(DataFile("golden.bin")));

    const fs::path document = Temp("restored.zel"), rebuilt = Temp("restored.bin");
    fs::remove(document);
    ASSERT_EQ(Zeltool("decode " + backup.string() + " -o " + document.string()).status, 0);
    ASSERT_EQ(Zeltool("image " + document.string() + " -o " + rebuilt.string()).status, 0);
    EXPECT_EQ(Bytes(rebuilt), Bytes(DataFile("golden.bin")));

    const fs::path garbage = Filled("decode-garbage.bin", 0x5A), refused = Temp("garbage.zel");
    fs::remove(refused);
    const Outcome decoded = Zeltool("decode " + garbage.string() + " -o " + refused.string());
    EXPECT_EQ(decoded.status, 76) << decoded.output;
    EXPECT_NE(decoded.output.find("The image holds bytes that no document makes"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(refused));
    EXPECT_EQ(Zeltool("decode " + kDemo + " -o " + refused.string()).status, 66)
        << "a document is no image";
}

// The user's preferences can make a backup before every write the default;
// --no-backup skips it for one run.
TEST(ZeltoolRestore, ThePreferencesMakeABackupBeforeEveryWrite) {
    const fs::path config = Temp("preferences-config"), backups = Temp("preferred-backups");
    fs::remove_all(config);
    fs::remove_all(backups);
    fs::create_directories(config / "quarvelin");
    std::ofstream(config / "quarvelin" / "preferences")
        << "backup-folder=" << backups.string() << "\n";
    Simulator simulator({"--esn", "PREF000001"});
    const std::string environment =
        "XDG_CONFIG_HOME=" + config.string() + " " + simulator.Environment();
    ASSERT_EQ(Zeltool("program " + kDemo + " --port 2 --no-backup", environment).status, 0);
    EXPECT_FALSE(fs::exists(backups));
    const Outcome outcome = Zeltool("program " + kDemo + " --port 2", environment);
    ASSERT_EQ(outcome.status, 0) << outcome.output;
    ASSERT_TRUE(fs::exists(backups));
    const fs::path backup = fs::directory_iterator(backups)->path();
    EXPECT_EQ(backup.filename().string().rfind("board-COM2-PREF000001-", 0), 0u) << backup;
    const fs::path image = Temp("preferences-demo.bin");
    ASSERT_EQ(Zeltool("image " + kDemo + " -o " + image.string()).status, 0);
    EXPECT_EQ(Bytes(backup), Bytes(image)) << "the board held the first run's image";
}

// --device maps the chosen port to a device for one run, in place of
// TARVO_COMn; a fleet run refuses it.
TEST(ZeltoolDevice, ADeviceGivenForOneRunStandsInForThePortsMapping) {
    Simulator simulator({"--esn", "DEVICE0001"});
    const std::string device = simulator.Device();
    const Outcome outcome = Zeltool("program " + kDemo + " --port 3 --verify --device " + device,
                                    "TARVO_COM3=/dev/nonexistent");
    EXPECT_EQ(outcome.status, 0) << outcome.output;
    EXPECT_NE(outcome.output.find("Radio ESN: DEVICE0001"), std::string::npos);
    const Outcome detected = Zeltool("--device " + device + " detect --port 4");
    EXPECT_EQ(detected.status, 0) << detected.output;
    EXPECT_EQ(Zeltool("program " + kDemo + " --port 1 --port 2 --device " + device).status, 64);
}

// The programming log holds one row per board of a fleet run, with the
// image's checksum and the verification; a run killed mid-write stays in it
// as not finished.
TEST(ZeltoolLog, OneRowPerBoardOfAFleetAndAKilledRunKeptAsSuch) {
    const fs::path data = FreshDataFolder("fleet-data");
    const fs::path image = Temp("fleet-log.bin");
    ASSERT_EQ(Zeltool("image " + kDemo + " -o " + image.string()).status, 0);
    const auto bytes = Bytes(image);
    const std::string digest =
        Sha256Hex({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    Simulator simulator({"--esn", "FLEET00001"});
    const Outcome fleet =
        Zeltool("program " + kDemo + " --port 1 --port 2 --port 3 --verify",
                "XDG_DATA_HOME=" + data.string() + " " + simulator.Environment(1) +
                    " TARVO_COM2=sim:esn=FLEET00002 TARVO_COM3=sim:esn=FLEET00003");
    ASSERT_EQ(fleet.status, 0) << fleet.output;
    auto rows = LogRows(data);
    ASSERT_EQ(rows.size(), 4u) << fleet.output;
    std::vector<std::string> boards;
    for (std::size_t row = 1; row < rows.size(); ++row) {
        boards.push_back(Column(rows, row, "port") + " " + Column(rows, row, "esn"));
        EXPECT_EQ(Column(rows, row, "result_code"), "0");
        EXPECT_EQ(Column(rows, row, "verify"), "verified");
        EXPECT_EQ(Column(rows, row, "image_sha256"), digest);
        EXPECT_EQ(Column(rows, row, "document"), kDemo);
        EXPECT_EQ(Column(rows, row, "tool"), "zeltool");
    }
    std::sort(boards.begin(), boards.end());
    EXPECT_EQ(boards,
              (std::vector<std::string>{"COM1 FLEET00001", "COM2 FLEET00002", "COM3 FLEET00003"}));
    EXPECT_EQ(Column(rows, 1, "device").empty(), false);
    EXPECT_EQ(LogRows(data, "--esn FLEET00002").size(), 2u);
    EXPECT_EQ(LogRows(data, "--since 2999-01-01").size(), 1u);
    const Outcome table = Zeltool("log --esn FLEET00003", "XDG_DATA_HOME=" + data.string());
    EXPECT_NE(table.output.find("COM3  FLEET00003  verified"), std::string::npos) << table.output;

    Simulator slow({"--baud", "9600", "--esn", "KILLED0001"});
    const std::string tests = getenv("XDG_DATA_HOME");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    const fs::path output = Temp("killed.log");
    const pid_t tool =
        StartZeltool({"program", kDemo, "--port", "2"}, "TARVO_COM2", slow.Device(), output);
    setenv("XDG_DATA_HOME", tests.c_str(), 1);
    ASSERT_TRUE(LogShows(output, "write 256 of 2256"));
    kill(tool, SIGKILL);
    EXPECT_EQ(ExitWithin10s(tool), 128 + SIGKILL);
    rows = LogRows(data);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(Column(rows, 4, "port"), "COM2");
    EXPECT_EQ(Column(rows, 4, "result_text"), "did not finish");
    EXPECT_EQ(Column(rows, 4, "result_code"), "");
}

// A log that cannot be written is told once, and the board is programmed.
TEST(ZeltoolLog, ALogThatCannotBeWrittenNeverStopsARun) {
    const fs::path blocker = Temp("data-is-a-file");
    std::ofstream(blocker) << "not a folder";
    const Outcome outcome =
        Zeltool("program " + kDemo + " --port 2",
                "XDG_DATA_HOME=" + blocker.string() + " TARVO_COM2=sim:esn=NOLOG00001");
    EXPECT_EQ(outcome.status, 0) << outcome.output;
    EXPECT_NE(outcome.output.find("Success: Programming completed"), std::string::npos);
    const auto warning = outcome.output.find("warning: the programming log");
    EXPECT_NE(warning, std::string::npos) << outcome.output;
    EXPECT_EQ(outcome.output.find("warning: the programming log", warning + 1), std::string::npos)
        << "told once";
}

// The channels exported as CSV, edited by another program's CSV writer (all
// fields quoted, LF line ends), merge back into the document; a fault is
// named by row and column and nothing is written.
TEST(ZeltoolCsv, ChannelsEditedByAnotherCsvWriterImportBack) {
    const fs::path csv = Temp("channels.csv"), edited = Temp("edited.csv");
    const fs::path merged = Temp("merged.zel"), script = Temp("edit-channels.py");
    fs::remove(merged);
    ASSERT_EQ(Zeltool("export " + kDemo + " --csv -o " + csv.string()).status, 0);
    std::ofstream(script) << R"(import csv, sys
with open(sys.argv[1], newline="", encoding="utf-8-sig") as f:
    rows = list(csv.reader(f))
rows[1][3] = "456.025"
rows.append(["Nordkapp \u00d8", "440.5", "71.9", "445.5", "None", "25", "yes"])
rows.append(["Nordkapp \u00d8", "440.75", "", "445.75", "", "20 kHz", ""])
if len(sys.argv) > 3:
    rows[2][1] = sys.argv[3]
with open(sys.argv[2], "w", newline="", encoding="utf-8") as f:
    csv.writer(f, quoting=csv.QUOTE_ALL, lineterminator="\n").writerows(rows)
)";
    const auto edit = [&](const std::string& extra) {
        return std::system(("python3 " + script.string() + " " + csv.string() + " " +
                            edited.string() + " " + extra)
                               .c_str());
    };
    ASSERT_EQ(edit(""), 0);
    const Outcome imported =
        Zeltool("import " + edited.string() + " --csv --into " + kDemo + " -o " + merged.string());
    ASSERT_EQ(imported.status, 0) << imported.output;
    const std::string back = Zeltool("export " + merged.string() + " --csv").output;
    for (const char* row : {"Harbour,451.0125,None,456.025,67.0,12.5 kHz,no",
                            "Nordkapp \xC3\x98,440.5,71.9,445.5,None,25 kHz,yes",
                            "Nordkapp \xC3\x98,440.75,,445.75,,20 kHz,no",
                            "Depot,460.125,None,465.125,None,12.5 kHz,no"})
        EXPECT_NE(back.find(row), std::string::npos) << row << "\n" << back;

    fs::remove(merged);
    ASSERT_EQ(edit("451.0375.5"), 0);
    const Outcome refused =
        Zeltool("import " + edited.string() + " --csv --into " + kDemo + " -o " + merged.string());
    EXPECT_EQ(refused.status, 65) << refused.output;
    EXPECT_NE(refused.output.find("row 3, column B (Receive (MHz)): \"451.0375.5\" is not a "
                                  "frequency"),
              std::string::npos)
        << refused.output;
    EXPECT_FALSE(fs::exists(merged));
}

// program --sheet records each board programmed: its ESN, the time and the
// image's checksum; with several boards each sheet is named by its ESN.
TEST(ZeltoolSheet, EachProgrammedBoardGetsItsSheet) {
    const fs::path image = Temp("sheet.bin");
    ASSERT_EQ(Zeltool("image " + kDemo + " -o " + image.string()).status, 0);
    const auto bytes = Bytes(image);
    const std::string digest =
        Sha256Hex({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});

    Simulator simulator({"--esn", "SHEETPTY01"});
    const fs::path pdf = Temp("board-sheet.pdf");
    fs::remove(pdf);
    const Outcome single = Zeltool(
        "program " + kDemo + " --port 2 --verify --sheet " + pdf.string(), simulator.Environment());
    ASSERT_EQ(single.status, 0) << single.output;
    const fs::path text = Temp("board-sheet.txt");
    ASSERT_EQ(std::system(("pdftotext " + pdf.string() + " " + text.string()).c_str()), 0);
    for (const char* shown : {"Programmed Board", "SHEETPTY01", "on COM2", "Page 1 of "})
        EXPECT_NE(Text(text).find(shown), std::string::npos) << shown << "\n" << Text(text);

    const fs::path html = Temp("fleet-sheet.html");
    const Outcome fleet =
        Zeltool("program " + kDemo + " --port 1 --port 3 --sheet " + html.string(),
                "TARVO_COM1=sim:esn=SHEETSIM01 TARVO_COM3=sim:esn=SHEETSIM03");
    ASSERT_EQ(fleet.status, 0) << fleet.output;
    for (const std::string esn : {"SHEETSIM01", "SHEETSIM03"}) {
        const std::string sheet = Text(Temp("fleet-sheet-" + esn + ".html"));
        EXPECT_NE(sheet.find("<td>" + esn + "</td>"), std::string::npos) << sheet;
        EXPECT_NE(sheet.find("<td>" + digest + "</td>"), std::string::npos);
    }

    const Outcome refused = Zeltool(
        "program " + image.string() + " --port 1 --sheet " + html.string(), "TARVO_COM1=sim");
    EXPECT_EQ(refused.status, 64) << refused.output;
}
