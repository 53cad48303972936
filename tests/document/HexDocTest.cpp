// SPDX-License-Identifier: GPL-3.0-or-later
// The document's storage decisions, driven with scripted answers against the real view.
#include "document/DocumentTaskRunner.h"
#include "document/HexDoc.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "document/CArrayWriter.h"
#include "document/NewSizeDialog.h"
#include "platform/FileSystem.h"
#include "platform/MappedFile.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/SparseFile.h"
#include "tests/support/TempDir.h"
#include "view/HexView.h"

namespace qv {
namespace {

using test::FakeDialogService;
using test::FakePrompt;
using test::FakeSettingsStore;
using test::TempDir;

class HexDocTest : public ::testing::Test {
protected:
    HexDocTest() { MakeDocument(); }

    // A 3 MiB file of 0x5A mapped writable, then cut to 4096 bytes by "another program".
    std::string OpenMappedThenShortenTo4096(const std::string& name)
    {
        const auto path = dir.Write(name, std::vector<uint8_t>(3 << 20, 0x5A));
        options.MapMode = 1;
        options.AccessMode = -1;
        EXPECT_TRUE(doc->FileOpen(path));
        EXPECT_EQ(::truncate(path.c_str(), 4096), 0);
        return path;
    }

    void MakeDocument()
    {
        doc.reset();
        DocumentServices services;
        services.prompt = &prompt;
        services.dialogs = &dialogs;
        services.settings = &settings;
        services.startOptions = &options;
        services.askSavePath = [this](const std::string&) { return savePath; };
        services.recentFiles = [this] { return recent; };
        services.openFile = [this](const std::string& path) { opened.push_back(path); };
        services.removeRecentFile = [this](const std::string& path) { removed.push_back(path); };
        services.write = write;
        doc = std::make_unique<CHexDoc>(services);
        doc->AttachView(&view);
    }

    std::vector<uint8_t> ViewBytes() const
    {
        int64_t length = 0;
        const uint8_t* data = view.GetBuffer(&length, nullptr);
        return std::vector<uint8_t>(data, data + length);
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& shown : prompt.shown) texts.push_back(shown.text);
        return texts;
    }

    static void Answer(FakeDialogService& dialogs, const std::string& size)
    {
        dialogs.steps.push_back([size](DialogModel& model) {
            static_cast<NewSizeDialog&>(model).sizeText = size;
            return true;
        });
    }

    TempDir dir;
    FakePrompt prompt;
    FakeDialogService dialogs;
    FakeSettingsStore settings;
    StartOptions options;
    std::optional<std::string> savePath;
    std::vector<std::string> recent, opened, removed;
    WriteFunction write;
    CHexView view;
    std::unique_ptr<CHexDoc> doc;
};

TEST_F(HexDocTest, FirstNewDocumentHas256ZeroBytesWithoutDialogOrChangedMark)
{
    ASSERT_TRUE(doc->NewDocument());
    EXPECT_EQ(ViewBytes(), std::vector<uint8_t>(256, 0));
    EXPECT_TRUE(dialogs.opened.empty());
    EXPECT_FALSE(doc->HasUnsavedChanges());
    EXPECT_EQ(doc->Title(), "Unbenannt");
}

TEST_F(HexDocTest, LaterNewDocumentsAskTheSizeAndCountAsChanged)
{
    ASSERT_TRUE(doc->NewDocument());
    Answer(dialogs, "0x100+16");
    ASSERT_TRUE(doc->NewDocument());
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"NewSize"});
    EXPECT_EQ(ViewBytes().size(), 272u);
    EXPECT_TRUE(doc->HasUnsavedChanges());
}

TEST_F(HexDocTest, NewSizeIsCutTo64KWithAWarningAndZeroGivesAnEmptyDocument)
{
    ASSERT_TRUE(doc->NewDocument());
    Answer(dialogs, "65537");
    ASSERT_TRUE(doc->NewDocument());
    EXPECT_EQ(ViewBytes().size(), 65536u);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].icon, PromptIcon::Warning);
    EXPECT_NE(prompt.shown[0].text.find("64kByte"), std::string::npos);

    Answer(dialogs, "65536");
    ASSERT_TRUE(doc->NewDocument());
    EXPECT_EQ(ViewBytes().size(), 65536u);
    EXPECT_EQ(prompt.shown.size(), 1u);

    Answer(dialogs, "-1");  // negative counts as large
    ASSERT_TRUE(doc->NewDocument());
    EXPECT_EQ(prompt.shown.size(), 2u);

    Answer(dialogs, "0");
    ASSERT_TRUE(doc->NewDocument());
    EXPECT_TRUE(ViewBytes().empty());
}

TEST_F(HexDocTest, CancelledSizeDialogLeavesAnEmptyUntitledDocument)
{
    ASSERT_TRUE(doc->NewDocument());
    EXPECT_FALSE(doc->NewDocument());  // no scripted answer: cancelled
    EXPECT_TRUE(ViewBytes().empty());
    EXPECT_EQ(doc->Title(), "Unbenannt");
}

