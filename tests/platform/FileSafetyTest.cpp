// SPDX-License-Identifier: GPL-3.0-or-later
// Files changed by other programs under a map, special files, and the save paths when the
// folder or the file refuses the usual way.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>

#include "platform/AtomicSave.h"
#include "platform/FileSystem.h"
#include "platform/MappedFile.h"
#include "tests/support/TempDir.h"

namespace qv {
namespace {

using test::TempDir;

// Reads through a volatile pointer so that the access really happens.
uint8_t Touch(const uint8_t* at)
{
    return *static_cast<const volatile uint8_t*>(at);
}

TEST(MapFaultTest, ReadingPastTheEndOfAShortenedFileGivesZerosAndIsReported)
{
    TempDir dir;
    const auto path = dir.Write("m.bin", std::vector<uint8_t>(3 * 65536, 0x5A));
    MappedFile::Error error;
    auto map = MappedFile::Open(path, true, error);
    ASSERT_NE(map, nullptr);
    EXPECT_FALSE(map->Faulted());
    ASSERT_EQ(::truncate(path.c_str(), 4096), 0);

    EXPECT_EQ(Touch(map->Data() + 100), 0x5A);  // still in the file
    EXPECT_EQ(Touch(map->Data() + 70000), 0);   // gone: a zero page instead of a bus error
    EXPECT_EQ(Touch(map->Data() + map->Size() - 1), 0);
    EXPECT_TRUE(map->Faulted());
    EXPECT_EQ(map->Stamp().size, 4096);
}

TEST(MapFaultDeathTest, ABusErrorOutsideEveryWatchedMapStillEndsTheProgram)
{
    TempDir dir;
    const auto watched = dir.Write("w.bin", std::vector<uint8_t>(8192, 1));
    MappedFile::Error error;
    auto map = MappedFile::Open(watched, false, error);  // installs the handler
    ASSERT_NE(map, nullptr);
    const auto other = dir.Write("o.bin", std::vector<uint8_t>(3 * 4096, 1));
    EXPECT_DEATH(
        {
            const int fd = ::open(other.c_str(), O_RDONLY);
            auto* bytes = static_cast<const uint8_t*>(::mmap(nullptr, 3 * 4096, PROT_READ, MAP_SHARED, fd, 0));
            [[maybe_unused]] const int shortened = ::ftruncate(::open(other.c_str(), O_RDWR), 0);
            Touch(bytes + 8192);
        },
        "");
}

TEST(FileLockTest, AFileMappedWritableElsewhereOpensReadOnlyAndIsReportedLocked)
{
    TempDir dir;
    const auto path = dir.Write("m.bin", std::vector<uint8_t>(8192, 0));
    EXPECT_FALSE(LockedForWriting(path));
    MappedFile::Error error;
    auto writer = MappedFile::Open(path, true, error);
    ASSERT_NE(writer, nullptr);
    EXPECT_TRUE(LockedForWriting(path));
    EXPECT_EQ(MappedFile::Open(path, true, error), nullptr);
    auto reader = MappedFile::Open(path, false, error);
    ASSERT_NE(reader, nullptr);
    writer->Data()[5] = 0x42;
    EXPECT_EQ(reader->Data()[5], 0x42);  // a reader sees the writer's bytes
    writer.reset();
    EXPECT_FALSE(LockedForWriting(path));
}

TEST(FileStampTest, ChangesOfContentSizeAndIdentityShow)
{
    TempDir dir;
    const auto path = dir.Write("s.bin", std::string("abc"));
    const auto first = StampOf(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(StampOf(path), first);
    ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0);  // touched: a newer time only
    const auto touched = StampOf(path);
    EXPECT_NE(touched, first);
    dir.Write("t.bin", std::string("abc"));
    std::filesystem::rename(dir.File("t.bin"), path);
    EXPECT_NE(StampOf(path)->inode, touched->inode);
    EXPECT_FALSE(StampOf(dir.File("none")));
}

class SpecialFiles : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
        // A private character device (the null device's numbers), never the system's own node.
        if (::geteuid() == 0) hasDevice = ::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
    }
    TempDir dir;
    const std::string fifo = dir.File("pipe");
    const std::string device = dir.File("null");
    bool hasDevice = false;
};

