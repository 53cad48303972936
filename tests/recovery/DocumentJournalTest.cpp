// SPDX-License-Identifier: GPL-3.0-or-later
// The journal of the open document, driven through the real document and view: when it
// exists, what a stop leaves behind, and how the next start offers it back.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <regex>

#include "document/HexDoc.h"
#include "recovery/CrashRecovery.h"
#include "recovery/JournalRestore.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryListDialog.h"
#include "tests/support/FakeClipboard.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeTimerService.h"
#include "tests/support/TempDir.h"
#include "view/HexView.h"

namespace qv {
namespace {

using test::TempDir;

// One run of the editor: document, view, journal and recovery over a shared folder.
struct EditorRun {
    explicit EditorRun(const std::string& folder, StartOptions startOptions = {}, bool insertAllowed = false)
        : options(startOptions)
    {
        view.SetPrompt(&prompt);
        if (insertAllowed) settings.WriteDword("", "PasteMode", InsertAllowed);
        DocumentServices services;
        services.prompt = &prompt;
        services.dialogs = &dialogs;
        services.settings = &settings;
        services.startOptions = &options;
        services.askSavePath = [this](const std::string&) { return savePath; };
        document = std::make_unique<CHexDoc>(services);
        document->AttachView(&view);
        journal = std::make_unique<DocumentJournal>(*document, view, folder, &timers,
                                                    [this](const std::string& error) { failures.push_back(error); });
        recovery = std::make_unique<CrashRecovery>(*document, *journal, prompt, dialogs);
        document->SetRecovery(recovery.get());
    }
    ~EditorRun() { document->SetRecovery(nullptr); }

    void TypeHex(const std::string& digits)
    {
        for (char c : digits) view.HandleChar(static_cast<uint8_t>(c), 1, 0);
    }
    std::vector<uint8_t> Bytes() const
    {
        int64_t length = 0;
        const uint8_t* data = view.GetBuffer(&length, nullptr);
        return {data, data + length};
    }
    void FireSync()
    {
        const auto timersNow = timers.timers;
        for (const auto& [id, timer] : timersNow) timers.Fire(id);
    }

    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    test::FakeSettingsStore settings;
    test::FakeTimerService timers;
    StartOptions options;
    CHexView view;
    std::unique_ptr<CHexDoc> document;
    std::unique_ptr<DocumentJournal> journal;
    std::unique_ptr<CrashRecovery> recovery;
    std::vector<std::string> failures;
    std::optional<std::string> savePath;
};

class DocumentJournalTest : public ::testing::Test {
protected:
    size_t JournalCount() const { return ListJournals(folder).size(); }
    std::vector<uint8_t> Pattern(size_t n) const
    {
        std::vector<uint8_t> bytes(n);
        for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
        return bytes;
    }

    // Types into the file in one run and leaves the journal as a stop does; the bytes typed.
    std::vector<uint8_t> TypeAndStop(const std::string& path, const std::string& digits)
    {
        EditorRun run(folder);
        EXPECT_TRUE(run.document->FileOpen(path));
        run.TypeHex(digits);
        EXPECT_TRUE(run.journal->SecureForStop());
        return run.Bytes();
    }