TEST_F(HexDocTest, BelowTwoMegabytesLoadsWithoutQuestionFromTwoMegabytesAsksForMapping)
{
    const auto small = dir.Write("small.dat", std::vector<uint8_t>(2097151, 0x5A));
    ASSERT_TRUE(doc->FileOpen(small));
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_FALSE(doc->IsMapped());
    EXPECT_EQ(ViewBytes().size(), 2097151u);

    const auto big = dir.Write("big.dat", std::vector<uint8_t>(2097152, 0xA5));
    prompt.answers = {PromptAnswer::No};
    ASSERT_TRUE(doc->FileOpen(big));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Die Datei ist größer als 2 MByte\nSoll sie im MemmoryMap Modus geöffnet werden ?");
    EXPECT_FALSE(doc->IsMapped());
    EXPECT_EQ(doc->PathName(), big);
}

TEST_F(HexDocTest, WritableMapChangesTheFileAtOnceAndDisablesSaving)
{
    const auto path = dir.Write("map.bin", std::vector<uint8_t>(4096, 0));
    options.MapMode = 1;
    options.AccessMode = -1;
    ASSERT_TRUE(doc->FileOpen(path));
    ASSERT_TRUE(doc->IsMapped());
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(view.QueryHexFlags() & FlagReadOnly, 0u);
    EXPECT_FALSE(doc->CanSave());
    EXPECT_EQ(view.InsertState(), -1);

    view.GetBuffer(nullptr, nullptr)[10] = 0x77;
    view.SetModified(true);
    EXPECT_FALSE(doc->HasUnsavedChanges());
    EXPECT_TRUE(doc->SaveModified());
    EXPECT_TRUE(prompt.shown.empty());  // closing a mapped file asks nothing
    EXPECT_EQ(TempDir::Read(path)[10], 0x77);

    // A writable map is exclusive: nobody else maps the file writable while it is open.
    MappedFile::Error error;
    EXPECT_EQ(MappedFile::Open(path, true, error), nullptr);
    EXPECT_EQ(error, MappedFile::Error::CannotOpen);
}

TEST_F(HexDocTest, FilesAroundTheThirtyTwoBitLimitsAreMappedWhole)
{
    // The view has no window (no size) yet, as at start-up.
    options.AccessMode = 1;
    for (const int64_t size : {int64_t{0x7FFFFFFF}, int64_t{0x80000000}, int64_t{0xFFFFFFFF}, int64_t{0x100000001}}) {
        const std::string path = dir.File("limit.bin");
        test::MakeSparseFile(path, size, {{size - 1, "Z"}});
        prompt.shown.clear();
        prompt.answers = {PromptAnswer::Yes};  // "Die Datei ist größer als 2 MByte ..."
        ASSERT_TRUE(doc->FileOpen(path)) << size;
        ASSERT_TRUE(doc->IsMapped());
        EXPECT_EQ(prompt.shown.at(0).text.rfind("Die Datei ist größer als 2 MByte", 0), 0u);
        EXPECT_EQ(doc->Length(), size);
        EXPECT_EQ(view.Length(), size);
        RowText row;
        view.BuildRow(view.LineCount() - 1, false, row);
        EXPECT_NE(std::string(row.chars.data(), static_cast<size_t>(row.length)).find("5A"), std::string::npos);
        doc->CloseContents();
    }
}

TEST_F(HexDocTest, ReadOnlyMapIsAskedForSharedAndRefusesEdits)
{
    const auto path = dir.Write("map.bin", std::vector<uint8_t>(4096, 1));
    options.MapMode = 1;
    prompt.answers = {PromptAnswer::Yes};  // "Die Schreib-Erlaubnis sperren ?"
    ASSERT_TRUE(doc->FileOpen(path));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text.rfind("Die Schreib-Erlaubnis sperren ?", 0), 0u);
    EXPECT_NE(view.QueryHexFlags() & FlagReadOnly, 0u);

    MappedFile::Error error;
    EXPECT_NE(MappedFile::Open(path, false, error), nullptr);  // others may read
    EXPECT_EQ(MappedFile::Open(path, true, error), nullptr);   // but not write
}

TEST_F(HexDocTest, FailedMapOpenReportsAndLeavesAnEmptyDocument)
{
    options.MapMode = 1;
    options.AccessMode = 1;
    EXPECT_FALSE(doc->FileOpen(dir.File("missing.bin")));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Fehler beim öffnen von :\n" + dir.File("missing.bin"));
    EXPECT_TRUE(ViewBytes().empty());

    const auto empty = dir.Write("empty.bin", std::vector<uint8_t>{});
    EXPECT_FALSE(doc->FileOpen(empty));
    EXPECT_EQ(prompt.shown.back().text, "Zugriffs Fehler");
    EXPECT_FALSE(doc->IsMapped());
}

TEST_F(HexDocTest, AfterAMappedFileAChangedNormalDocumentAsksAgain)
{
    const auto path = dir.Write("map.bin", std::vector<uint8_t>(64, 0));
    options.MapMode = 1;
    options.AccessMode = -1;
    ASSERT_TRUE(doc->FileOpen(path));
    options = {};
    prompt.shown.clear();
    ASSERT_TRUE(doc->FileOpen(dir.Write("plain.dat", std::vector<uint8_t>(8, 0))));
    view.SetModified(true);
    prompt.answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(doc->SaveModified());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("speichern?"), std::string::npos);
}

