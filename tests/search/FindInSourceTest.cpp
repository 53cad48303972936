// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/FindInSource.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "platform/MappedFile.h"
#include "search/FindValues.h"
#include "tests/search/PatternOfBytes.h"
#include "tests/support/SparseByteSource.h"
#include "tests/support/TempDir.h"

namespace qv {
namespace {

using test::Bytes;
using test::Pattern;
using test::Positions;
using test::SparseByteSource;

// Slicing the run (here through a source that copies every window) finds exactly what one
// pass over the whole block finds: matches and groups straddling slices, in both directions.
TEST(FindValuesInSource, SlicesFindWhatOnePassFinds)
{
    Bytes data(3000);
    uint32_t state = 12345;
    for (uint8_t& byte : data) {
        state = state * 1103515245 + 12345;
        byte = static_cast<uint8_t>('a' + (state >> 16) % 4);  // a small alphabet: many near misses
    }
    SparseByteSource source(static_cast<int64_t>(data.size()));
    source.Plant(0, data);
    const DecodedPattern patterns[] = {Pattern(0, {{'a', 'b', 'c', 'd', 'a'}}), Pattern(12, {{'a', 'b'}, {'d', 'd'}, {'c'}}),
                                       Pattern(40, {{'b', 'b', 'b'}, {'a', 'c', 'a'}})};
    const int64_t size = static_cast<int64_t>(data.size());
    for (const DecodedPattern& pattern : patterns)
        for (bool ordered : {false, true})
            for (int64_t slice : {1, 7, 64})
                for (auto [start, count] : {std::pair<int64_t, int64_t>{0, size}, {1500, size}, {size, -size},
                                            {2000, -1200}, {10, 50}}) {
                    DecodedPattern expected = pattern, sliced = pattern;
                    TaskProgress progress;
                    const int64_t want = FindValues(expected, data.data(), size, start, count, ordered);
                    ASSERT_EQ(FindValuesInSource(sliced, source, start, count, ordered, progress, slice), want)
                        << pattern.values.size() << " values, slice " << slice << ", start " << start << ", count " << count;
                    if (want >= 0) {
                        EXPECT_EQ(Positions(sliced), Positions(expected));
                    }
                }
}

TEST(FindValuesInSource, ACancelStopsAfterTheSliceThatIsRunning)
{
    SparseByteSource source(int64_t{1} << 30);
    TaskProgress progress;
    source.cancel = &progress;
    source.cancelAfterWindows = 2;
    DecodedPattern pattern = Pattern(0, {{'x', 'y'}});
    EXPECT_EQ(FindValuesInSource(pattern, source, 0, source.Size(), false, progress, 1 << 20), -1);
    EXPECT_TRUE(progress.Cancelled());
    EXPECT_EQ(source.windows, 2);
    EXPECT_EQ(progress.Done(), 2 << 20);
    EXPECT_EQ(progress.Total(), source.Size() - 1);
}

TEST(FindValuesInSource, FindsValuesAndGroupsPastFourGiB)
{
    SparseByteSource source(int64_t{6} << 30);
    const int64_t at = 0x160000000;
    source.Plant(at, {'n', 'e', 'e', 'd', 'l', 'e'});
    source.Plant(at + 700, {'p', 'i', 'n'});
    TaskProgress progress;
    DecodedPattern needle = Pattern(0, {{'n', 'e', 'e', 'd', 'l', 'e'}});
    // Forward from below it, across a slice border that cuts the text.
    EXPECT_EQ(FindValuesInSource(needle, source, at - 4093, source.Size(), false, progress, 4096), at);
    EXPECT_EQ(FindValuesInSource(needle, source, at + 70000, -source.Size(), false, progress, 4096), at);
    DecodedPattern group = Pattern(1000, {{'n', 'e', 'e', 'd', 'l', 'e'}, {'p', 'i', 'n'}});
    EXPECT_EQ(FindValuesInSource(group, source, at - 100000, source.Size(), true, progress, 1 << 16), at);
    EXPECT_EQ(Positions(group), (std::vector<int64_t>{at, at + 700}));
    EXPECT_EQ(FindValuesInSource(needle, source, at + 1, source.Size(), false, progress, 1 << 26), -1);
    EXPECT_FALSE(progress.Cancelled());
}

// A sparse file of 6 GiB mapped as the editor maps it: only the pages near the text are read.
TEST(FindValuesInSource, FindsTextInAMappedSparseFilePastFourGiB)
{
    test::TempDir dir;
    const std::string path = dir.File("sparse.bin");
    const int64_t at = 0x160000000;
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, int64_t{6} << 30), 0);
    ASSERT_EQ(::pwrite(fd, "needle", 6, at), 6);
    ::close(fd);
    MappedFile::Error error{};
    auto map = MappedFile::Open(path, false, error);
    ASSERT_TRUE(map);
    const BlockByteSource source(map->Data(), static_cast<int64_t>(map->Size()));
    TaskProgress progress;
    DecodedPattern needle = Pattern(0, {{'n', 'e', 'e', 'd', 'l', 'e'}});
    EXPECT_EQ(FindValuesInSource(needle, source, at - 0x10000, source.Size(), false, progress), at);
    EXPECT_EQ(FindValuesInSource(needle, source, at + 0x10000, -source.Size(), false, progress), at);
}

}  // namespace
}  // namespace qv
