// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/AtomicSave.h"
#include "platform/FileSystem.h"
#include "platform/MappedFile.h"
#include "tests/support/TempDir.h"

namespace qv {
namespace {

using test::TempDir;

size_t FilesIn(const std::string& dir)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(AtomicSaveTest, ReplacesTheFileAndKeepsItsPermissions)
{
    TempDir dir;
    const auto path = dir.Write("a.bin", std::vector<uint8_t>(10, 1));
    ::chmod(path.c_str(), 0604);
    const std::vector<uint8_t> bytes = {9, 8, 7};
    ASSERT_EQ(SaveFileAtomically(path, bytes.data(), bytes.size()), SaveError::None);
    EXPECT_EQ(TempDir::Read(path), bytes);
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(AtomicSaveTest, SavingThroughASymbolicLinkUpdatesItsTargetAndKeepsTheLink)
{
    TempDir dir;
    std::filesystem::create_directory(dir.File("real"));
    const auto target = dir.Write("real/fw.bin", std::vector<uint8_t>(4, 0));
    const auto link = dir.File("fw-link.bin");
    std::filesystem::create_symlink(target, link);
    const std::vector<uint8_t> bytes = {1, 2, 3};
    ASSERT_EQ(SaveFileAtomically(link, bytes.data(), bytes.size()), SaveError::None);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempDir::Read(target), bytes);
    EXPECT_EQ(FilesIn(dir.Path()), 2u);  // the link and the folder: no temporary file left
    EXPECT_EQ(FilesIn(dir.File("real")), 1u);

    const auto dangling = dir.File("dangling.bin");
    std::filesystem::create_symlink(dir.File("missing.bin"), dangling);
    ASSERT_EQ(SaveFileAtomically(dangling, bytes.data(), bytes.size()), SaveError::None);
    EXPECT_EQ(TempDir::Read(dangling), bytes);
}

TEST(AtomicSaveTest, AnyWriteFailureLeavesTheOldFileWholeAndNoTemporaryFile)
{
    struct Case {
        int error;
        SaveError expected;
    } cases[] = {{ENOSPC, SaveError::DiskFull}, {EIO, SaveError::WriteFailed}, {EDQUOT, SaveError::DiskFull}};
    for (const auto& c : cases) {
        TempDir dir;
        const std::vector<uint8_t> old(5000, 0x33);
        const auto path = dir.Write("a.bin", old);
        const std::vector<uint8_t> bytes(3 << 20, 0x44);  // several write calls
        int calls = 0;
        auto failing = [&](int fd, const void* data, size_t size) -> ssize_t {
            if (++calls == 2) {
                errno = c.error;
                return -1;
            }
            return ::write(fd, data, size);
        };
        EXPECT_EQ(SaveFileAtomically(path, bytes.data(), bytes.size(), failing), c.expected);
        EXPECT_EQ(TempDir::Read(path), old);
        EXPECT_EQ(FilesIn(dir.Path()), 1u);
    }
}

TEST(AtomicSaveTest, AShortWriteWithoutErrorCountsAsAFullDisk)
{
    TempDir dir;
    const auto path = dir.Write("a.bin", std::string("old"));
    auto nothing = [](int, const void*, size_t) -> ssize_t { return 0; };
    const uint8_t byte = 1;
    EXPECT_EQ(SaveFileAtomically(path, &byte, 1, nothing), SaveError::DiskFull);
    EXPECT_EQ(TempDir::Read(path), std::vector<uint8_t>({'o', 'l', 'd'}));
}

TEST(AtomicSaveTest, NewFilesAndMissingFolders)
{
    TempDir dir;
    const uint8_t byte = 5;
    ASSERT_EQ(SaveFileAtomically(dir.File("new.bin"), &byte, 1), SaveError::None);
    EXPECT_EQ(TempDir::Read(dir.File("new.bin")), std::vector<uint8_t>{5});
    EXPECT_NE(SaveFileAtomically(dir.File("no/such/folder.bin"), &byte, 1), SaveError::None);
}

TEST(FileSystemTest, AttributesFullPathsAndStoredNames)
{
    TempDir dir;
    dir.Write("Mixed.Case", std::string("12345"));
    const FileInfo file = QueryFile(dir.File("Mixed.Case"));
    EXPECT_TRUE(file.exists);
    EXPECT_FALSE(file.isDirectory);
    EXPECT_EQ(file.size, 5);
    EXPECT_TRUE(QueryFile(dir.Path()).isDirectory);
    EXPECT_FALSE(QueryFile(dir.File("none")).exists);

    EXPECT_EQ(FullPath("/a/./b/../c"), "/a/c");
    EXPECT_EQ(FullPath("/a/b/"), "/a/b/");
    EXPECT_EQ(FullPath("/.."), "/");
    EXPECT_EQ(StoredName(dir.Path(), "mixed.CASE"), "Mixed.Case");
    EXPECT_EQ(StoredName(dir.Path(), "Mixed.Case"), "Mixed.Case");
    EXPECT_FALSE(StoredName(dir.Path(), "other"));
    EXPECT_EQ(FileNameOf("/x/y/z.bin"), "z.bin");
}

TEST(MappedFileTest, LocksFollowTheSharingRules)
{
    TempDir dir;
    const auto path = dir.Write("m.bin", std::vector<uint8_t>(8192, 0));
    MappedFile::Error error;
    {
        auto reader = MappedFile::Open(path, false, error);
        ASSERT_NE(reader, nullptr);
        auto second = MappedFile::Open(path, false, error);
        EXPECT_NE(second, nullptr);  // readers share
        EXPECT_EQ(MappedFile::Open(path, true, error), nullptr);
        EXPECT_EQ(error, MappedFile::Error::CannotOpen);
    }
    auto writer = MappedFile::Open(path, true, error);
    ASSERT_NE(writer, nullptr);
    writer->Data()[100] = 0xAB;
    EXPECT_EQ(MappedFile::Open(path, true, error), nullptr);  // one writer only
    writer.reset();
    EXPECT_EQ(TempDir::Read(path)[100], 0xAB);
}

}  // namespace
}  // namespace qv