TEST_F(HexDocTest, FormatQuestionsByExtension)
{
    // C source answered with No: the text is loaded as bytes.
    const auto c = dir.Write("table.c", std::string("{ 1, 2 }"));
    prompt.answers = {PromptAnswer::No};
    ASSERT_TRUE(doc->FileOpen(c));
    EXPECT_EQ(Texts(), std::vector<std::string>{"Die Datei im C++ Format laden ?"});
    EXPECT_EQ(prompt.shown[0].caption, "Welches Format");
    EXPECT_EQ(ViewBytes().size(), 8u);

    // A 256-byte .bin starting with QVCD is plain binary without a question, 257 bytes ask.
    std::vector<uint8_t> container(256, 0);
    std::copy_n("QVCD", 4, container.begin());
    prompt.shown.clear();
    ASSERT_TRUE(doc->FileOpen(dir.Write("a.bin", container)));
    EXPECT_TRUE(prompt.shown.empty());
    container.push_back(0);
    prompt.answers = {PromptAnswer::No};
    ASSERT_TRUE(doc->FileOpen(dir.Write("b.BIN", container)));
    EXPECT_EQ(Texts(), std::vector<std::string>{"Die Datei im komprimierten Format laden ?"});

    // Intel HEX: Cancel reads binary; the I option asks nothing.
    prompt.shown.clear();
    prompt.answers = {PromptAnswer::Cancel};
    ASSERT_TRUE(doc->FileOpen(dir.Write("fw.hex", std::string(":00000001FF\n"))));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(ViewBytes().size(), 12u);
}

TEST_F(HexDocTest, BadFilesGiveTheirMessagesAndAnEmptyDocument)
{
    EXPECT_FALSE(doc->FileOpen(dir.File("nope.bin")));
    EXPECT_EQ(Texts().back(), dir.File("nope.bin") + " wurde nicht gefunden.");
    EXPECT_FALSE(doc->FileOpen(dir.Path()));
    EXPECT_EQ(Texts().back(), "Zugriff auf " + dir.Path() + " wurde verwehrt.");
    EXPECT_TRUE(ViewBytes().empty());
    EXPECT_EQ(doc->Title(), "Unbenannt");

    // A file of 2 GiB is too large for a heap block: the message names the mapped mode.
    const auto huge = dir.File("huge.bin");
    ASSERT_EQ(::truncate(dir.Write("huge.bin", std::string()).c_str(), 0x80000000LL), 0);
    prompt.answers = {PromptAnswer::No};
    EXPECT_FALSE(doc->FileOpen(huge));
    EXPECT_EQ(Texts().back(), huge + "\nist 2 GByte groß oder größer und kann nur im MemmoryMap Modus geöffnet werden.");
    EXPECT_FALSE(doc->IsMapped());
    prompt.answers = {};

    if (::geteuid() != 0) {  // root may read anything
        const auto locked = dir.Write("locked.bin", std::string("x"));
        ::chmod(locked.c_str(), 0);
        EXPECT_FALSE(doc->FileOpen(locked));
        EXPECT_EQ(Texts().back(), "Zugriff auf " + locked + " wurde verwehrt.");
    }
}

TEST_F(HexDocTest, FailedOpenAfterEditsLeavesAnUnchangedUntitledDocument)
{
    ASSERT_TRUE(doc->FileOpen(dir.Write("y.bin", std::vector<uint8_t>(8, 0))));
    view.OnCharKey('7', 0);
    view.OnCharKey('7', 0);
    ASSERT_TRUE(doc->HasUnsavedChanges());
    // How many messages had been shown when the title became "Unbenannt".
    std::optional<size_t> shownWhenUntitled;
    doc->onTitleChanged = [&] {
        if (doc->Title() == "Unbenannt" && !shownWhenUntitled) shownWhenUntitled = prompt.shown.size();
    };

    prompt.answers = {PromptAnswer::No};
    EXPECT_FALSE(doc->FileOpen(dir.File("x.bin")));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Änderungen in " + dir.File("y.bin") + " speichern?",
                                                 dir.File("x.bin") + " wurde nicht gefunden."}));
    // The old document is gone before the error is told, and the title says so.
    EXPECT_EQ(shownWhenUntitled, std::optional<size_t>(1));
    EXPECT_EQ(doc->Title(), "Unbenannt");
    EXPECT_FALSE(doc->HasUnsavedChanges());
    EXPECT_FALSE(doc->ChangedFlag());

    // Another open and a new document ask nothing about the empty one; a failed mapped open neither.
    prompt.shown.clear();
    EXPECT_FALSE(doc->FileOpen(dir.File("x.bin")));
    options.MapMode = 1;
    options.AccessMode = 1;
    EXPECT_FALSE(doc->FileOpen(dir.File("x.bin")));
    EXPECT_FALSE(doc->HasUnsavedChanges());
    ASSERT_TRUE(doc->FileNew());
    for (const auto& text : Texts()) EXPECT_EQ(text.find("speichern?"), std::string::npos) << text;

    // Edits given up for a new document whose size dialog is cancelled are gone as well.
    view.OnCharKey('7', 0);
    prompt.answers = {PromptAnswer::No};
    EXPECT_FALSE(doc->FileNew());
    EXPECT_TRUE(ViewBytes().empty());
    EXPECT_FALSE(doc->HasUnsavedChanges());
}