TEST_F(SpecialFiles, AreReportedAndNeverWaitedOnWhenRead)
{
    std::vector<uint8_t> bytes;
    EXPECT_EQ(ReadWholeFile(fifo, bytes), FileError::NotRegular);  // returns at once, no writer needed
    EXPECT_TRUE(QueryFile(fifo).special);
    EXPECT_FALSE(QueryFile(dir.Path()).special);
    EXPECT_FALSE(QueryFile(dir.Write("plain", std::string("x"))).special);
    if (hasDevice) {
        EXPECT_EQ(ReadWholeFile(device, bytes), FileError::NotRegular);
        EXPECT_TRUE(QueryFile(device).special);
    }
    MappedFile::Error error;
    EXPECT_EQ(MappedFile::Open(fifo, false, error), nullptr);
}

TEST_F(SpecialFiles, AreNeverReplacedBySaving)
{
    const uint8_t byte = 7;
    const std::string link = dir.File("link");
    std::filesystem::create_symlink(fifo, link);
    for (const std::string& target : {fifo, link, hasDevice ? device : fifo}) {
        EXPECT_EQ(SaveFileAtomically(target, &byte, 1), SaveError::NotRegularFile) << target;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    if (hasDevice) {
        EXPECT_TRUE(std::filesystem::is_character_file(device));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), hasDevice ? 3 : 2);
}

// Makes a folder refuse new entries, also for root (which ignores the folder's mode).
class LockedFolder {
public:
    explicit LockedFolder(std::string path) : path_(std::move(path))
    {
        if (::geteuid() != 0) {
            locked_ = ::chmod(path_.c_str(), 0555) == 0;
            return;
        }
        const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        locked_ = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                  (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
        if (fd >= 0) ::close(fd);
    }
    ~LockedFolder()
    {
        if (::geteuid() != 0) {
            ::chmod(path_.c_str(), 0755);
            return;
        }
        const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0) ::close(fd);
    }
    bool Locked() const { return locked_; }

private:
    std::string path_;
    bool locked_ = false;
};

TEST(SaveInPlaceTest, AFolderWithoutRoomForATemporaryFileIsWrittenInPlace)
{
    TempDir dir;
    std::filesystem::create_directory(dir.File("ro"));
    const auto path = dir.Write("ro/a.bin", std::vector<uint8_t>(5000, 1));
    struct stat before {};
    ::stat(path.c_str(), &before);
    LockedFolder folder(dir.File("ro"));
    if (!folder.Locked()) GTEST_SKIP() << "the folder cannot be locked here";

    const std::vector<uint8_t> shorter(300, 2);
    ASSERT_EQ(SaveFileAtomically(path, shorter.data(), shorter.size()), SaveError::None);
    EXPECT_EQ(TempDir::Read(path), shorter);
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);  // the same file, written in place

    // A failing write there is reported; a new file cannot be made at all.
    auto full = [](int, const void*, size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    EXPECT_EQ(SaveFileAtomically(path, shorter.data(), shorter.size(), full), SaveError::DiskFull);
    EXPECT_EQ(SaveFileAtomically(dir.File("ro/new.bin"), shorter.data(), shorter.size()), SaveError::AccessDenied);
}

TEST(SaveErrorsTest, VanishedFolderAndWriteProtectedFileAlsoForRoot)
{
    TempDir dir;
    const uint8_t byte = 1;
    EXPECT_EQ(SaveFileAtomically(dir.File("gone/a.bin"), &byte, 1), SaveError::NotFound);
    const auto path = dir.Write("ro.bin", std::string("old"));
    ::chmod(path.c_str(), 0444);
    EXPECT_TRUE(QueryFile(path).readOnly);
    EXPECT_EQ(SaveFileAtomically(path, &byte, 1), SaveError::ReadOnly);
    EXPECT_EQ(TempDir::Read(path), std::vector<uint8_t>({'o', 'l', 'd'}));
}

}  // namespace
}  // namespace qv
