// SPDX-License-Identifier: GPL-3.0-or-later
// The data window without widgets: pages and their runs, row texts and copies, module
// loading with its questions, the module list, the options dialog and the settings.
#include <gtest/gtest.h>

#include <thread>

#include "modules/DataWindow.h"
#include "modules/DataWindowDialogs.h"
#include "modules/ModuleList.h"
#include "modules/ModuleSet.h"
#include "tests/modules/BmpModule.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/FakeSettingsStore.h"
#include "platform/LongTask.h"
#include "tests/support/TempDir.h"
#include "view/ByteSource.h"

namespace qv {
namespace {

// Four DWORD fields in a header; "Tiefe" nests to show the tree.
constexpr const char* kFieldsModule = R"(MODUL "Felder"
BLOCK "Kopf"
DWORD "Erstes" #H
DWORD "Zweites"
TEXT "Gruppe"
DOWN
WORD "Innen"
UP
EXIT
BLOCK "Anderer"
BYTE "Eins"
EXIT
)";

class DataWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<DataWnd> Create(uint32_t style = kMainFrameDataStyle, int pages = kMainFrameDataPages)
    {
        DataWndServices services;
        services.settings = &settings;
        services.prompt = &prompt;
        services.dialogs = &dialogs;
        services.isReadable = [this](const IByteSource* source, int64_t length) {
            return source == &bytes && length <= static_cast<int64_t>(data.size());
        };
        return std::make_unique<DataWnd>(pages, style, services);
    }
    std::string Module(const std::string& name, const std::string& text) { return dir.Write(name, text); }
    void Feed(DataWnd& window, int64_t start, int64_t length)
    {
        bytes.Reset(data.data(), static_cast<int64_t>(data.size()));
        window.SetData(&bytes, start, length, 0x1000);
    }

    test::FakeSettingsStore settings;
    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    test::TempDir dir;
    std::vector<uint8_t> data = std::vector<uint8_t>(64, 0);
    BlockByteSource bytes;
};

TEST_F(DataWindowTest, ASelectionDecodesFromItsStartAndTheColumnsCountFromThere)
{
    auto window = Create();
    ASSERT_TRUE(window->LoadModule(Module("felder.dfm", kFieldsModule)));
    EXPECT_EQ(window->PageLabel(0), "Kopf");  // the entry point names the page
    EXPECT_EQ(window->PageLabel(3), "Kopf");
    data[0x20] = 0x78;
    data[0x21] = 0x56;
    Feed(*window, 0x20, 16);
    EXPECT_EQ(window->Page(0).startOffset, 0x20);
    EXPECT_EQ(window->Page(0).length, 16);
    ASSERT_EQ(window->RowCount(0), 4);
    EXPECT_EQ(window->ColumnText(0, 0, kColumnName), "Erstes");
    EXPECT_EQ(window->ColumnText(0, 0, kColumnValue), "0x5678 ");
    EXPECT_EQ(window->ColumnText(0, 0, kColumnOffset), "0x0");
    EXPECT_EQ(window->ColumnText(0, 1, kColumnOffset), "0x4");
    EXPECT_EQ(window->ColumnText(0, 1, kColumnSize), "0x4");
    EXPECT_EQ(window->ColumnText(0, 1, kColumnAddress), "0x1024");

    // Keyboard copy joins name, value and the shown columns (the main frame shows Adresse only).
    EXPECT_EQ(window->CopyText(0, 1, -1), "Zweites\t0 \t0x1024");
    EXPECT_EQ(window->CopyText(0, 2, -1), "Gruppe\t0x1028");  // no value text, no empty part
    window->SetOption(kDataOffsetColumn, true);
    window->SetOption(kDataSizeColumn, true);
    EXPECT_EQ(window->CopyText(0, 1, -1), "Zweites\t0 \t0x4\t0x04\t0x1024");
    // The menu copies the column under the click only; beyond the last it is the last.
    EXPECT_EQ(window->CopyText(0, 0, kColumnValue), "0x5678 ");
    EXPECT_EQ(window->CopyText(0, 0, 9), "0x1020");
    EXPECT_EQ(window->CopyText(0, 99, -1), "");
}

