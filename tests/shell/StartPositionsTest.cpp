// SPDX-License-Identifier: GPL-3.0-or-later
// The start options F, J and S: how they are read, and where they leave the start-up
// file's view.
#include "shell/StartPositions.h"

#include <gtest/gtest.h>

#include "document/HexDoc.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/SparseFile.h"
#include "tests/support/TempDir.h"
#include "view/HexView.h"

namespace qv {
namespace {

TEST(StartPositionsTest, TheSecondNumberFollowsTheFirstColonAfterTheOptions)
{
    const StartPositions given = ReadStartPositions(ParseCommandLine({"/F:0x100:0x20", "-j:-1:010", "/S:+64"}));
    EXPECT_TRUE(given.hasSection && given.hasJump && given.hasScroll);
    EXPECT_EQ(given.sectionOffset, 0x100u);
    EXPECT_EQ(given.sectionLength, 0x20u);
    EXPECT_EQ(given.jumpAddress, UINT64_MAX);
    EXPECT_EQ(given.jumpLength, 8u);
    EXPECT_EQ(given.scrollAddress, 64u);

    const StartPositions partial = ReadStartPositions(ParseCommandLine({"/F:0x100", "/J:0x10,4", "/Sx"}));
    EXPECT_TRUE(partial.hasSection);
    EXPECT_EQ(partial.sectionLength, 0u);
    EXPECT_EQ(partial.jumpAddress, 0x10u);
    EXPECT_EQ(partial.jumpLength, 0u);
    EXPECT_FALSE(partial.hasScroll);  // S without ":" is no position
    EXPECT_EQ(ReadStartPositions(ParseCommandLine({"/J:junk:4"})).jumpAddress, 0u);
}

class StartPositionsApplyTest : public ::testing::Test {
protected:
    StartPositionsApplyTest()
    {
        std::vector<uint8_t> bytes(0x400);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
        path = dir.Write("start.bin", bytes);
        DocumentServices services;
        services.prompt = &prompt;
        services.dialogs = &dialogs;
        services.settings = &settings;
        services.startOptions = &options;
        doc = std::make_unique<CHexDoc>(services);
        doc->AttachView(&view);
        view.SetLayout(16, -1, -1, -1, -1, -1);
    }

    void Start(std::vector<std::string> arguments)
    {
        arguments.push_back(path);
        const CommandLine line = ParseCommandLine(arguments);
        options = line.options;
        ASSERT_TRUE(doc->FileOpen(line.fileName));
        ApplyStartPositions(ReadStartPositions(line), *doc, view);
    }

    int64_t SelectionLength() const
    {
        int64_t length = -1;
        view.GetSelection(false, &length);
        return length;
    }

    test::TempDir dir;
    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    test::FakeSettingsStore settings;
    StartOptions options;
    CHexView view;
    std::unique_ptr<CHexDoc> doc;
    std::string path;
};

TEST_F(StartPositionsApplyTest, SectionShowsItsBytesOnlyWithALength)
{
    Start({"/F:0x100:0x20"});
    EXPECT_EQ(view.Length(), 0x20);
    EXPECT_EQ(view.BaseAddress(), 0x100u);
    EXPECT_EQ(view.Buffer().Data()[0], 0x00);  // byte 0x100 of the file
    for (const char* noLength : {"/F:0x100", "/F:0x100:0"}) {
        Start({noLength});
        EXPECT_EQ(view.Length(), 0x400) << noLength;
        EXPECT_EQ(view.BaseAddress(), 0u) << noLength;
    }
}

TEST_F(StartPositionsApplyTest, JumpSelectsItsLengthOrOnlyMovesTheCursor)
{
    Start({"/J:0x10:4"});
    EXPECT_EQ(view.GetSelection(false, nullptr), 0x10u);
    EXPECT_EQ(SelectionLength(), 4);
    EXPECT_EQ(view.MarkPosition(false), 0x10u);
    for (const char* noLength : {"/J:0x10", "/J:0x10:0"}) {
        Start({noLength});
        EXPECT_EQ(view.CursorOffset(), 0x10) << noLength;
        EXPECT_EQ(SelectionLength(), 0) << noLength;
    }
    // Addresses count from the base address the view shows.
    Start({"/A:0x1000", "/J:0x1020:2"});
    EXPECT_EQ(view.CursorOffset(), 0x20);
    EXPECT_EQ(SelectionLength(), 2);
}

TEST_F(StartPositionsApplyTest, ScrollComesBeforeTheJumpAndWorksInsideASection)
{
    Start({"/S:0x200"});
    EXPECT_EQ(view.TopOffset(false), 0x200u);
    Start({"/F:0x100:0x100", "/S:0x180", "/J:0x190:1"});
    EXPECT_EQ(view.TopOffset(true), 0x180u);
    EXPECT_EQ(view.CursorOffset(), 0x90);
    EXPECT_EQ(SelectionLength(), 1);
}

TEST_F(StartPositionsApplyTest, PositionsAndLengthsBeyondThirtyTwoBitsOnAMappedFile)
{
    path = dir.File("big.bin");
    test::MakeSparseFile(path, int64_t{6} << 30, {{0x160000000, "Hello"}});
    // A length past 32 bits selects forwards, as far as it says.
    Start({"/M", "/R", "/J:0x10:0xFFFFFFF8"});
    EXPECT_EQ(view.SelectedRange(), (ByteRange{0x10, 0xFFFFFFF8}));
    EXPECT_EQ(view.MarkPosition(false), 0x10u);

    Start({"/M", "/R", "/A:0x100000000", "/S:0x260000000", "/J:0x260000000:5"});
    EXPECT_EQ(view.TopOffset(true), 0x260000000u);
    EXPECT_EQ(view.SelectedRange(), (ByteRange{0x160000000, 5}));
    RowText row;
    view.BuildRow(view.TopLine(), false, row);
    EXPECT_EQ(std::string(row.chars.data(), static_cast<size_t>(row.length)).substr(0, 26), "260000000  48 65 6C 6C  6F");

    Start({"/M", "/R", "/F:0x15FFFFFF0:0x20"});
    EXPECT_EQ(view.Length(), 0x20);
    EXPECT_EQ(view.BaseAddress(), 0x15FFFFFF0u);
    EXPECT_EQ(view.Buffer().Data()[0x10], 'H');
}

}  // namespace
}  // namespace qv