TEST_F(HexDocTest, SaveWritesExactlyTheViewsBytesAndClearsTheChangedMark)
{
    const auto path = dir.Write("data.bin", std::vector<uint8_t>{1, 2, 3, 4});
    ASSERT_TRUE(doc->FileOpen(path));
    view.GetBuffer(nullptr, nullptr)[1] = 9;
    view.SetModified(true);
    ASSERT_TRUE(doc->FileSave());
    EXPECT_EQ(TempDir::Read(path), (std::vector<uint8_t>{1, 9, 3, 4}));
    EXPECT_FALSE(doc->HasUnsavedChanges());
}

TEST_F(HexDocTest, FailedSaveKeepsTheOldFileWholeAndReportsTheDiskFull)
{
    const auto path = dir.Write("keep.bin", std::vector<uint8_t>(100000, 0x11));
    write = [calls = 0](int fd, const void* data, size_t size) mutable -> ssize_t {
        if (++calls > 1) {
            errno = ENOSPC;
            return -1;
        }
        return ::write(fd, data, std::min<size_t>(size, 10));
    };
    MakeDocument();
    ASSERT_TRUE(doc->FileOpen(path));
    view.GetBuffer(nullptr, nullptr)[0] = 0x22;
    view.SetModified(true);
    EXPECT_FALSE(doc->FileSave());
    EXPECT_EQ(Texts().back(), "Beim Zugriff auf " + path + " wurde ein voller Datenträger gemeldet.");
    EXPECT_EQ(TempDir::Read(path), std::vector<uint8_t>(100000, 0x11));
    EXPECT_TRUE(doc->HasUnsavedChanges());
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(HexDocTest, ReadOnlyTargetIsNotWritten)
{
    // Also for root, who could write it: the missing write bit says the file is protected.
    const auto path = dir.Write("ro.bin", std::vector<uint8_t>{7});
    ASSERT_TRUE(doc->FileOpen(path));
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(doc->FileSave());
    EXPECT_EQ(Texts().back(), "Datei kann nicht gespeichert werden !\nSie ist schreib geschützt.");
}

TEST_F(HexDocTest, SaveAsKeepsPermissionsAndAnUntitledDocumentAsksForAPath)
{
    ASSERT_TRUE(doc->NewDocument());
    savePath = dir.File("new.bin");
    ASSERT_TRUE(doc->FileSave());
    EXPECT_EQ(doc->PathName(), *savePath);
    EXPECT_EQ(TempDir::Read(*savePath), std::vector<uint8_t>(256, 0));

    ::chmod(savePath->c_str(), 0640);
    ASSERT_TRUE(doc->FileSave());
    struct stat st {};
    ::stat(savePath->c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(HexDocTest, ReadOnlyStartOptionGivesAReadOnlyViewThatTheDocumentOwns)
{
    options.AccessMode = 1;
    ASSERT_TRUE(doc->FileOpen(dir.Write("r.bin", std::vector<uint8_t>{1, 2})));
    EXPECT_NE(view.QueryHexFlags() & FlagReadOnly, 0u);
    EXPECT_EQ(doc->ViewFlags(), 0u);
    EXPECT_EQ(view.InsertState(), -1);
}

TEST_F(HexDocTest, SavingWhileASectionIsShownWritesOnlyTheSection)
{
    std::vector<uint8_t> bytes(64);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
    const auto path = dir.Write("s.bin", bytes);
    options.BaseAddress = 0x1000;
    ASSERT_TRUE(doc->FileOpen(path));
    doc->ShowSection(0x10, 0x20);
    uint64_t base = 0;
    int64_t length = 0;
    const uint8_t* data = view.GetBuffer(&length, &base);
    EXPECT_EQ(length, 0x20);
    EXPECT_EQ(base, 0x1010u);
    EXPECT_EQ(data[0], 0x10);

    // A section past the end is cut; one starting past the end is empty.
    doc->ShowSection(60, 100);
    view.GetBuffer(&length, nullptr);
    EXPECT_EQ(length, 4);
    doc->ShowSection(100, 4);
    view.GetBuffer(&length, nullptr);
    EXPECT_EQ(length, 0);

    doc->ShowSection(0x10, 0x20);
    view.GetBuffer(nullptr, nullptr)[0] = 0xEE;  // an edit in the section
    prompt.shown.clear();
    // Asked first: Abbrechen writes nothing, Nein the whole document with the edit.
    prompt.answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(doc->SaveDocument(path));
    EXPECT_EQ(TempDir::Read(path), bytes);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Es ist nur ein Ausschnitt eingeblendet. Nur den Ausschnitt speichern? Die übrigen "
                                    "32 Bytes der Datei gehen verloren.");
    EXPECT_EQ(prompt.shown[0].buttons, PromptButtons::YesNoCancel);
    prompt.answers = {PromptAnswer::No};
    ASSERT_TRUE(doc->SaveDocument(path));
    std::vector<uint8_t> edited = bytes;
    edited[0x10] = 0xEE;
    EXPECT_EQ(TempDir::Read(path), edited);
    // Ja keeps the section's save.
    prompt.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(doc->SaveDocument(path));
    EXPECT_EQ(TempDir::Read(path), std::vector<uint8_t>(edited.begin() + 0x10, edited.begin() + 0x30));
    // The whole document shown again: nothing to ask.
    doc->ShowSection(0, 64);
    const size_t asked = prompt.shown.size();
    ASSERT_TRUE(doc->SaveDocument(path));
    EXPECT_EQ(prompt.shown.size(), asked);
    doc->CloseContents();  // releases the whole block once (the sanitizer build checks it)
}

TEST_F(HexDocTest, SectionIsCutFromTheViewsCurrentBlock)
{
    ASSERT_TRUE(doc->FileOpen(dir.Write("s.bin", std::vector<uint8_t>{1, 2, 3})));
    // The view swaps in another owned block, as inserting does.
    uint8_t* grown = ViewBuffer::Allocate(8);
    for (int i = 0; i < 8; ++i) grown[i] = static_cast<uint8_t>(0x40 + i);
    view.SetBuffer(grown, 8, 0, ViewWritable | ViewOwnsBuffer);
    doc->ShowSection(5, 3);
    int64_t length = 0;
    const uint8_t* data = view.GetBuffer(&length, nullptr);
    ASSERT_EQ(length, 3);
    EXPECT_EQ(data[0], 0x45);
}

TEST_F(HexDocTest, ReopenPreviousOpensTheSecondEntryWhenTheFirstIsOpen)
{
    recent = {"/tmp/a.bin", "/tmp/b.bin"};
    doc->ReopenPrevious();
    EXPECT_EQ(opened, std::vector<std::string>{"/tmp/a.bin"});
    const auto path = dir.Write("a.bin", std::vector<uint8_t>{1});
    ASSERT_TRUE(doc->FileOpen(path));
    recent = {path, "/tmp/b.bin"};
    doc->ReopenPrevious();
    EXPECT_EQ(opened.back(), "/tmp/b.bin");
    recent = {path};
    opened.clear();
    doc->ReopenPrevious();
    EXPECT_TRUE(opened.empty());
}

TEST_F(HexDocTest, InsertModeSettingFollowsTheSizeLimitAndPersists)
{
    doc.reset();  // the old document writes its own setting when it goes
    settings.WriteDword("", "PasteMode", 32);
    MakeDocument();
    ASSERT_TRUE(doc->FileOpen(dir.Write("limit.bin", std::vector<uint8_t>(131072, 0))));
    EXPECT_EQ(view.InsertState(), 1);
    EXPECT_TRUE(doc->InsertModeState().enabled);
    EXPECT_TRUE(doc->InsertModeState().checked);

    ASSERT_TRUE(doc->FileOpen(dir.Write("over.bin", std::vector<uint8_t>(131073, 0))));
    EXPECT_EQ(view.InsertState(), -1);
    EXPECT_FALSE(doc->InsertModeState().enabled);
    EXPECT_FALSE(doc->InsertModeState().checked);

    ASSERT_TRUE(doc->FileOpen(dir.Write("small.bin", std::vector<uint8_t>(16, 0))));
    doc->ToggleInsertMode();
    EXPECT_EQ(doc->PasteMode(), 0u);
    EXPECT_EQ(view.InsertState(), 0);
    doc.reset();
    EXPECT_EQ(settings.ReadDword("", "PasteMode"), 0u);

    settings.WriteDword("", "PasteMode", 7);  // anything but 32 counts as 0
    MakeDocument();
    EXPECT_EQ(doc->PasteMode(), 0u);
}

// ---- files changed by others, special files, limits of the formats ------------------------

TEST_F(HexDocTest, AMappedFileShortenedByAnotherProgramKeepsTheEditorAliveAndTurnsReadOnly)
{
    const std::string path = OpenMappedThenShortenTo4096("big.bin");

    // Drawing the last row reads past the new end: zeros instead of a bus error.
    int64_t length = 0;
    const uint8_t* data = view.GetBuffer(&length, nullptr);
    EXPECT_EQ(static_cast<const volatile uint8_t*>(data)[length - 1], 0);
    view.GetBuffer(nullptr, nullptr)[length - 2] = 0x11;  // a write there goes nowhere, harmlessly

    doc->CheckMapFault();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("verkürzt"), std::string::npos);
    EXPECT_NE(prompt.shown[0].text.find("4096"), std::string::npos);
    EXPECT_NE(view.QueryHexFlags() & FlagReadOnly, 0u);  // nothing more is written into the map
    EXPECT_EQ(ViewBytes().size(), 4096u);
    EXPECT_EQ(ViewBytes()[0], 0x5A);
    doc->CheckMapFault();
    EXPECT_EQ(prompt.shown.size(), 1u);  // told once
    EXPECT_EQ(TempDir::Read(path), std::vector<uint8_t>(4096, 0x5A));
}

TEST_F(HexDocTest, AFileMappedWritableElsewhereOpensReadOnlyAndIsNotSavedOver)
{
    const auto path = dir.Write("shared.bin", std::vector<uint8_t>(64, 1));
    MappedFile::Error error;
    auto otherInstance = MappedFile::Open(path, true, error);
    ASSERT_NE(otherInstance, nullptr);

    ASSERT_TRUE(doc->FileOpen(path));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("nur zum Lesen"), std::string::npos);
    EXPECT_NE(view.QueryHexFlags() & FlagReadOnly, 0u);
    EXPECT_FALSE(doc->FileSave());
    EXPECT_EQ(Texts().back(),
              "Schreiben auf " + path + " ist nicht möglich, da schreibgeschützt oder von anderem Anwender geöffnet.");

    // Mapped, too: read-only without the question, showing the other instance's bytes.
    options.MapMode = 1;
    ASSERT_TRUE(doc->FileOpen(path));
    EXPECT_TRUE(doc->IsMapped());
    EXPECT_NE(view.QueryHexFlags() & FlagReadOnly, 0u);
    EXPECT_EQ(prompt.shown.back().text, prompt.shown[0].text);
}