TEST_F(DataWindowTest, TheLastByteStartsARunWhoseFieldsDoNotFit)
{
    auto window = Create();
    window->LoadModule(Module("felder.dfm", kFieldsModule));
    Feed(*window, 63, 1);
    ASSERT_GE(window->RowCount(0), 1);
    for (int r = 0; r < window->RowCount(0); ++r) EXPECT_NE(window->ColumnText(0, r, kColumnName), "Erstes");
    // Negative values become 0, the length is cut to the buffer.
    Feed(*window, -5, 1000);
    EXPECT_EQ(window->Page(0).startOffset, 0);
    EXPECT_EQ(window->Page(0).length, 64);
}

TEST_F(DataWindowTest, PagesKeepTheirOwnRunsAndTheSelectedPageIsLimited)
{
    auto window = Create();
    window->LoadModule(Module("felder.dfm", kFieldsModule));
    Feed(*window, 0, 64);
    window->SelectPage(99);
    EXPECT_EQ(window->CurrentPage(), kMainFrameDataPages - 1);
    EXPECT_EQ(window->RowCount(-1), 0);
    window->SelectPage(-3);
    EXPECT_EQ(window->CurrentPage(), 0);
    EXPECT_EQ(window->RowCount(-1), 4);
    EXPECT_EQ(Create(0, 40)->PageCount(), 16);
    EXPECT_EQ(Create(0, 0)->PageCount(), 1);
}

