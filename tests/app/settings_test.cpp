#include "app/core/recentfiles.h"
#include "app/core/settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Paths that are no regular file in a test's folder: the folder itself, a
// device that never ends, and on POSIX systems a FIFO with no writer at
// `fifo`.
std::vector<std::filesystem::path> NoRegularFiles(const std::filesystem::path& folder,
                                                  const std::filesystem::path& fifo) {
#ifdef _WIN32
    (void)fifo;
    return {folder, "NUL"};
#else
    std::filesystem::remove(fifo);
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    return {folder, "/dev/zero", fifo};
#endif
}

} // namespace

TEST(Settings, LinesAsTheFileHoldsThem) {
    const struct {
        const char* text;
        int port, voidSpecs;
    } cases[] = {
        {"Port=COM3\n", 3, 0},
        {"PORT = COM2\n", 2, 0},
        {"port=com 4\n", 4, 0},
        {"  Port=COM3\n", 1, 0},
        {"Port:COM3\n", 1, 0},
        {"Port=COM2\nPort=COM4\n", 4, 0},
        {"Port=COM0\nPort=COM5\n", 1, 0},
        {"Port=COM2\r\nVoidSpecs=1\r\n", 2, 1},
        {"VoidSpecs=2\n", 1, 0},
        {"voidspecs = 1 trailing\n", 1, 1},
        {"[section]\nsomething else\nport=com\n", 1, 0},
    };
    for (const auto& c : cases) {
        TAppSettings settings;
        ParseSettings(c.text, settings);
        EXPECT_EQ(settings.Port, c.port) << c.text;
        EXPECT_EQ(settings.VoidSpecs, c.voidSpecs) << c.text;
    }
    // A line longer than 255 characters is read in pieces, each a line.
    TAppSettings settings;
    ParseSettings(std::string(255, 'x') + "Port=COM3\n", settings);
    EXPECT_EQ(settings.Port, 3);
}

TEST(Settings, WrittenAndReadBack) {
    EXPECT_EQ(FormatSettings({1, 0}), "Port=COM1\n");
    EXPECT_EQ(FormatSettings({4, 1}), "Port=COM4\nVoidSpecs=1\n");
    EXPECT_EQ(SettingsPathFor("/opt/tools/zel"), "/opt/tools/zel.ini");
    EXPECT_EQ(SettingsPathFor("/opt/tools/ZEL.EXE"), "/opt/tools/ZEL.ini");
    const auto file = std::filesystem::path(testing::TempDir()) / "settings-test" / "zel.ini";
    WriteSettings(file, {3, 1});
    TAppSettings read;
    ReadSettings(file, read);
    EXPECT_EQ(read.Port, 3);
    EXPECT_EQ(read.VoidSpecs, 1);
    TAppSettings untouched;
    ReadSettings(file.parent_path() / "missing.ini", untouched);
    EXPECT_EQ(untouched.Port, 1);
}

// A settings file that is no regular file is ignored at once: a FIFO would
// wait for a writer, a device would feed without end.
TEST(Settings, OnlyARegularFileIsRead) {
    const auto folder = std::filesystem::path(testing::TempDir()) / "settings-special";
    std::filesystem::create_directories(folder);
    for (const auto& path : NoRegularFiles(folder, folder / "zel.ini")) {
        TAppSettings settings;
        ReadSettings(path, settings);
        EXPECT_EQ(settings.Port, 1) << path;
    }
}

// A large file is read in one pass in pieces of 255 characters: a line of a
// megabyte without a break still lets the line after it count.
TEST(Settings, AFileOfAnySizeIsReadLineByLine) {
    const auto file = std::filesystem::path(testing::TempDir()) / "settings-large.ini";
    std::ofstream(file) << std::string(1 << 20, 'x') << "\nPort=COM4\n" << std::string(300, 'y');
    TAppSettings settings;
    ReadSettings(file, settings);
    EXPECT_EQ(settings.Port, 4);
}

#ifndef _WIN32 // /proc and folder permissions are POSIX's
// The program's path as started: a path names it; a bare name was found
// through PATH, so the running executable tells where it lies.
TEST(Settings, TheProgramsPathAsStarted) {
    EXPECT_EQ(ThisProgram("/opt/tools/zel"), std::filesystem::path("/opt/tools/zel"));
    EXPECT_EQ(ThisProgram("bin/zel"), std::filesystem::absolute("bin/zel"));
    EXPECT_EQ(ThisProgram("zel"), std::filesystem::read_symlink("/proc/self/exe"));
}

// The file beside the program is always read; when its folder cannot be
// written, the user's own file is read after it and written instead.
TEST(Settings, BesideTheProgramFirstThenTheUsersOwn) {
    const auto root = std::filesystem::path(testing::TempDir()) /
                      ("settings-sources-" + std::to_string(::getpid()));
    const auto programs = root / "programs";
    const auto config = root / "config";
    std::filesystem::create_directories(programs);
    std::ofstream(programs / "zel.ini") << "Port=COM2\n";
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_EQ(SettingsSources(programs / "zel"),
              std::vector<std::filesystem::path>{programs / "zel.ini"});
    if (::geteuid() == 0) {
        ::unsetenv("XDG_CONFIG_HOME");
        GTEST_SKIP() << "root may write any folder; the rest runs as an ordinary user";
    }
    ::chmod(programs.c_str(), 0555);
    TAppSettings administrators;
    ReadAllSettings(programs / "zel", administrators);
    EXPECT_EQ(administrators.Port, 2) << "read although its folder is not writable";
    const auto own = config / "quarvelin" / "zel.ini";
    EXPECT_EQ(SettingsLocation(programs / "zel"), own);
    WriteSettings(own, {3, 0});
    TAppSettings users;
    ReadAllSettings(programs / "zel", users);
    EXPECT_EQ(users.Port, 3) << "the user's line comes later and wins";
    ::chmod(programs.c_str(), 0755);
    ::unsetenv("XDG_CONFIG_HOME");
}
#endif

// The recent-files list is read only from a regular file of its size.
TEST(RecentFilesStore, AStoreThatIsNoRegularFileIsIgnored) {
    const auto folder = std::filesystem::path(testing::TempDir()) / "recent-special";
    std::filesystem::create_directories(folder);
    for (const auto& store : NoRegularFiles(folder, folder / "recent-files"))
        EXPECT_TRUE(RecentFiles(store).Paths().empty()) << store;
}