TEST_F(HexDocTest, AFileChangedOnDiskIsNoticedAndOnlySavedOverWhenTheUserSaysSo)
{
    const auto path = dir.Write("c.bin", std::vector<uint8_t>{1, 2, 3});
    ASSERT_TRUE(doc->FileOpen(path));
    doc->CheckFileOnDisk();
    EXPECT_TRUE(prompt.shown.empty());  // nothing changed

    dir.Write("other.bin", std::vector<uint8_t>{9, 9});
    std::filesystem::rename(dir.File("other.bin"), path);  // another program saves by rename
    doc->CheckFileOnDisk();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("von einem anderen Programm geändert"), std::string::npos);
    EXPECT_TRUE(doc->HasUnsavedChanges());  // the bytes shown are not the file's any more
    doc->CheckFileOnDisk();
    EXPECT_EQ(prompt.shown.size(), 1u);  // told once

    prompt.answers = {PromptAnswer::No};
    EXPECT_FALSE(doc->FileSave());
    EXPECT_EQ(prompt.shown.back().buttons, PromptButtons::YesNo);
    EXPECT_EQ(TempDir::Read(path), (std::vector<uint8_t>{9, 9}));
    EXPECT_TRUE(doc->HasUnsavedChanges());
    prompt.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(doc->FileSave());
    EXPECT_EQ(TempDir::Read(path), (std::vector<uint8_t>{1, 2, 3}));
    const size_t asked = prompt.shown.size();
    ASSERT_TRUE(doc->FileSave());  // our own save is the file's state now: no question
    EXPECT_EQ(prompt.shown.size(), asked);

    // Rewritten in place with the same size: the modification time tells.
    std::vector<uint8_t> same{4, 5, 6};
    struct timespec later[2] = {{0, UTIME_OMIT}, {2000000000, 0}};
    dir.Write("c.bin", same);
    ::utimensat(AT_FDCWD, path.c_str(), later, 0);
    prompt.answers = {PromptAnswer::No};
    EXPECT_FALSE(doc->FileSave());
    EXPECT_EQ(TempDir::Read(path), same);
}

