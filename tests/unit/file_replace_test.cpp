// The file writer replaces a file whole or not at all: a failure, a signal
// or a kill while writing leaves the old file, two writers at once leave one
// of their files, and no temporary is left behind but by a kill.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "io/file_bytes.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The names in `folder` other than `keep`.
std::vector<std::string> OtherNames(const fs::path& folder, const std::string& keep)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename() != keep)
            names.push_back(entry.path().filename().string());
    return names;
}

bool HasTemporary(const fs::path& folder, const fs::path& path)
{
    for (const auto& entry : fs::directory_iterator(folder))
        if (IsReplaceTemporaryName(path.string(), entry.path().filename().string()))
            return true;
    return false;
}

TEST(FileReplace, ReplacesTheFileKeepingItsPermissionsAndLeavesNothingElse)
{
    const fs::path folder = FreshTempFolder("replace_plain");
    const fs::path path = folder / "curve.txt";
    std::string error;
    ASSERT_TRUE(WriteFileBytes(path.string(), "old", error)) << error;
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(fs::status(path).permissions(), static_cast<fs::perms>(0666 & ~mask));
    fs::permissions(path, static_cast<fs::perms>(0640));
    ASSERT_TRUE(WriteFileBytes(path.string(), "new", error)) << error;
    EXPECT_EQ(Slurp(path), "new");
    EXPECT_EQ(fs::status(path).permissions(), static_cast<fs::perms>(0640));
    EXPECT_TRUE(OtherNames(folder, "curve.txt").empty());
}

TEST(FileReplace, ALinkStaysALinkAndADeviceIsWrittenInPlace)
{
    const fs::path folder = FreshTempFolder("replace_link");
    std::string error;
    ASSERT_TRUE(WriteFileBytes((folder / "target.txt").string(), "old", error)) << error;
    fs::create_symlink("target.txt", folder / "link.txt");
    ASSERT_TRUE(WriteFileBytes((folder / "link.txt").string(), "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink(folder / "link.txt"));
    EXPECT_EQ(Slurp(folder / "target.txt"), "new");

    ASSERT_TRUE(WriteFileBytes("/dev/null", "anything", error)) << error;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(FileReplace, AFolderInTheWayIsRefusedAndKept)
{
    const fs::path folder = FreshTempFolder("replace_folder");
    fs::create_directory(folder / "in_the_way");
    std::string error;
    EXPECT_FALSE(WriteFileBytes((folder / "in_the_way").string(), "new", error));
    EXPECT_NE(error.find("in_the_way"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(folder / "in_the_way"));
    EXPECT_EQ(OtherNames(folder, "in_the_way").size(), 0u);
}

// A small file system of its own, mounted as root; skipped where it cannot be.
TEST(FileReplace, AFullDiskLeavesTheOldFileWhole)
{
    const fs::path folder = FreshTempFolder("replace_full_disk");
    if (geteuid() != 0 || mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "a small tmpfs cannot be mounted here (needs root): the full-disk case is not checked";
    const fs::path path = folder / "curve.txt";
    std::string error;
    const std::string old(20000, 'o');
    EXPECT_TRUE(WriteFileBytes(path.string(), old, error)) << error;
    EXPECT_FALSE(WriteFileBytes(path.string(), std::string(200000, 'n'), error));
    EXPECT_NE(error.find("No space"), std::string::npos) << error;
    EXPECT_EQ(Slurp(path), old);
    EXPECT_TRUE(OtherNames(folder, "curve.txt").empty());
    umount2(folder.c_str(), MNT_DETACH);
}

// A child writes a large file over a small one and is stopped by `signal`
// once its temporary exists: the file is then the old one, or the new one
// whole should the write have won the race.
TEST(FileReplace, ASignalOrAKillWhileWritingLeavesTheOldFileOrTheNew)
{
    const std::string old = "old\n";
    const std::string fresh(48 << 20, 'n');
    for (const int signal : {SIGINT, SIGTERM, SIGKILL}) {
        SCOPED_TRACE(strsignal(signal));
        const fs::path folder = FreshTempFolder("replace_signal");
        const fs::path path = folder / "curve.txt";
        std::string error;
        ASSERT_TRUE(WriteFileBytes(path.string(), old, error)) << error;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::string childError;
            _exit(WriteFileBytes(path.string(), fresh, childError) ? 0 : 1);
        }
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!HasTemporary(folder, path) && std::chrono::steady_clock::now() < giveUp &&
               waitpid(child, nullptr, WNOHANG) == 0)
            std::this_thread::yield();
        kill(child, signal);
        int status = 0;
        waitpid(child, &status, 0);
        const std::string now = Slurp(path);
        EXPECT_TRUE(now == old || now == fresh) << now.size() << " bytes";
        if (WIFSIGNALED(status)) {
            EXPECT_EQ(WTERMSIG(status), signal);
            EXPECT_EQ(now, old);
            // Only a kill, which no program can catch, leaves the temporary.
            if (signal != SIGKILL) {
                EXPECT_FALSE(HasTemporary(folder, path));
            }
        }
    }
}

TEST(FileReplace, TwoWritersAtOnceLeaveOneWholeFile)
{
    const fs::path folder = FreshTempFolder("replace_two_writers");
    const fs::path path = folder / "curve.txt";
    const std::string contents[2] = {std::string(8 << 20, 'a'), std::string(6 << 20, 'b')};
    pid_t children[2];
    for (int k = 0; k < 2; ++k) {
        children[k] = fork();
        ASSERT_GE(children[k], 0);
        if (children[k] == 0) {
            std::string error;
            bool all = true;
            for (int round = 0; round < 4; ++round)
                all = WriteFileBytes(path.string(), contents[k], error) && all;
            _exit(all ? 0 : 1);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string now = Slurp(path);
    EXPECT_TRUE(now == contents[0] || now == contents[1]) << now.size() << " bytes";
    EXPECT_TRUE(OtherNames(folder, "curve.txt").empty());
}

}  // namespace