TEST_F(DataWindowTest, ABufferThatIsNoLongerReadableIsForgottenSilently)
{
    auto window = Create();
    window->LoadModule(Module("felder.dfm", kFieldsModule));
    Feed(*window, 0, 64);
    ASSERT_EQ(window->RowCount(0), 4);
    data.resize(8);  // the document shrank under the page
    window->Refresh();
    EXPECT_EQ(window->RowCount(0), 0);
    EXPECT_EQ(window->Page(0).source, nullptr);
    EXPECT_EQ(window->Page(0).bufferLength, 0);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DataWindowTest, ANewBlockInTheViewEmptiesEveryPageThatHadOneEvenAtTheSameAddress)
{
    auto window = Create();
    window->LoadModule(Module("felder.dfm", kFieldsModule));
    Feed(*window, 0x20, 16);
    window->SelectPage(2);
    Feed(*window, 0, 64);
    ASSERT_EQ(window->RowCount(0), 4);
    const uint32_t before = window->Revision(2);
    int changes = 0;
    window->changed = [&] { ++changes; };
    // The new document's block lies where the old one was: the readability check alone would keep the rows.
    window->ForgetBuffers();
    for (int page : {0, 2}) {
        EXPECT_EQ(window->RowCount(page), 0) << page;
        EXPECT_EQ(window->Page(page).source, nullptr) << page;
        EXPECT_EQ(window->Page(page).startOffset, 0) << page;
        EXPECT_EQ(window->Page(page).baseAddress, 0u) << page;
    }
    EXPECT_NE(window->Revision(2), before);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(window->Page(2).entryPoint, 0);  // the page keeps its module and entry point
    window->Refresh();                          // "Aktualisieren" finds nothing to decode
    EXPECT_EQ(window->RowCount(2), 0);
    Feed(*window, 0, 64);                       // F8 fills it again
    EXPECT_EQ(window->RowCount(2), 4);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DataWindowTest, LoadQuestionsOfferTheErrorDialog)
{
    auto window = Create();
    const std::string path = Module("felder.dfm", kFieldsModule);
    ASSERT_TRUE(window->LoadModule(path));
    EXPECT_TRUE(prompt.shown.empty());

    // The second load of the same module: the warning line with line number 0.
    prompt.answers = {PromptAnswer::Yes};
    std::string errorText, caption;
    dialogs.steps.push_back([&](DialogModel& model) {
        auto& errors = static_cast<ModuleErrorDialog&>(model);
        caption = errors.caption;
        errorText = errors.text;
        return true;
    });
    EXPECT_TRUE(window->LoadModule(path));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Modul " + path + " ist fehlerhaft\nFehler anzeigen ?");
    EXPECT_EQ(prompt.shown[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.shown[0].icon, PromptIcon::Error);
    EXPECT_EQ(caption, "Modulfehler in felder.dfm");
    EXPECT_EQ(errorText.rfind("Warnung(0)", 0), 0u) << errorText;

    // Missing files and folders cannot be loaded; "No" shows nothing.
    prompt.answers = {PromptAnswer::No, PromptAnswer::No};
    EXPECT_FALSE(window->LoadModule(dir.File("fehlt.dfm")));
    EXPECT_FALSE(window->LoadModule(dir.Path()));
    ASSERT_EQ(prompt.shown.size(), 3u);
    EXPECT_EQ(prompt.shown[1].text, "Modul " + dir.File("fehlt.dfm") + " konnte nicht geladen werden !\nFehler anzeigen ?");
    EXPECT_EQ(dialogs.opened.size(), 1u);
}

TEST_F(DataWindowTest, AModuleThatLoopsEndsAndSaysSoInItsLastRow)
{
    auto window = Create();
    window->LoadModule(Module("schleife.dfm", "BLOCK \"Ewig\"\nBYTE \"Erstes\"\n:oben GOTO oben\n"));
    Feed(*window, 0, 64);
    ASSERT_EQ(window->RowCount(0), 2);
    EXPECT_EQ(window->ColumnText(0, 0, kColumnName), "Erstes");
    EXPECT_EQ(window->ColumnText(0, 1, kColumnValue), "Modul nach 10000000 Befehlen angehalten");
}

TEST_F(DataWindowTest, TheModuleFileDialogStartsInModulPathOrTheShippedFolderAndRemembersTheFolder)
{
    DataWndServices services;
    services.settings = &settings;
    services.prompt = &prompt;
    services.dialogs = &dialogs;
    services.defaultModuleFolder = "/usr/share/quarnival/modules";
    DataWnd window(8, kMainFrameDataStyle, services);
    const std::string first = Module("felder.dfm", kFieldsModule);
    const std::string second = Module("bmp.dfm", test::kBmpModule);
    std::string folderShown;
    dialogs.steps.push_back([&](DialogModel& model) {
        auto& files = static_cast<ModuleFileDialog&>(model);
        folderShown = files.folder;
        files.chosen = {first, second};
        return true;
    });
    window.ChooseModules(true);
    EXPECT_EQ(folderShown, "/usr/share/quarnival/modules");
    EXPECT_EQ(window.Modules().ModuleName(1), "BMP");
    EXPECT_EQ(settings.ReadString("", "ModulPath"), dir.Path() + "/");
    EXPECT_EQ(ModuleList(settings).Paths(), (std::vector<std::string>{first, second}));
    dialogs.steps.push_back([&](DialogModel& model) {
        folderShown = static_cast<ModuleFileDialog&>(model).folder;
        return false;
    });
    window.ChooseModules(false);
    EXPECT_EQ(folderShown, dir.Path() + "/");
}

TEST_F(DataWindowTest, TheModuleListKeepsEachPathOnceAndRemovesChosenOnes)
{
    ModuleList list(settings);
    EXPECT_TRUE(list.Add("/a/Eins.dfm"));
    EXPECT_TRUE(list.Add("/A/EINS.DFM"));  // case ignored: listed already
    EXPECT_TRUE(list.Add("/a/zwei.dfm"));
    EXPECT_EQ(settings.ReadString("DataWindow", "List2"), "/a/zwei.dfm");
    settings.DeleteValue("DataWindow", "List1");
    EXPECT_TRUE(list.Add("/a/drei.dfm"));  // the first free number
    EXPECT_EQ(settings.ReadString("DataWindow", "List1"), "/a/drei.dfm");
    for (int i = 3; i <= 255; ++i) settings.WriteString("DataWindow", "List" + std::to_string(i), "x");
    EXPECT_FALSE(list.Add("/a/voll.dfm"));

    test::FakeSettingsStore fresh;
    DataWndServices services{&fresh, &prompt, &dialogs, nullptr, {}, nullptr, {}, {}};
    DataWnd window(8, 0, services);
    window.RemoveFromModuleList();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Es sind keine Module geladen !");
    EXPECT_EQ(prompt.shown[0].caption, "Warnung");

    ModuleList(fresh).Add("/m/b.dfm");
    ModuleList(fresh).Add("/m/C.dfm");
    ModuleList(fresh).Add("/m/a.dfm");
    std::vector<std::string> offered;
    dialogs.steps.push_back([&](DialogModel& model) {
        auto& remove = static_cast<ModuleRemoveDialog&>(model);
        offered = remove.paths;
        remove.selected = {"/m/a.dfm", "/m/C.dfm"};
        return true;
    });
    window.RemoveFromModuleList();
    EXPECT_EQ(offered, (std::vector<std::string>{"/m/a.dfm", "/m/b.dfm", "/m/C.dfm"}));
    EXPECT_EQ(ModuleList(fresh).Paths(), std::vector<std::string>{"/m/b.dfm"});
}

TEST_F(DataWindowTest, PagesComeBackWithTheirModuleAndEntryPointAndJunkSettingsAreHarmless)
{
    const std::string path = Module("felder.dfm", kFieldsModule);
    ModuleList(settings).Add(path);
    settings.WriteString("DataWindow", "List7", dir.Path());  // a folder: refused with a question
    {
        auto window = Create();
        DataWindowOptionsDialog* seen = nullptr;
        dialogs.steps.push_back([&](DialogModel& model) {
            auto& options = static_cast<DataWindowOptionsDialog&>(model);
            seen = &options;
            options.entryPoint = options.SortedEntryPoints(options.module).front();  // "Anderer"
            options.showOffset = true;
            return true;
        });
        window->SelectPage(2);
        window->ShowOptions();
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(window->PageLabel(2), "Anderer");
    }
    EXPECT_EQ(settings.ReadString("DataWindow", "Blockname3"), "Anderer");
    EXPECT_EQ(settings.ReadString("DataWindow", "Modulname3"), "Felder");
    EXPECT_EQ(settings.ReadDword("DataWindow", "Style"), kDataOffsetColumn | kDataAddressColumn | kDataFixedFont |
                                                              kDataGridLines);

    settings.WriteString("DataWindow", "Modulname1", std::string(5000, 'x'));
    settings.WriteString("DataWindow", "Blockname2", "\x01\xff junk");
    settings.WriteDword("DataWindow", "Style", 0xFFFFFFFF);
    prompt.shown.clear();
    auto window = Create();
    EXPECT_EQ(window->PageLabel(2), "Anderer");
    EXPECT_EQ(window->PageLabel(0), "Kopf");  // the first load set every page
    EXPECT_TRUE(window->Option(kDataSizeColumn));
    EXPECT_TRUE(window->Option(kDataAlternateColors));
    EXPECT_FALSE(window->Option(kDataNoModuleMenu));  // only the option bits are taken
    EXPECT_EQ(prompt.shown.size(), 1u);  // the folder's question
}

TEST_F(DataWindowTest, OptionsDialogMovesThePageAndAnOffsetBeyondTheBufferGivesNoRows)
{
    auto window = Create();
    window->LoadModule(Module("felder.dfm", kFieldsModule));
    Feed(*window, 0, 64);
    std::string offsetShown;
    dialogs.steps.push_back([&](DialogModel& model) {
        auto& options = static_cast<DataWindowOptionsDialog&>(model);
        offsetShown = options.offsetText;
        options.offsetText = "0x100";
        options.maxRowsText = "99999";
        return true;
    });
    window->ShowOptions();
    EXPECT_EQ(offsetShown, "0x0");
    EXPECT_EQ(window->Page(0).startOffset, 0x100);
    EXPECT_EQ(window->Page(0).length, 0);
    EXPECT_EQ(window->MaxRows(), DataWnd::kMaxRowsLimit);
    EXPECT_EQ(window->RowCount(0), 0);
}

TEST_F(DataWindowTest, OffsetsCountFromTheStartWhereverTheModuleCountsItsPositionsFrom)
{
    // The body runs in a CALL, so the interpreter counts its positions from the block's start.
    auto window = Create();
    window->LoadModule(Module("gerufen.dfm", "BLOCK \"Gerufen\"\nCALL body\nEXIT\n"
                                             ":body WORD \"a\"\nSEEK 0 #AG\nBYTE \"vorn\"\nRETURN\n"));
    Feed(*window, 0x20, 16);
    ASSERT_EQ(window->RowCount(0), 2);
    EXPECT_EQ(window->ColumnText(0, 0, kColumnOffset), "0x0");
    EXPECT_EQ(window->ColumnText(0, 0, kColumnAddress), "0x1020");
    EXPECT_EQ(window->ColumnText(0, 1, kColumnOffset), "-0x20");  // sought back before the start
    window->SetOption(kDataOffsetColumn, true);
    EXPECT_EQ(window->CopyText(0, 0, -1), "a\t0 \t0x0\t0x1020");
}

TEST_F(DataWindowTest, PageLabelsNameOnlyEntryPointsThatAreLoaded)
{
    auto window = Create();
    window->LoadModule(Module("felder.dfm", kFieldsModule));
    ASSERT_EQ(window->PageLabel(1), "Kopf");
    window->ClearModules();
    EXPECT_EQ(window->PageLabel(1), "Daten 2");
    const std::string other = Module("bmp.dfm", test::kBmpModule);
    ModuleList(settings).Add(other);
    window->LoadModuleList();
    EXPECT_EQ(window->PageLabel(1), "Bitmap");
}

// A document of 5 GiB that holds zeros but for a few bytes far past 4 GiB, read window by window.
class SparseSource : public IByteSource {
public:
    static constexpr int64_t kSize = 5LL << 30;
    static constexpr int64_t kMark = (4LL << 30) + 0x30;
    int64_t Size() const override { return kSize; }
    std::span<const uint8_t> Window(int64_t offset, int64_t length, std::vector<uint8_t>& scratch) const override
    {
        length = std::min(length, kSize - offset);
        if (offset < 0 || length <= 0) return {};
        scratch.assign(static_cast<size_t>(length), 0);
        for (int i = 0; i < 4; ++i)
            if (kMark + i >= offset && kMark + i < offset + length) scratch[static_cast<size_t>(kMark + i - offset)] = 0x11 * (i + 1);
        ++windows;
        return scratch;
    }
    mutable int windows = 0;
};

// Runs the work on a thread of its own and cancels it once it reported having passed the
// marked bytes, as a user pressing "Abbrechen" would.
class CancellingRunner : public ILongTaskRunner {
public:
    bool Run(const std::string& title, const std::function<void(TaskProgress&)>& work) override
    {
        titles.push_back(title);
        TaskProgress progress;
        std::thread worker([&] { work(progress); });
        while (progress.Done() <= SparseSource::kMark + 4) std::this_thread::yield();
        progress.Cancel();
        worker.join();
        reported = progress.Total();
        return false;
    }
    std::vector<std::string> titles;
    int64_t reported = 0;
};

TEST_F(DataWindowTest, PagesDecodePastFourGibibytesAndLongRunsStopOnCancel)
{
    SparseSource source;
    CancellingRunner runner;
    DataWndServices services;
    services.runner = &runner;
    DataWnd window(8, kMainFrameDataStyle, services);
    window.LoadModule(Module("weit.dfm", "BLOCK \"Weit\"\nCALL body\nEXIT\n:body DWORD \"w\" #H\nOFFSET \"o\" #GH\n"
                                         ":l BYTE \"b\" #N\nGOTO l\n"));
    window.SetData(&source, SparseSource::kMark, 64, 0x10000000);
    ASSERT_EQ(window.RowCount(0), 3);
    EXPECT_EQ(window.ColumnText(0, 0, kColumnValue), "0x44332211 ");
    EXPECT_EQ(window.ColumnText(0, 0, kColumnOffset), "0x0");
    EXPECT_EQ(window.ColumnText(0, 0, kColumnAddress), "0x110000030");
    EXPECT_EQ(window.Page(0).startOffset, SparseSource::kMark);
    // The loop would read to the end of the 5 GiB; the cancel stops it at the first look.
    EXPECT_EQ(window.ColumnText(0, 2, kColumnValue), "Modul abgebrochen");
    EXPECT_EQ(runner.titles, std::vector<std::string>{"Daten erneuern"});
    EXPECT_EQ(runner.reported, SparseSource::kSize);
    EXPECT_LT(source.windows, 10);  // a few windows, never the whole source
}

}  // namespace
}  // namespace qv