TEST_F(HexDocTest, ChangesMadeWhileAQuestionIsOpenAreNeverOverwrittenUnasked)
{
    // Another program rewrites the file while a question is open.
    auto rewriteWhenAsked = [this](const std::string& path, const std::string& question) {
        prompt.onShow = [this, path, question] {
            if (prompt.shown.back().text != question) return;
            dir.Write(FileNameOf(path), std::string("NEW-FROM-OTHER-PROGRAM"));
            struct timespec later[2] = {{0, UTIME_OMIT}, {4000000000, 0}};
            ::utimensat(AT_FDCWD, path.c_str(), later, 0);
        };
    };
    // While opening: the stamp is that of the bytes read, so the change is told and asked about.
    const auto path = dir.Write("data.c", std::string("0x01,0x02,\r\n"));
    rewriteWhenAsked(path, "Die Datei im C++ Format laden ?");
    prompt.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(doc->FileOpen(path));
    prompt.onShow = nullptr;
    EXPECT_EQ(ViewBytes(), (std::vector<uint8_t>{1, 2}));
    doc->CheckFileOnDisk();
    EXPECT_NE(Texts().back().find("von einem anderen Programm geändert"), std::string::npos);
    prompt.answers = {PromptAnswer::Yes, PromptAnswer::No};  // C++ format: yes; overwrite: no
    EXPECT_FALSE(doc->FileSave());
    EXPECT_EQ(TempDir::Read(path), std::vector<uint8_t>(std::begin("NEW-FROM-OTHER-PROGRAM"),
                                                        std::end("NEW-FROM-OTHER-PROGRAM") - 1));

    // While saving: checked after the format question, right before writing.
    const auto hex = dir.Write("image.hex", std::vector<uint8_t>{1, 2, 3});
    view.SetModified(false);
    prompt.answers = {PromptAnswer::Cancel};  // read as binary
    ASSERT_TRUE(doc->FileOpen(hex));
    prompt.shown.clear();
    rewriteWhenAsked(hex, "Im Intel HEX-Format speichern ?");
    prompt.answers = {PromptAnswer::No, PromptAnswer::No};  // binary; do not overwrite
    EXPECT_FALSE(doc->FileSave());
    prompt.onShow = nullptr;
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_NE(prompt.shown[1].text.find("trotzdem überschrieben"), std::string::npos);
    EXPECT_EQ(TempDir::Read(hex).size(), 22u);
    prompt.answers = {PromptAnswer::No, PromptAnswer::Yes};
    ASSERT_TRUE(doc->FileSave());
    EXPECT_EQ(TempDir::Read(hex), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(HexDocTest, LongWorkThatMetPagesTheFileLostDoesNotFinish)
{
    InlineTaskRunner inline_;
    DocumentTaskRunner runner(inline_, *doc);
    const auto readLast = [this](TaskProgress&) {
        int64_t length = 0;
        const uint8_t* data = view.GetBuffer(&length, nullptr);
        EXPECT_EQ(static_cast<const volatile uint8_t*>(data)[length - 1], 0x5A);
    };
    ASSERT_TRUE(doc->FileOpen(dir.Write("whole.bin", std::vector<uint8_t>(3 << 20, 0x5A))));
    EXPECT_TRUE(runner.Run("Suchen", readLast));

    OpenMappedThenShortenTo4096("cut.bin");
    EXPECT_FALSE(runner.Run("Suchen", [&](TaskProgress&) {
        int64_t length = 0;
        const uint8_t* data = view.GetBuffer(&length, nullptr);
        EXPECT_EQ(static_cast<const volatile uint8_t*>(data)[length - 1], 0);  // a zero in place of the lost page
    }));
    doc->CheckMapFault();  // told once: work after that reads the detached bytes as they are
    EXPECT_TRUE(runner.Run("Suchen", [](TaskProgress&) {}));
}

TEST_F(HexDocTest, SavingOverAFileShortenedUnderItsMapSaysWhatHappened)
{
    const std::string path = OpenMappedThenShortenTo4096("short.bin");
    doc->CheckFileOnDisk();
    ASSERT_TRUE(doc->CanSave());
    EXPECT_FALSE(doc->FileSave());
    EXPECT_EQ(Texts().back(), "Die Datei " + path + " wurde von einem anderen Programm verändert und wird deshalb "
                              "nicht überschrieben.\nDas Gezeigte lässt sich mit \"Speichern unter\" unter einem "
                              "anderen Namen sichern.");
    EXPECT_EQ(std::filesystem::file_size(path), 4096u);
    savePath = dir.File("elsewhere.bin");
    ASSERT_TRUE(doc->FileSaveAs());
    EXPECT_EQ(TempDir::Read(*savePath), std::vector<uint8_t>(4096, 0x5A));
}

TEST_F(HexDocTest, AMapsFileReadBytesAreTheViewsBytesEditsIncludedAndOnlyWhileTheyAreTheFiles)
{
    std::vector<uint8_t> bytes(3 << 20);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
    const auto path = dir.Write("read.bin", bytes);
    options.MapMode = 1;
    options.AccessMode = -1;
    ASSERT_TRUE(doc->FileOpen(path));
    const uint8_t typed[2] = {0xAB, 0xCD};
    view.OverwriteBytes(0x200000 - 1, typed, 2);  // across a page and an old read's end
    const IByteSource* file = doc->FileReadBytes();
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->Size(), view.Length());
    std::vector<uint8_t> scratch;
    bytes[0x200000 - 1] = 0xAB, bytes[0x200000] = 0xCD;
    for (int64_t at : {int64_t{0}, int64_t{0x1FFF00}, int64_t{(3 << 20) - 10}}) {
        const auto window = file->Window(at, 0x200, scratch);
        const size_t expected = std::min<size_t>(0x200, bytes.size() - static_cast<size_t>(at));
        EXPECT_TRUE(std::equal(window.begin(), window.end(), bytes.begin() + at)) << at;
        EXPECT_EQ(window.size(), expected) << at;
    }
    doc->ShowSection(0x10, 0x20);
    EXPECT_EQ(doc->FileReadBytes(), nullptr);

    // A document in memory has no file to read.
    options.MapMode = -1;
    ASSERT_TRUE(doc->FileOpen(dir.Write("small.bin", std::vector<uint8_t>{1, 2})));
    EXPECT_EQ(doc->FileReadBytes(), nullptr);
}

TEST_F(HexDocTest, AWritableMapWhoseFileWasReplacedStopsEditingAndKeepsItsBytes)
{
    const auto path = dir.Write("m.bin", std::vector<uint8_t>(8192, 3));
    options.MapMode = 1;
    options.AccessMode = -1;
    ASSERT_TRUE(doc->FileOpen(path));
    view.GetBuffer(nullptr, nullptr)[0] = 0x44;
    view.SetModified(true);  // as typing does
    dir.Write("new.bin", std::vector<uint8_t>(10, 7));
    std::filesystem::rename(dir.File("new.bin"), path);

    doc->CheckFileOnDisk();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("ersetzt"), std::string::npos);
    EXPECT_NE(view.QueryHexFlags() & FlagReadOnly, 0u);
    doc->CheckFileOnDisk();
    EXPECT_EQ(prompt.shown.size(), 1u);  // told once
    // The shown bytes can still be kept: saving is possible, and closing asks.
    EXPECT_TRUE(doc->CanSave());
    EXPECT_TRUE(doc->HasUnsavedChanges());
    savePath = dir.File("kept.bin");
    ASSERT_TRUE(doc->FileSaveAs());
    std::vector<uint8_t> kept(8192, 3);
    kept[0] = 0x44;
    EXPECT_EQ(TempDir::Read(*savePath), kept);
    EXPECT_EQ(TempDir::Read(path), std::vector<uint8_t>(10, 7));
}

