// The one safe-write helper: it writes where the user meant, keeps what
// stands there and never loses the old content.
#include "platform/inputfile.h"
#include "platform/safefile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

fs::path Folder(const std::string& name) {
    const fs::path folder = fs::path(testing::TempDir()) / "safefile" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string Content(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool AsRoot() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

} // namespace

#ifndef _WIN32 // symbolic links on Windows need a privilege users lack
TEST(SafeWrite, ASymbolicLinkIsFollowedAndStays) {
    const fs::path folder = Folder("link");
    Put(folder / "real.zel", "old");
    fs::create_symlink("real.zel", folder / "link.zel");
    ASSERT_EQ(WriteFileSafely(folder / "link.zel", "new"), WriteResult::Ok);
    EXPECT_TRUE(fs::is_symlink(folder / "link.zel"));
    EXPECT_EQ(Content(folder / "real.zel"), "new");
    // A link to a file not made yet makes that file.
    fs::create_symlink("later.zel", folder / "dangling.zel");
    ASSERT_EQ(WriteFileSafely(folder / "dangling.zel", "made"), WriteResult::Ok);
    EXPECT_TRUE(fs::is_symlink(folder / "dangling.zel"));
    EXPECT_EQ(Content(folder / "later.zel"), "made");
}
#endif

TEST(SafeWrite, HardLinksModeAndOwnerAreKept) {
    const fs::path folder = Folder("keep");
    Put(folder / "one.zel", "old content");
    fs::create_hard_link(folder / "one.zel", folder / "two.zel");
    ASSERT_EQ(WriteFileSafely(folder / "one.zel", "new"), WriteResult::Ok);
    EXPECT_EQ(Content(folder / "two.zel"), "new");
#ifndef _WIN32 // the Windows C runtime counts one link for every file
    EXPECT_EQ(fs::hard_link_count(folder / "one.zel"), 2u);
    // Modes and owners are POSIX's.
    Put(folder / "mode.zel", "old");
    ::chmod((folder / "mode.zel").c_str(), 0640);
    ASSERT_EQ(WriteFileSafely(folder / "mode.zel", "new"), WriteResult::Ok);
    struct stat status {};
    ASSERT_EQ(::stat((folder / "mode.zel").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);

    if (!AsRoot())
        return; // only root can give a file to another user
    Put(folder / "theirs.zel", "old");
    ASSERT_EQ(::chown((folder / "theirs.zel").c_str(), 65534, 65534), 0);
    ASSERT_EQ(WriteFileSafely(folder / "theirs.zel", "new"), WriteResult::Ok);
    ASSERT_EQ(::stat((folder / "theirs.zel").c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 65534u);
    EXPECT_EQ(status.st_gid, 65534u);
    EXPECT_EQ(Content(folder / "theirs.zel"), "new");
#endif
}

// Permissions are checked for an ordinary user; root passes them all, so
// scripts/unprivileged-runs runs this as one.
TEST(SafeWrite, AFileTheUserMayNotWriteIsRefusedNotReplaced) {
    if (AsRoot())
        GTEST_SKIP() << "root may write any file; run as an ordinary user";
    const fs::path folder = Folder("readonly");
    Put(folder / "locked.zel", "protected");
    fs::permissions(folder / "locked.zel",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(WriteFileSafely(folder / "locked.zel", "new"), WriteResult::NoPermission);
    EXPECT_EQ(Content(folder / "locked.zel"), "protected");
    // Windows will not remove a read-only file with its folder.
    fs::permissions(folder / "locked.zel", fs::perms::owner_write, fs::perm_options::add);
#ifndef _WIN32 // a folder's own permissions are POSIX's
    // A writable file in a folder the user may not write is written in place.
    Put(folder / "open.zel", "old");
    ::chmod(folder.c_str(), 0555);
    EXPECT_EQ(WriteFileSafely(folder / "open.zel", "new"), WriteResult::Ok);
    EXPECT_EQ(WriteFileSafely(folder / "fresh.zel", "new"), WriteResult::NoPermission);
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(Content(folder / "open.zel"), "new");
    EXPECT_FALSE(fs::exists(folder / "fresh.zel"));
#endif
}

TEST(SafeWrite, FifosAndDevicesAreWrittenStraight) {
    const fs::path folder = Folder("special");
    EXPECT_EQ(WriteFileSafely(folder, "x"), WriteResult::IsDirectory);
#ifdef _WIN32
    // The null device is written as it stands, not replaced.
    EXPECT_EQ(WriteFileSafely("NUL", "gone"), WriteResult::Ok);
#else
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(WriteFileSafely(folder / "pipe", "nobody reads"), WriteResult::CannotOpen)
        << "a FIFO without a reader is refused, not waited on";
    std::string received;
    std::thread reader([&] { received = Content(folder / "pipe"); });
    // The reader opens the FIFO; the write goes to it once it does.
    WriteResult result = WriteResult::CannotOpen;
    for (int i = 0; i < 200 && result == WriteResult::CannotOpen; ++i) {
        result = WriteFileSafely(folder / "pipe", "through the pipe");
        if (result == WriteResult::CannotOpen)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    reader.join();
    EXPECT_EQ(result, WriteResult::Ok);
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(folder / "pipe"));

    if (!AsRoot())
        return; // making a device node takes root
    // A node of the null device in the test's own folder.
    ASSERT_EQ(::mknod((folder / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    EXPECT_EQ(WriteFileSafely(folder / "null", "gone"), WriteResult::Ok);
    EXPECT_TRUE(fs::is_character_file(folder / "null"));
#endif
}

TEST(SafeWrite, TemporariesOfAKilledSaveAreClearedAtTheNextSave) {
    const fs::path folder = Folder("stale");
    const fs::path target = folder / "doc.zel";
    Put(target, "old");
    const fs::path stale = folder / (TemporaryPrefixFor(target) + "AbC123");
    const fs::path fresh = folder / (TemporaryPrefixFor(target) + "XyZ789");
    const fs::path other = folder / (TemporaryPrefixFor(folder / "other.zel") + "AbC123");
    for (const auto& path : {stale, fresh, other})
        Put(path, "half a save");
    const auto anHourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(stale, anHourAgo);
    fs::last_write_time(other, anHourAgo);
    ASSERT_EQ(WriteFileSafely(target, "new"), WriteResult::Ok);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(fresh)) << "it may be a save in progress";
    EXPECT_TRUE(fs::exists(other)) << "another document's";
    EXPECT_EQ(Content(target), "new");
}

TEST(InputFile, OnlyRegularFilesAreRead) {
    const fs::path folder = Folder("input");
#ifdef _WIN32
    const fs::path endless = "NUL";
#else
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    const fs::path endless = "/dev/zero";
#endif
    Put(folder / "big", std::string(100, 'x'));
    std::string bytes;
    const struct {
        fs::path path;
        std::size_t max;
        InputProblem problem;
    } cases[] = {
#ifndef _WIN32
        {folder / "pipe", 1000, InputProblem::NotRegularFile}, // would block forever
#endif
        {folder, 1000, InputProblem::NotRegularFile},
        {endless, 1000, InputProblem::NotRegularFile}, // a device that never ends
        {folder / "missing", 1000, InputProblem::NotFound},
        {folder / "big", 99, InputProblem::TooLarge},
        {folder / "big", 100, InputProblem::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadWholeFile(c.path, c.max, bytes), c.problem) << c.path;
    EXPECT_EQ(bytes, std::string(100, 'x'));
}