    TempDir dir;
    std::string folder = dir.Path() + "/state/quarnival/recovery";
};

TEST_F(DocumentJournalTest, ExistsOnlyWhileThereAreUnsavedEdits)
{
    const std::string path = dir.Write("data.bin", Pattern(1000));
    EditorRun run(folder);
    ASSERT_TRUE(run.document->FileOpen(path));
    EXPECT_EQ(JournalCount(), 0u);

    run.TypeHex("41");
    ASSERT_EQ(JournalCount(), 1u);
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(run.timers.timers.size(), 1u);
    EXPECT_EQ(run.timers.timers.begin()->second.first, 2000);

    ASSERT_TRUE(run.document->FileSave());
    EXPECT_EQ(JournalCount(), 0u);

    // Undone back to the file's bytes: gone with the next sync.
    run.TypeHex("7");
    EXPECT_EQ(JournalCount(), 1u);
    run.view.UndoRedo(-1);
    run.FireSync();
    EXPECT_EQ(JournalCount(), 0u);

    // Saved under another name: the next journal is that file's.
    run.TypeHex("6");
    run.savePath = dir.File("copy.bin");
    ASSERT_TRUE(run.document->FileSaveAs());
    EXPECT_EQ(JournalCount(), 0u);
    run.TypeHex("5");
    ASSERT_EQ(JournalCount(), 1u);
    EXPECT_EQ(ListJournals(folder)[0].header->path, dir.File("copy.bin"));

    // Closed without saving by the user's choice.
    run.TypeHex("7");
    run.prompt.answers = {PromptAnswer::No};
    run.document->FileOpen(path);
    EXPECT_EQ(JournalCount(), 0u);
}

TEST_F(DocumentJournalTest, StopKeepsTheEditsAndTheNextOpenRestoresThem)
{
    const std::vector<uint8_t> original = Pattern(100 * 1024);
    const std::string path = dir.Write("data.bin", original);
    std::vector<uint8_t> expected;
    {
        EditorRun run(folder);
        ASSERT_TRUE(run.document->FileOpen(path));
        run.TypeHex("DEADBEEF");
        run.view.SetCursorOffset(50000, false);
        run.TypeHex("0102");
        expected = run.Bytes();
        ASSERT_TRUE(run.journal->SecureForStop());
    }
    ASSERT_EQ(JournalCount(), 1u);

    EditorRun next(folder);
    next.prompt.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(next.document->FileOpen(path));
    ASSERT_EQ(next.prompt.shown.size(), 1u);
    EXPECT_TRUE(std::regex_match(next.prompt.shown[0].text,
                                 std::regex("Es gibt ungesicherte Änderungen an " + path +
                                            " vom \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d\\. Wiederherstellen\\?")));
    EXPECT_EQ(next.prompt.shown[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(next.Bytes(), expected);
    EXPECT_TRUE(next.document->HasUnsavedChanges());
    EXPECT_EQ(next.document->PathName(), path);

    // The restored edits stay protected: a further edit goes on in the same journal.
    next.view.SetCursorOffset(10, false);
    next.TypeHex("55");
    expected = next.Bytes();
    ASSERT_TRUE(next.document->FileSave());
    EXPECT_EQ(TempDir::Read(path), expected);
    EXPECT_EQ(JournalCount(), 0u);
}

TEST_F(DocumentJournalTest, NoAsksAgainAndCancelOpensNothing)
{
    const std::string path = dir.Write("data.bin", Pattern(300));
    {
        EditorRun run(folder);
        run.document->FileOpen(path);
        run.TypeHex("AA");
        ASSERT_TRUE(run.journal->SecureForStop());
    }
    EditorRun next(folder);
    next.document->NewDocument();
    // Nein, then Nein to the second question, back to the first: Abbrechen.
    next.prompt.answers = {PromptAnswer::No, PromptAnswer::No, PromptAnswer::Cancel};
    EXPECT_FALSE(next.document->FileOpen(path));
    EXPECT_EQ(next.prompt.shown.size(), 3u);
    EXPECT_EQ(next.prompt.shown[1].text, "Die ungesicherten Änderungen an " + path +
                                             " werden endgültig gelöscht. Wirklich löschen?");
    EXPECT_EQ(next.document->PathName(), "");
    EXPECT_EQ(JournalCount(), 1u);

    next.prompt.answers = {PromptAnswer::No, PromptAnswer::Yes};
    ASSERT_TRUE(next.document->FileOpen(path));
    EXPECT_EQ(next.Bytes(), Pattern(300));
    EXPECT_FALSE(next.document->HasUnsavedChanges());
    EXPECT_EQ(JournalCount(), 0u);
}

TEST_F(DocumentJournalTest, FileChangedSinceRestoresTheBytesTheEditsBeganFrom)
{
    const std::string path = dir.Write("data.bin", Pattern(500));
    const std::vector<uint8_t> expected = TypeAndStop(path, "CAFE");
    dir.Write("data.bin", std::vector<uint8_t>(20, 0xEE));  // another program rewrote it
    EditorRun next(folder);
    next.prompt.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(next.document->FileOpen(path));
    EXPECT_NE(next.prompt.shown[0].text.find("von einem anderen Programm geändert"), std::string::npos);
    EXPECT_EQ(next.Bytes(), expected);
}

TEST_F(DocumentJournalTest, LargeFileKeepsTouchedRegionsAndChecksThemAgainstAChangedFile)
{
    std::vector<uint8_t> original = Pattern(kJournalSnapshotLimit + 4096);
    const std::string path = dir.Write("big.bin", original);
    StartOptions neverMap;
    neverMap.MapMode = -1;
    {
        EditorRun run(folder, neverMap);
        ASSERT_TRUE(run.document->FileOpen(path));
        run.TypeHex("11");
        run.view.SetCursorOffset(9000000, false);
        run.TypeHex("22");
        ASSERT_TRUE(run.journal->SecureForStop());
    }
    // Only a few bytes more than the edits: no copy of 16 MiB.
    ASSERT_LT(std::filesystem::file_size(ListJournals(folder)[0].file), 4096u);
    original[5000] = 0x99;       // untouched by the edits
    original[9000000] = 0x98;    // under the second edit
    dir.Write("big.bin", original);

    EditorRun next(folder, neverMap);
    next.prompt.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(next.document->FileOpen(path));
    EXPECT_NE(next.prompt.shown[0].text.find("nur die geänderten Stellen"), std::string::npos);
    const std::vector<uint8_t> bytes = next.Bytes();
    EXPECT_EQ(bytes[0], 0x11);
    EXPECT_EQ(bytes[5000], 0x99);
    EXPECT_EQ(bytes[9000000], 0x22);
    ASSERT_EQ(next.prompt.shown.size(), 2u);
    EXPECT_EQ(next.prompt.shown[1].text.rfind("1 Änderung traf auf Bytes", 0), 0u);
}

TEST_F(DocumentJournalTest, JournalCutInItsLastRecordRestoresTheCompleteOnes)
{
    const std::string path = dir.Write("data.bin", Pattern(64));
    TypeAndStop(path, "ABC");
    std::vector<uint8_t> expected = Pattern(64);
    expected[0] = 0xAB;  // the third digit's record is the one cut
    const std::string journal = ListJournals(folder)[0].file;
    std::filesystem::resize_file(journal, std::filesystem::file_size(journal) - 3);

    EditorRun next(folder);
    next.prompt.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(next.document->FileOpen(path));
    EXPECT_NE(next.prompt.shown[0].text.find("beschädigt: 1 Eintrag am Ende ist verloren. Alle vollständigen "
                                             "Änderungen (2) werden wiederhergestellt."),
              std::string::npos)
        << next.prompt.shown[0].text;
    EXPECT_EQ(next.Bytes(), expected);
}

// Another editor may take the journal between the look through the folder and the restore:
// this one then keeps the recovered bytes in a journal of its own and leaves the other's be.
TEST_F(DocumentJournalTest, AJournalAnotherEditorTookIsNeitherContinuedNorDeleted)
{
    const std::string path = dir.Write("data.bin", Pattern(64));
    TypeAndStop(path, "AB");
    const std::string file = ListJournals(folder)[0].file;
    const JournalFileRead read = ReadJournalFile(file);
    ASSERT_TRUE(read.contents);

    std::string error;
    auto otherEditor = JournalWriter::Adopt(file, read.contents->intactLength, read.contents->edits.size(), false, error);
    ASSERT_TRUE(otherEditor) << error;
    EditorRun run(folder);
    run.document->NewDocument();
    for (bool continueIt : {true, false}) {
        run.journal->TakeOver(file, *read.contents, continueIt);
        EXPECT_TRUE(std::filesystem::exists(file)) << continueIt;
    }
    EXPECT_EQ(JournalCount(), 2u);
    EXPECT_TRUE(ListJournals(folder)[0].inUse);
}

TEST_F(DocumentJournalTest, MappedWritableFileNeedsNone)
{
    const std::string path = dir.Write("mapped.bin", Pattern(4096));
    StartOptions mapWritable;
    mapWritable.MapMode = 1;
    mapWritable.AccessMode = -1;
    EditorRun run(folder, mapWritable);
    ASSERT_TRUE(run.document->FileOpen(path));
    run.TypeHex("AB");
    EXPECT_EQ(TempDir::Read(path)[0], 0xAB);
    EXPECT_EQ(JournalCount(), 0u);
    EXPECT_TRUE(run.journal->SecureForStop());
}

TEST_F(DocumentJournalTest, UntitledAndUnreadableJournalsAreListedAtStart)
{
    {
        EditorRun run(folder);
        run.document->NewDocument();
        run.TypeHex("4142");
        ASSERT_TRUE(run.journal->SecureForStop());
    }
    const std::string noise = dir.Write("state/quarnival/recovery/journal-9-9-0.qvj", std::string(300, 'x'));

    EditorRun next(folder);
    next.document->NewDocument();
    std::vector<std::string> lines;
    next.dialogs.steps.push_back([&](DialogModel& model) {
        auto& list = static_cast<RecoveryListDialog&>(model);
        for (const auto& entry : list.Entries()) lines.push_back(entry.text);
        list.Select(lines[0].find("nicht lesbar") != std::string::npos ? 1 : 0);
        // "Löschen" names the document and its date, as the question at an open does.
        next.prompt.answers = {PromptAnswer::No};
        EXPECT_FALSE(list.DeleteSelected());
        return true;
    });
    next.recovery->OfferAtStart();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(std::regex_match(next.prompt.shown.at(0).text,
                                 std::regex("Die ungesicherten Änderungen an Unbenannt vom \\d\\d\\.\\d\\d\\.\\d{4} "
                                            "\\d\\d:\\d\\d werden endgültig gelöscht\\. Wirklich löschen\\?")))
        << next.prompt.shown.at(0).text;
    EXPECT_EQ(next.document->PathName(), "");
    EXPECT_TRUE(next.document->HasUnsavedChanges());
    EXPECT_EQ(next.Bytes()[0], 0x41);
    EXPECT_EQ(next.Bytes()[1], 0x42);

    // The unreadable one: named in the message, kept, and the list comes back.
    next.dialogs.steps.push_back([](DialogModel& model) {
        static_cast<RecoveryListDialog&>(model).Select(0);
        return true;
    });
    size_t offeredAgain = 0;
    next.dialogs.steps.push_back([&](DialogModel& model) {
        offeredAgain = static_cast<RecoveryListDialog&>(model).Entries().size();
        return false;
    });
    next.recovery->OfferAtStart();
    ASSERT_FALSE(next.prompt.shown.empty());
    EXPECT_NE(next.prompt.shown.back().text.find(noise), std::string::npos);
    EXPECT_EQ(TempDir::Read(noise).size(), 300u);
    EXPECT_EQ(offeredAgain, 1u);

    // "Löschen" asks first; "Später" keeps the rest.
    next.prompt.answers = {PromptAnswer::No, PromptAnswer::Yes};
    size_t left = 0;
    next.dialogs.steps.push_back([&](DialogModel& model) {
        auto& list = static_cast<RecoveryListDialog&>(model);
        list.Select(0);
        EXPECT_FALSE(list.DeleteSelected());
        EXPECT_TRUE(list.DeleteSelected());
        left = list.Entries().size();
        return false;
    });
    next.recovery->OfferAtStart();
    EXPECT_EQ(left, 0u);
    EXPECT_FALSE(std::filesystem::exists(noise));
}

TEST_F(DocumentJournalTest, UnwritableFolderMakesTheStopAsk)
{
    dir.Write("blocked", "a file where the folder should be");
    EditorRun run(dir.Path() + "/blocked/recovery");
    run.document->FileOpen(dir.Write("data.bin", Pattern(100)));
    run.TypeHex("12");
    EXPECT_EQ(run.failures.size(), 1u);
    EXPECT_FALSE(run.journal->SecureForStop());
    EXPECT_NE(run.journal->LastError().find("blocked"), std::string::npos);
}

// Whatever the editing does, the journal replayed on the bytes it began from gives the
// bytes the view holds.
TEST_F(DocumentJournalTest, ReplayGivesTheViewsBytesAfterRandomEditing)
{
    const std::string path = dir.Write("data.bin", Pattern(700));
    std::mt19937 random(12345);
    for (int round = 0; round < 8; ++round) {
        EditorRun editor(folder, {}, round % 2 == 0);
        ASSERT_TRUE(editor.document->FileOpen(path));
        test::FakeClipboard clipboard;
        for (int step = 0; step < 200; ++step) {
            editor.view.SetCursorOffset(random() % (editor.view.Length() + 1), false);
            switch (random() % 7) {
            case 0: editor.TypeHex("3"); break;
            case 1: editor.TypeHex("c9"); break;
            case 2: editor.view.HandleKeyDown(KeyInsert, 1, 0); break;
            case 3: editor.view.HandleChar(KeyBack, 1, 0); break;
            case 4: editor.view.UndoRedo(-1); break;
            case 5: editor.view.UndoRedo(1); break;
            case 6:
                clipboard.text = "0x1122334455";
                editor.view.PasteFromClipboard(clipboard, false);
                break;
            }
        }
        const std::vector<uint8_t> expected = editor.Bytes();
        const bool changed = editor.document->HasUnsavedChanges();
        ASSERT_TRUE(editor.journal->SecureForStop());
        const auto journals = ListJournals(folder);
        ASSERT_EQ(journals.size(), changed ? 1u : 0u);
        if (!changed) continue;
        std::string error;
        const auto restored = RestoreFromJournal(*ReadJournalFile(journals[0].file).contents, error);
        ASSERT_TRUE(restored) << error;
        EXPECT_EQ(restored->outcome.bytes, expected) << "round " << round;
        std::filesystem::remove(journals[0].file);
    }
}

}  // namespace
}  // namespace qv