TEST_F(HexDocTest, SpecialFilesAreRefusedAtOpenAndNeverReplacedBySaving)
{
    const auto fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    EXPECT_FALSE(doc->FileOpen(fifo));  // returns: nothing waits for a writer
    EXPECT_EQ(Texts().back(), fifo + " ist keine gewöhnliche Datei (Gerät, FIFO oder Socket) und kann nicht geöffnet werden.");
    EXPECT_EQ(doc->Title(), "Unbenannt");
    options.MapMode = 1;
    EXPECT_FALSE(doc->FileOpen(fifo));
    EXPECT_EQ(Texts().back(), Texts()[0]);
    options = {};

    ASSERT_TRUE(doc->NewDocument());
    savePath = fifo;
    EXPECT_FALSE(doc->FileSaveAs());
    EXPECT_EQ(Texts().back(), fifo + " ist keine gewöhnliche Datei und kann nicht überschrieben werden.");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));

    const auto device = dir.File("null");
    if (::geteuid() == 0 && ::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        EXPECT_FALSE(doc->FileOpen(device));
        EXPECT_NE(Texts().back().find("keine gewöhnliche Datei"), std::string::npos);
        ASSERT_TRUE(doc->FileOpen(dir.Write("d.bin", std::string("d"))));
        savePath = device;
        EXPECT_FALSE(doc->FileSaveAs());
        EXPECT_TRUE(std::filesystem::is_character_file(device));
    }
}

