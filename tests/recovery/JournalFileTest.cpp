// SPDX-License-Identifier: GPL-3.0-or-later
// The journal file: what is written reads back; a cut or damaged journal gives its complete
// records and counts the rest; a file that is no journal is refused and left alone.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <random>

#include "recovery/JournalReader.h"
#include "recovery/JournalRestore.h"
#include "recovery/JournalWriter.h"
#include "tests/support/TempDir.h"

namespace qv {
namespace {

using test::TempDir;

JournalHeader Header(int64_t baseLength, JournalBase base, bool snapshot, bool keepsRemoved)
{
    JournalHeader header;
    header.createdSeconds = 1700000000;
    header.processId = 4242;
    header.path = "/some/dir/firmware.hex";
    header.stamp = FileStamp{1, 2, baseLength, 123456789};
    header.format = DocumentFormat::IntelHex;
    header.readOffset = 0x8000;
    header.baseAddress = 0x8000;
    header.baseLength = baseLength;
    header.base = base;
    header.hasSnapshot = snapshot;
    header.keepsRemovedBytes = keepsRemoved;
    return header;
}

TEST(JournalFile, ChecksumIsTheCommonCrc32)
{
    JournalChecksum checksum;
    checksum.Add("1234", 4);
    checksum.Add("56789", 5);
    EXPECT_EQ(checksum.Value(), 0xCBF43926u);
}

TEST(JournalFile, WrittenRecordsReadBackWithFileModes)
{
    TempDir dir;
    const std::vector<uint8_t> base = {1, 2, 3, 4, 5, 6, 7, 8};
    const uint8_t typed[] = {0xAA, 0xBB};
    std::string error;
    auto writer = JournalWriter::Create(dir.Path(), Header(8, JournalBase::File, true, false), base.data(), error);
    ASSERT_TRUE(writer) << error;
    ASSERT_TRUE(writer->AppendEdit(2, base.data() + 2, 2, typed, 2));  // overwrite
    ASSERT_TRUE(writer->AppendEdit(8, nullptr, 0, nullptr, 3));        // insert zeros at the end
    ASSERT_TRUE(writer->AppendEdit(0, base.data(), 1, nullptr, 0));    // delete the first byte
    ASSERT_TRUE(writer->Sync());
    struct stat info {};
    ASSERT_EQ(::stat(writer->Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    const JournalFileRead read = ReadJournalFile(writer->Path());
    ASSERT_TRUE(read.contents) << read.error;
    const JournalContents& journal = *read.contents;
    EXPECT_EQ(journal.header.path, "/some/dir/firmware.hex");
    EXPECT_EQ(journal.header.format, DocumentFormat::IntelHex);
    EXPECT_EQ(journal.header.readOffset, 0x8000u);
    EXPECT_EQ(journal.header.stamp->modifiedNs, 123456789);
    EXPECT_TRUE(journal.snapshotIntact);
    EXPECT_EQ(journal.snapshot, base);
    ASSERT_EQ(journal.edits.size(), 3u);
    EXPECT_TRUE(journal.edits[0].removed.empty());  // the snapshot makes the replaced bytes needless
    EXPECT_EQ(journal.lostRecords, 0);
    EXPECT_EQ(ReplayEdits(base, journal.edits).bytes, (std::vector<uint8_t>{2, 0xAA, 0xBB, 5, 6, 7, 8, 0, 0, 0}));
}

// Writes a journal and notes the file's size after each record: the record boundaries.
struct WrittenJournal {
    std::string path;
    std::vector<uint8_t> bytes;
    std::vector<size_t> ends;  // [0] = end of the header (and snapshot), then one per edit
};

WrittenJournal WriteSample(const TempDir& dir, int edits)
{
    std::string error;
    const std::vector<uint8_t> base(64, 0x11);
    auto writer = JournalWriter::Create(dir.Path(), Header(64, JournalBase::File, false, true), nullptr, error);
    WrittenJournal written;
    written.path = writer->Path();
    written.ends.push_back(static_cast<size_t>(TempDir::Read(written.path).size()));
    for (int i = 0; i < edits; ++i) {
        const uint8_t value = static_cast<uint8_t>(i);
        writer->AppendEdit(i % 60, base.data(), 1 + i % 3, &value, 1);
        written.ends.push_back(TempDir::Read(written.path).size());
    }
    written.bytes = TempDir::Read(written.path);
    return written;
}

TEST(JournalFile, CutAtAnyByteKeepsEveryCompleteRecord)
{
    TempDir dir;
    const WrittenJournal written = WriteSample(dir, 6);
    for (size_t cut = 0; cut <= written.bytes.size(); ++cut) {
        const auto journal = ParseJournal(written.bytes.data(), cut);
        if (cut < written.ends[0]) {
            EXPECT_FALSE(journal) << "cut at " << cut;
            continue;
        }
        ASSERT_TRUE(journal) << "cut at " << cut;
        size_t complete = 0;
        while (complete + 1 < written.ends.size() && written.ends[complete + 1] <= cut) ++complete;
        EXPECT_EQ(journal->edits.size(), complete) << "cut at " << cut;
        EXPECT_EQ(journal->lostRecords, written.ends[complete] == cut ? 0 : 1) << "cut at " << cut;
        EXPECT_EQ(journal->intactLength, written.ends[complete]);
    }
}

TEST(JournalFile, DamageInTheMiddleLosesThatRecordAndAllAfterIt)
{
    TempDir dir;
    WrittenJournal written = WriteSample(dir, 6);
    // A flipped bit in the payload of the third edit.
    written.bytes[written.ends[2] + 12] ^= 0x10;
    const auto journal = ParseJournal(written.bytes.data(), written.bytes.size());
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->edits.size(), 2u);
    EXPECT_EQ(journal->lostRecords, 4);
}

TEST(JournalFile, RandomBytesAreRefusedAndKept)
{
    TempDir dir;
    std::mt19937 random(7);
    std::vector<uint8_t> noise(5000);
    for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
    const std::string path = dir.Write("journal-1-2-0.qvj", noise);
    const JournalFileRead read = ReadJournalFile(path);
    EXPECT_FALSE(read.contents);
    EXPECT_NE(read.error.find(path), std::string::npos);
    EXPECT_FALSE(ReadJournalHeader(path));
    EXPECT_EQ(TempDir::Read(path), noise);
    // Noise behind an intact signature is no journal either.
    std::copy(std::begin(kJournalSignature), std::end(kJournalSignature), noise.begin());
    EXPECT_FALSE(ParseJournal(noise.data(), noise.size()));
}

TEST(JournalFile, AdoptedJournalCutsTheDamagedTailAndGoesOn)
{
    TempDir dir;
    WrittenJournal written = WriteSample(dir, 4);
    // The last record cut in half, as a power loss leaves it.
    const size_t cut = (written.ends[3] + written.ends[4]) / 2;
    ASSERT_EQ(::truncate(written.path.c_str(), static_cast<off_t>(cut)), 0);
    const JournalContents before = *ReadJournalFile(written.path).contents;
    ASSERT_EQ(before.edits.size(), 3u);

    std::string error;
    auto writer = JournalWriter::Adopt(written.path, before.intactLength, before.edits.size(), true, error);
    ASSERT_TRUE(writer) << error;
    const uint8_t removed = 0x11, value = 0x99;
    ASSERT_TRUE(writer->AppendEdit(10, &removed, 1, &value, 1));
    const JournalContents after = *ReadJournalFile(written.path).contents;
    ASSERT_EQ(after.edits.size(), 4u);
    EXPECT_EQ(after.lostRecords, 0);
    EXPECT_EQ(after.edits[3].sequence, 4u);
    EXPECT_EQ(after.edits[3].inserted, std::vector<uint8_t>{0x99});
}

// A file size limit fails writes as a full disk does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(JournalFile, FullDiskIsReportedAndLeavesEveryWholeRecord)
{
    TempDir dir;
    std::string error;
    {
        FileSizeLimit full(4);
        EXPECT_FALSE(JournalWriter::Create(dir.Path(), Header(8, JournalBase::Zeros, false, false), nullptr, error));
    }
    EXPECT_NE(error.find(dir.Path()), std::string::npos) << error;
    // The reason first: the status bar cuts the long path, not why.
    EXPECT_EQ(error.rfind("Die Wiederherstellungsdatei kann nicht geschrieben werden: ", 0), 0u) << error;

    auto writer = JournalWriter::Create(dir.Path(), Header(8, JournalBase::Zeros, false, false), nullptr, error);
    ASSERT_TRUE(writer);
    const std::vector<uint8_t> big(1000, 0x5A);
    ASSERT_TRUE(writer->AppendEdit(0, nullptr, 1, big.data(), 1));
    const size_t before = TempDir::Read(writer->Path()).size();
    {
        FileSizeLimit full(before + 100);
        EXPECT_FALSE(writer->AppendEdit(0, nullptr, 0, big.data(), big.size()));
    }
    EXPECT_TRUE(writer->Failed());
    EXPECT_FALSE(writer->Error().empty());
    EXPECT_EQ(TempDir::Read(writer->Path()).size(), before) << "the cut record is taken back";
    const JournalContents journal = *ReadJournalFile(writer->Path()).contents;
    EXPECT_EQ(journal.edits.size(), 1u);
    EXPECT_EQ(journal.lostRecords, 0);
}

TEST(JournalFile, ReplayChecksReplacedBytesAndStopsAtEditsThatDoNotFit)
{
    JournalEdit overwrite;
    overwrite.sequence = 1;
    overwrite.offset = 1;
    overwrite.removedCount = 1;
    overwrite.removed = {0x22};
    overwrite.insertedCount = 1;
    overwrite.inserted = {0x77};
    JournalEdit beyond = overwrite;
    beyond.sequence = 2;
    beyond.offset = 10;
    JournalEdit later = overwrite;
    later.sequence = 3;
    // The byte at 1 is no longer 0x22: a conflict, still applied.
    const ReplayOutcome outcome = ReplayEdits({0x11, 0x33, 0x44}, {overwrite, beyond, later});
    EXPECT_EQ(outcome.bytes, (std::vector<uint8_t>{0x11, 0x77, 0x44}));
    EXPECT_EQ(outcome.conflicts, 1);
    EXPECT_EQ(outcome.applied, 1);
    EXPECT_EQ(outcome.skipped, 2);
}

}  // namespace
}  // namespace qv
