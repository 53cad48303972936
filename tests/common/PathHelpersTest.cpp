// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/PathHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace qv {
namespace {

namespace fs = std::filesystem;

struct ExtensionCase {
    const char* name;
    const char* list;
    int position;
};

class ExtensionInListTest : public testing::TestWithParam<ExtensionCase> {};

TEST_P(ExtensionInListTest, FindsWholeEntryIgnoringCase)
{
    EXPECT_EQ(ExtensionInList(GetParam().name, GetParam().list), GetParam().position) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Names, ExtensionInListTest, testing::Values(
    ExtensionCase{"file.hex", "HEX;H86;IHX", 1},
    ExtensionCase{"FILE.IHX", "HEX;H86;IHX", 3},
    ExtensionCase{"dir/file.h86", "HEX;H86;IHX", 2},
    ExtensionCase{"a.b.c.hex", "HEX;H86;IHX", 1},
    ExtensionCase{"file.he", "HEX;H86;IHX", 0},
    ExtensionCase{"file.hexx", "HEX;H86;IHX", 0},
    ExtensionCase{"file", "HEX;H86;IHX", 0},
    ExtensionCase{".hex", "HEX", 0},
    ExtensionCase{"dir/.hex", "HEX", 0},
    ExtensionCase{"dir\\.hex", "HEX", 0},
    ExtensionCase{"C:.hex", "HEX", 0},
    ExtensionCase{"dir.hex/file", "HEX", 0},
    ExtensionCase{"file.", "HEX;;IHX", 0},
    ExtensionCase{"file.c", "cpp;c;h", 2},
    ExtensionCase{"file.c", "", 0}));

TEST(ExtensionInListTest, NameEndsAtItsLength)
{
    EXPECT_EQ(ExtensionInList(std::string_view("file.hex.bin", 8), "BIN;HEX"), 2);
}

class FileSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("qv_path_test_" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "sub");
        std::ofstream(dir_ / "data.bin", std::ios::binary) << std::string(1234, 'x');
        std::ofstream(dir_ / "empty.bin", std::ios::binary);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

TEST_F(FileSystemTest, FileSizeOfFilesFoldersAndMissingPaths)
{
    EXPECT_EQ(FileSizeOf(Path("data.bin")), 1234);
    EXPECT_EQ(FileSizeOf(Path("empty.bin")), 0);
    EXPECT_EQ(FileSizeOf(Path("sub")), -1);
    EXPECT_EQ(FileSizeOf(Path("missing.bin")), -1);
    EXPECT_EQ(FileSizeOf(""), -1);
}

TEST_F(FileSystemTest, PathKindTellsFileFolderRootAndMissing)
{
    EXPECT_EQ(PathKind(Path("data.bin")), kPathFile);
    EXPECT_EQ(PathKind(Path("sub")), kPathFolder);
    EXPECT_EQ(PathKind(Path("sub/")), kPathFolder);
    EXPECT_EQ(PathKind(Path("missing")), kPathMissing);
    EXPECT_EQ(PathKind(""), kPathMissing);
    EXPECT_EQ(PathKind("/"), kPathDriveRoot);
    EXPECT_EQ(PathKind("/.."), kPathDriveRoot);
    EXPECT_EQ(PathKind("/tmp"), kPathFolder);
}

TEST_F(FileSystemTest, SamePathComparesResolvedNames)
{
    EXPECT_TRUE(SamePath(Path("data.bin"), Path("sub/../data.bin")));
    EXPECT_TRUE(SamePath(Path("data.bin"), (dir_ / "." / "data.bin").string()));
    EXPECT_FALSE(SamePath(Path("data.bin"), Path("empty.bin")));
    EXPECT_FALSE(SamePath("", ""));

    fs::create_symlink(dir_ / "data.bin", dir_ / "link.bin");
    EXPECT_TRUE(SamePath(Path("data.bin"), Path("link.bin")));
    fs::create_hard_link(dir_ / "data.bin", dir_ / "hard.bin");
    EXPECT_TRUE(SamePath(Path("data.bin"), Path("hard.bin")));

    // File names differing in case are different files on this system.
    std::ofstream(dir_ / "DATA.bin") << "y";
    EXPECT_FALSE(SamePath(Path("data.bin"), Path("DATA.bin")));
    // Paths that do not exist yet compare by name.
    EXPECT_TRUE(SamePath(Path("new/x.bin"), Path("sub/../new/x.bin")));
}

TEST_F(FileSystemTest, RelativePathsAreMadeAbsolute)
{
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    EXPECT_TRUE(SamePath("data.bin", Path("data.bin")));
    EXPECT_EQ(PathKind("sub"), kPathFolder);
    EXPECT_EQ(FileSizeOf("data.bin"), 1234);
    fs::current_path(before);
}

}  // namespace
}  // namespace qv