TEST_F(HexDocTest, AFormatTooSmallForTheDocumentAsksAndAPartialSaveStaysChanged)
{
    options.MapMode = -1;
    const auto source = dir.Write("large.bin", std::vector<uint8_t>(kCArrayMaxBytes + 5, 0xAB));
    ASSERT_TRUE(doc->FileOpen(source));

    // Nein cancels: nothing is written.
    savePath = dir.File("large.c");
    prompt.answers = {PromptAnswer::Yes, PromptAnswer::No};
    EXPECT_FALSE(doc->FileSaveAs());
    EXPECT_EQ(Texts().back(), "Das C++-Format kann höchstens 16777216 Bytes aufnehmen, das Dokument hat 16777221 Bytes.\n"
                              "Nur die ersten 16777216 Bytes speichern ?");
    EXPECT_FALSE(std::filesystem::exists(*savePath));

    // Ja saves the part that fits; the document still differs from that file.
    prompt.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
    ASSERT_TRUE(doc->FileSaveAs());
    EXPECT_EQ(std::filesystem::file_size(*savePath), kCArrayMaxBytes / 16 * (16 * 5 + 2));
    EXPECT_TRUE(doc->HasUnsavedChanges());

    // A document that fits asks nothing more than the format.
    view.SetModified(false);
    ASSERT_TRUE(doc->FileOpen(dir.Write("small.bin", std::vector<uint8_t>(16, 1))));
    prompt.shown.clear();
    prompt.answers = {PromptAnswer::Yes};
    savePath = dir.File("small.hex");
    ASSERT_TRUE(doc->FileSaveAs());
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_FALSE(doc->HasUnsavedChanges());

    // Intel HEX cannot reach addresses past 32 bits: refused, nothing written.
    view.SetBaseAddress(0xFFFFFFF8);
    prompt.answers = {PromptAnswer::Yes};
    savePath = dir.File("far.hex");
    EXPECT_FALSE(doc->FileSaveAs());
    EXPECT_EQ(Texts().back(), "Das Intel HEX-Format kann nur Adressen bis 0xFFFFFFFF aufnehmen, das Dokument reicht bis "
                              "0x100000007.");
    EXPECT_FALSE(std::filesystem::exists(*savePath));
}

TEST_F(HexDocTest, SaveErrorsOfMissingFoldersAndFailedOpensLeaveTheRecentList)
{
    ASSERT_TRUE(doc->NewDocument());
    savePath = dir.File("gone/a.bin");
    EXPECT_FALSE(doc->FileSaveAs());
    EXPECT_EQ(Texts().back(), *savePath + " wurde nicht gefunden.");

    EXPECT_FALSE(doc->FileOpen(dir.File("missing.bin")));
    EXPECT_EQ(removed, std::vector<std::string>{dir.File("missing.bin")});
    // A cancelled save question is no failure of the file.
    view.SetModified(true);
    prompt.answers = {PromptAnswer::Cancel};
    const auto there = dir.Write("there.bin", std::string("x"));
    EXPECT_FALSE(doc->FileOpen(there));
    EXPECT_EQ(removed.size(), 1u);
}

}  // namespace
}  // namespace qv
