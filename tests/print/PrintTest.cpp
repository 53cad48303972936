// SPDX-License-Identifier: GPL-3.0-or-later
// Printing: page metrics and page table, print colours, header and footer expansion,
// the stored page settings, the page setup rules and whole pages of the hex view.
#include <gtest/gtest.h>

#include "tests/support/FakeDialogService.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/RecordingDrawing.h"
#include "tests/view/HexViewTesting.h"
#include "print/HeaderFooterText.h"
#include "print/HexPrintRange.h"
#include "print/PageChoice.h"
#include "print/PageSetupDialog.h"
#include "print/PrintColors.h"
#include "print/PrintJob.h"
#include "view/RunJoiningDrawing.h"

namespace qv::test {
namespace {

// A4 at 600 dots per inch, printable everywhere.
constexpr PrinterGeometry kA4{4960, 7016, 210, 297, 600, 600};

std::vector<PrintedRow> Rows(const PageTable& table, int32_t page) { return table.RowsOfPage(page); }

TEST(PrintLayout, PagesWithoutWrapping)
{
    auto noLengths = [](int32_t) { return 0; };
    EXPECT_EQ(PageTable(WholePrintRange(120), 60, 72, false, noLengths).PageCount(), 2);
    PageTable table(WholePrintRange(121), 60, 72, false, noLengths);
    EXPECT_EQ(table.PageCount(), 3);
    ASSERT_EQ(Rows(table, 2).size(), 1u);
    EXPECT_EQ(Rows(table, 2)[0].line, 120);
    EXPECT_EQ(table.PageOfLine(59), 0);
    EXPECT_EQ(table.PageOfLine(60), 1);
    EXPECT_EQ(PageTable(WholePrintRange(0), 60, 72, false, noLengths).PageCount(), 1);

    // A range cut at both ends: the first line from its column, the last up to its end.
    PageTable cut(PrintRange{5, 3, 10, 20}, 60, 72, false, noLengths);
    auto rows = Rows(cut, 0);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].line, 5);
    EXPECT_EQ(rows[0].column, 10);
    EXPECT_EQ(rows[1].column, 0);
    EXPECT_EQ(rows[1].count, 72);
    EXPECT_EQ(rows[2].count, 20);

    // Rows of a file of 100 GiB lie beyond 32 bits.
    constexpr int64_t far = int64_t{5} << 30 << 2;
    PageTable distant(PrintRange{far, 121, 0, 10000}, 60, 72, false, noLengths);
    EXPECT_EQ(distant.PageCount(), 3);
    EXPECT_EQ(Rows(distant, 2).at(0).line, far + 120);
    EXPECT_EQ(distant.PageOfLine(far + 61), 1);
}

TEST(PrintLayout, WrappingFillsPagesRowByRow)
{
    PageTable ten(WholePrintRange(10), 60, 100, true, [](int32_t) { return 200; });
    EXPECT_EQ(ten.PageCount(), 1);
    auto rows = Rows(ten, 0);
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_EQ(rows[1].line, 0);
    EXPECT_EQ(rows[1].column, 100);
    EXPECT_EQ(rows[2].line, 1);
    EXPECT_EQ(rows[2].column, 0);

    // 45 lines of 150 characters at 100 per row: 90 rows on two pages, the second
    // starting with line 30.
    PageTable split(WholePrintRange(45), 60, 100, true, [](int32_t) { return 150; });
    EXPECT_EQ(split.PageCount(), 2);
    EXPECT_EQ(Rows(split, 1)[0].line, 30);
    EXPECT_EQ(Rows(split, 1)[0].column, 0);
    EXPECT_EQ(Rows(split, 1).size(), 30u);
    EXPECT_EQ(split.PageOfLine(29), 0);
    EXPECT_EQ(split.PageOfLine(30), 1);

    // Empty lines still take a row; a line that starts a page mid-way continues from there.
    PageTable odd(WholePrintRange(3), 20, 10, true, [](int32_t line) { return line == 1 ? 250 : 0; });
    EXPECT_EQ(odd.PageCount(), 2);
    EXPECT_EQ(Rows(odd, 1)[0].line, 1);
    EXPECT_EQ(Rows(odd, 1)[0].column, 190);
    EXPECT_EQ(Rows(odd, 1)[0].count, 10);
}

TEST(PrintLayout, WrappingLinesOfOneLengthNeedsNoTable)
{
    // Computed pages agree with the pages listed line by line, cut ranges included.
    for (int32_t length : {0, 70, 72, 76, 150, 300})
        for (const PrintRange& range : {PrintRange{0, 1, 0, 10000}, PrintRange{3, 2, 10, 40}, PrintRange{7, 45, 80, 5},
                                        PrintRange{0, 130, 0, 10000}, PrintRange{2, 0, 0, 10000}})
            for (int32_t linesPerPage : {20, 60}) {
                auto sameLength = [length](int64_t) { return length; };
                const PageTable listed(range, linesPerPage, 72, true, sameLength);
                const PageTable computed(range, linesPerPage, 72, true, sameLength, true);
                const std::string where = std::to_string(length) + "/" + std::to_string(range.firstLine) + "+" +
                                          std::to_string(range.lineCount) + "/" + std::to_string(linesPerPage);
                ASSERT_EQ(computed.PageCount(), listed.PageCount()) << where;
                for (int32_t page = 0; page < listed.PageCount(); ++page) {
                    const auto a = listed.RowsOfPage(page), b = computed.RowsOfPage(page);
                    ASSERT_EQ(a.size(), b.size()) << where << " page " << page;
                    for (size_t i = 0; i < a.size(); ++i)
                        EXPECT_TRUE(a[i].line == b[i].line && a[i].column == b[i].column && a[i].count == b[i].count)
                            << where << " page " << page << " row " << i;
                }
                for (int64_t line = range.firstLine - 1; line <= range.firstLine + range.lineCount; ++line)
                    EXPECT_EQ(computed.PageOfLine(line), listed.PageOfLine(line)) << where << " line " << line;
            }

    // A whole file of 100 GiB in rows of 76 characters, wrapped at 72: two rows a line.
    const int64_t lines = (int64_t{100} << 30) / 16;
    const PageTable huge(WholePrintRange(lines), 60, 72, true, [](int64_t) { return 76; }, true);
    EXPECT_EQ(huge.PageCount(), (2 * lines + 59) / 60);
    EXPECT_EQ(huge.RowsOfPage(huge.PageCount() - 1).back().line, lines - 1);
}

TEST(PrintLayout, MetricsFromThePrinter)
{
    const PageMetrics m = ComputePageMetrics(kA4, PrintSettings{});
    EXPECT_EQ(m.lineHeight, 105);  // 7016 * 267 / 297 / 60
    EXPECT_EQ(m.charWidth, 59);    // 105 * 27 / 48
    EXPECT_EQ(m.textLeft, 472);
    EXPECT_EQ(m.textTop, 472);
    EXPECT_EQ(m.footerTop, 6874);
    EXPECT_EQ(m.headerTop, 188);
    EXPECT_EQ(m.charsPerLine, 72);

    // Margins that leave no room still give printable sizes.
    PrintSettings full;
    full.topMargin = full.bottomMargin = full.leftMargin = full.rightMargin = 100;
    const PageMetrics tiny = ComputePageMetrics({100, 100, 100, 100, 0, 0}, full);
    EXPECT_GE(tiny.lineHeight, 1);
    EXPECT_GE(tiny.charWidth, 1);
    EXPECT_GE(tiny.charsPerLine, 1);
}

TEST(PrintColors, GreyLevelsKeepContrast)
{
    EXPECT_EQ(GreyLevel(0xFFFFFF), 255);
    EXPECT_EQ(GreyLevel(0x000000), 0);
    EXPECT_EQ(ContrastGreys(0, 255), (GreyPair{55, 255}));
    EXPECT_EQ(ContrastGreys(255, 0), (GreyPair{255, 0}));
    EXPECT_EQ(ContrastGreys(150, 50), (GreyPair{200, 0}));
    EXPECT_EQ(ContrastGreys(250, 100), (GreyPair{250, 50}));
    EXPECT_EQ(ContrastGreys(100, 150), (GreyPair{0, 200}));
    EXPECT_EQ(ContrastGreys(128, 128), (GreyPair{0, 200}));
}

TEST(PrintColors, TableForEachMode)
{
    ColorTable view;
    view.Add(kDefaultColor, kDefaultColor, "Standard", 1, 0);
    view.Add(0x0000FF, kDefaultColor, "Adressen", 2, 0x100 | 0x30);
    view.Add(0xFFFFFF, 0x000000, "Invers", 3, 1);

    const ColorTable grey = MakePrintColorTable(view, PrintGreyLevels);
    EXPECT_EQ(grey.At(0).text, 0x373737);  // 55
    EXPECT_EQ(grey.At(0).background, 0xFFFFFF);
    EXPECT_EQ(grey.At(2).text, 0xFFFFFF);
    EXPECT_EQ(grey.At(2).background, 0x000000);
    EXPECT_EQ(grey.At(1).fontStyle, 3);  // the separate print style
    EXPECT_EQ(grey.At(2).fontStyle, 1);

    const ColorTable colour = MakePrintColorTable(view, PrintColors);
    EXPECT_EQ(colour.At(1).text, 0x0000FF);
    EXPECT_EQ(colour.At(1).background, 0xFFFFFF);
    EXPECT_EQ(colour.At(0).text, 0x000000);

    for (uint32_t flags : {PrintBlackOnWhite, 0u, PrintBlackOnWhite | PrintColors}) {
        const ColorTable plain = MakePrintColorTable(view, flags);
        for (const ColorEntry& entry : plain.Entries()) {
            EXPECT_EQ(entry.text, 0x000000);
            EXPECT_EQ(entry.background, 0xFFFFFF);
        }
    }
}

HeaderFooterValues Values(int32_t page = 2, int32_t pages = 5)
{
    HeaderFooterValues values;
    values.path = "/data/file.bin";
    values.user = "anna";
    values.page = page;
    values.pages = pages;
    values.now = CalendarTime{2026, 12, 3, 9, 7, 5, 0, 0};
    return values;
}

TEST(HeaderFooter, PlaceholdersExpand)
{
    using P = HeaderFooterPart;
    EXPECT_EQ(ExpandHeaderFooter("&D", Values()), (std::vector<P>{{0, TextAlign::Left, "file.bin"}}));
    EXPECT_EQ(ExpandHeaderFooter("Seite &N von &M", Values()), (std::vector<P>{{0, TextAlign::Left, "Seite 2 von 5"}}));
    EXPECT_EQ(ExpandHeaderFooter("&P &U &Z", Values()),
              (std::vector<P>{{0, TextAlign::Left, "/data/file.bin anna 07:05"}}));
    EXPECT_EQ(ExpandHeaderFooter("&T", Values())[0].text, "Mi 09.Dec.2026");
    EXPECT_EQ(ExpandHeaderFooter("a&Cb&Rc\\nd&X&&", Values()),
              (std::vector<P>{{0, TextAlign::Left, "a"},
                              {0, TextAlign::Centre, "b"},
                              {0, TextAlign::Right, "c"},
                              {1, TextAlign::Right, "d&X&&"}}));
    EXPECT_EQ(ExpandHeaderFooter("100%&", Values())[0].text, "100%&");
    EXPECT_EQ(ExpandHeaderFooter("a\nb", Values()).back(), (P{1, TextAlign::Left, "b"}));
    EXPECT_TRUE(ExpandHeaderFooter("", Values()).empty());
}

TEST(HeaderFooter, ExpansionStopsAt448Characters)
{
    HeaderFooterValues values = Values();
    values.path = "/" + std::string(200, 'p');
    std::string codes;
    while (codes.size() + 2 <= kMaxHeaderLength) codes += "&P";
    size_t total = 0;
    for (const HeaderFooterPart& part : ExpandHeaderFooter(codes, values)) total += part.text.size();
    EXPECT_EQ(total, kMaxExpandedHeaderFooter);
}

TEST(HeaderFooter, NamesKeepEveryCharacterAndAreCutBetweenCharacters)
{
    HeaderFooterValues values = Values();
    values.path = "/daten/\xCE\xA9-\xE2\x82\xAC.bin";  // "Ω-€.bin" in UTF-8
    values.user = "\xD0\xB0\xD0\xBD\xD0\xBD\xD0\xB0";  // "анна"
    EXPECT_EQ(ExpandHeaderFooter("&D &U", values)[0].text, "\xCE\xA9-\xE2\x82\xAC.bin \xD0\xB0\xD0\xBD\xD0\xBD\xD0\xB0");
    EXPECT_EQ(ExpandHeaderFooter("\xC3\xA4&\xC3\xB6", values)[0].text, "\xC3\xA4&\xC3\xB6");

    // 447 one-byte characters, then two-byte ones: the 448th is the last, and whole.
    const std::string text = std::string(447, 'x') + "\xC3\xA4\xC3\xB6";
    const std::string expanded = ExpandHeaderFooter(text, values)[0].text;
    EXPECT_EQ(expanded, std::string(447, 'x') + "\xC3\xA4");
}

TEST(HeaderFooter, PartsThatWouldOverlapMoveToARowBelow)
{
    auto width = [](std::string_view text) { return static_cast<int32_t>(text.size()) * 10; };
    using Placed = PlacedHeaderFooterPart;
    // Room for 50 characters: a short right part stays beside the left one.
    EXPECT_EQ(PlaceHeaderFooter({{0, TextAlign::Left, "links"}, {0, TextAlign::Right, "rechts"}}, 0, 500, width),
              (std::vector<Placed>{{0, 0, "links"}, {440, 0, "rechts"}}));
    // A long right part goes below, and the next line after it.
    const std::string longText(40, 'r');
    EXPECT_EQ(PlaceHeaderFooter({{0, TextAlign::Left, "links links"}, {0, TextAlign::Right, longText},
                                 {1, TextAlign::Left, "zwei"}},
                                0, 500, width),
              (std::vector<Placed>{{0, 0, "links links"}, {100, 1, longText}, {0, 2, "zwei"}}));
    EXPECT_EQ(HeaderFooterRows(PlaceHeaderFooter({{0, TextAlign::Centre, "mitte"}}, 0, 500, width)), 1);
}

TEST(PageChoice, RangesPastTheLastPagePrintNothing)
{
    EXPECT_EQ(ChosenPages(3, 5, 7), std::nullopt);
    EXPECT_EQ(ChosenPages(3, 4, 4), std::nullopt);
    EXPECT_EQ(ChosenPages(3, 2, 9), (PageSpan{1, 2}));
    EXPECT_EQ(ChosenPages(3, 3, 3), (PageSpan{2, 2}));
    EXPECT_EQ(AllPages(4), (PageSpan{0, 3}));
    EXPECT_EQ(NothingToPrintText(3, 5, 7),
              "Es wurde nichts gedruckt: Der Druck hat nur 3 Seiten, gewählt waren die Seiten 5 bis 7.");
}

TEST(PrintSettingsStore, RecordAndTextsRoundTrip)
{
    PrintSettings settings;
    settings.linesPerPage = 80;
    settings.rightMargin = 0;
    settings.flags = PrintGreyLevels | PrintFrame;
    settings.header = "Seite &N";
    const std::vector<uint8_t> record = settings.ToBytes();
    ASSERT_EQ(record.size(), kPrintRecordSize);
    EXPECT_EQ(record[0], 80);
    EXPECT_EQ(record[20], PrintGreyLevels | PrintFrame);

    FakeSettingsStore store;
    StorePrintSettings(store, "Hex", settings);
    PrintSettings read;
    LoadPrintSettings(store, "Hex", read);
    EXPECT_EQ(read, settings);

    // A damaged record is ignored instead of dividing by zero later; texts are cut to 255.
    std::vector<uint8_t> damaged(kPrintRecordSize, 0);
    store.WriteBinary("Hex", "Print", damaged);
    store.WriteString("Hex", "Header", std::string(300, 'h'));
    PrintSettings kept;
    LoadPrintSettings(store, "Hex", kept);
    EXPECT_EQ(kept.linesPerPage, 60);
    EXPECT_EQ(kept.header.size(), kMaxHeaderLength);
}

TEST(PageSetup, RangeChecksInOrder)
{
    PageSetupDialog model{PrintSettings{}};
    EXPECT_FALSE(model.Check());
    model.top = "101";
    model.right = "-1";
    auto problem = model.Check();
    ASSERT_TRUE(problem);
    EXPECT_STREQ(problem->message, PageSetupDialog::kMarginMessage);
    EXPECT_EQ(problem->focus, PageSetupDialog::Field::Top);
    model.top = "0";
    EXPECT_EQ(model.Check()->focus, PageSetupDialog::Field::Right);
    model.right = "100";
    model.lines = "19";
    problem = model.Check();
    ASSERT_TRUE(problem);
    EXPECT_STREQ(problem->message, PageSetupDialog::kLinesMessage);
    EXPECT_EQ(problem->focus, PageSetupDialog::Field::Lines);
    model.lines = "";
    EXPECT_EQ(model.Check()->focus, PageSetupDialog::Field::Lines);
    model.lines = "250";
    model.bottom = "abc";
    EXPECT_EQ(model.Check()->focus, PageSetupDialog::Field::Bottom);
    model.bottom = "0x10";
    EXPECT_FALSE(model.Check());

    PrintSettings applied;
    model.ApplyTo(applied);
    EXPECT_EQ(applied.linesPerPage, 250);
    EXPECT_EQ(applied.bottomMargin, 16);

    // Numbers past 2^32 are too large, not wrapped around into the range.
    model.lines = "4294967356";
    EXPECT_EQ(model.Check()->focus, PageSetupDialog::Field::Lines);
    model.lines = "60";
    model.left = "4294967306";
    EXPECT_EQ(model.Check()->focus, PageSetupDialog::Field::Left);
    model.left = "0x100000014";
    EXPECT_EQ(model.Check()->focus, PageSetupDialog::Field::Left);

    PrintSettings none;
    none.flags = PrintWrapLines;
    EXPECT_EQ(PageSetupDialog(none).flags, PrintWrapLines | PrintBlackOnWhite);
}

TEST(PageSetup, PlaceholderBlanks)
{
    const auto& codes = Placeholders();
    const Placeholder& file = codes[0];
    const Placeholder& user = codes[2];
    const Placeholder& page = codes[3];
    EXPECT_STREQ(page.code, "Seite &N");

    auto inserted = InsertPlaceholder("abc", 3, file);
    EXPECT_EQ(inserted.text, "abc &D");
    EXPECT_EQ(inserted.caret, 6u);
    inserted = InsertPlaceholder("xyz", 0, page);
    EXPECT_EQ(inserted.text, "Seite &N xyz");
    EXPECT_EQ(inserted.caret, 8u);
    inserted = InsertPlaceholder("a  b", 2, file);
    EXPECT_EQ(inserted.text, "a &D b");
    inserted = InsertPlaceholder("ab", 1, user);
    EXPECT_EQ(inserted.text, "a&Ub");
    EXPECT_EQ(inserted.caret, 3u);

    const std::string full(kMaxHeaderLength, 'x');
    EXPECT_EQ(InsertPlaceholder(full, 10, user).text, full);
    // The limit counts characters, not the bytes of UTF-8.
    std::string umlauts;
    for (int i = 0; i < 250; ++i) umlauts += "\xC3\xA4";
    EXPECT_EQ(InsertPlaceholder(umlauts, 4, user).text.substr(0, 6), "\xC3\xA4\xC3\xA4&U");
}

TEST(PageSetup, OkStoresWithTheViewSettings)
{
    FakeSettingsStore store;  // outlives the view, which writes its settings when it goes
    FakeDialogService dialogs;
    HexViewHarness h;
    h.view.SetSettingsStores({&store, nullptr});
    h.view.SetDialogService(&dialogs);
    const PrintSettings before = ProcessPrintSettings();
    dialogs.steps.push_back([](DialogModel& model) {
        auto& setup = static_cast<PageSetupDialog&>(model);
        setup.lines = "30";
        setup.header = "Kopf &D";
        return true;
    });
    EXPECT_TRUE(h.view.RunCommand(CmdPageSetup));
    EXPECT_EQ(ProcessPrintSettings().linesPerPage, 30);
    ASSERT_TRUE(store.ReadString("Hex", "Header"));
    EXPECT_EQ(*store.ReadString("Hex", "Header"), "Kopf &D");
    EXPECT_EQ(store.ReadBinary("Hex", "Print")->at(0), 30);
    ProcessPrintSettings() = before;
}

class RecordingSurface : public IPrintSurface {
public:
    ILineDrawing& Lines() override { return lines; }
    void DrawFrame(const LineRect& rect, bool filled) override { frames.push_back({rect, filled ? 1 : 0}); }
    int32_t HeaderLineHeight() const override { return 50; }
    int32_t HeaderTextWidth(std::string_view text) const override { return static_cast<int32_t>(text.size()) * 10; }
    void DrawHeaderText(int32_t x, int32_t y, std::string_view text) override
    {
        headers.push_back({x, y, std::string(text), 0, 0, 0});
    }

    RecordingDrawing lines{{59, 105}, true};
    std::vector<RecordingDrawing::Fill> frames;
    std::vector<RecordingDrawing::Run> headers;
};

PrintJobSetup JobSetup(const CHexView& view, uint32_t flags, std::optional<PrintRange> selection = std::nullopt)
{
    PrintJobSetup setup;
    setup.settings.flags = flags;
    setup.settings.header = "Seite &N von &M";
    setup.settings.footer = "&D";
    setup.printer = kA4;
    setup.range = selection ? *selection : WholePrintRange(view.LineCount());
    setup.selectionOnly = selection.has_value();
    setup.notes = Values();
    return setup;
}

TEST(PrintJob, PagesOfTheHexView)
{
    HexViewHarness h;
    h.Load(CountingBytes(121 * 16));
    PrintJob job(h.view, JobSetup(h.view, PrintGreyLevels | PrintFrame));
    ASSERT_EQ(job.PageCount(), 3);

    RecordingSurface surface;
    job.PrintPage(surface, 1);
    // Rows 60..119, one joined run each in grey (all entries print the same), at the margin.
    ASSERT_EQ(surface.lines.runs.size(), 60u);
    EXPECT_EQ(surface.lines.runs[0].text.substr(0, 6), "0003C0");
    EXPECT_EQ(surface.lines.runs[0].x, 472);
    EXPECT_EQ(surface.lines.runs[1].y, 472 + 105);
    EXPECT_EQ(surface.lines.runs[0].text_color, 0x373737);
    EXPECT_EQ(surface.lines.runs[0].background, 0xFFFFFF);
    EXPECT_EQ(static_cast<int32_t>(surface.lines.runs[0].text.size()), 72);
    ASSERT_EQ(surface.headers.size(), 2u);
    EXPECT_EQ(surface.headers[0].text, "Seite 2 von 3");
    EXPECT_EQ(surface.headers[0].y, 188);
    EXPECT_EQ(surface.headers[1].text, "file.bin");
    EXPECT_EQ(surface.frames.size(), 3u);  // text, header and footer
    // The view's own colours are back once the page is done.
    EXPECT_EQ(h.view.ColorsFor(1).At(1).text, 0x0000FF);
}

TEST(PrintJob, FooterLinesGrowUpwardsAndFramesFollow)
{
    HexViewHarness h;
    h.Load(CountingBytes(64));
    PrintJobSetup setup = JobSetup(h.view, PrintBlackOnWhite | PrintFrame);
    setup.settings.footer = "&D\\nzweite Zeile";
    PrintJob job(h.view, setup);
    RecordingSurface surface;
    job.PrintPage(surface, 0);
    ASSERT_EQ(surface.headers.size(), 3u);
    const int32_t footerTop = job.Metrics().footerTop;
    EXPECT_EQ(surface.headers[1].text, "file.bin");
    EXPECT_EQ(surface.headers[1].y, footerTop - 50);
    EXPECT_EQ(surface.headers[2].text, "zweite Zeile");
    EXPECT_EQ(surface.headers[2].y, footerTop);
    // The footer's frame starts 3 mm above its first row.
    ASSERT_EQ(surface.frames.size(), 3u);
    EXPECT_EQ(surface.frames[2].rect.top, footerTop - 50 - 7016 * 3 / 297);
}

TEST(PrintJob, ColourPrintingKeepsTheViewColours)
{
    HexViewHarness h;
    h.Load(CountingBytes(64));
    PrintJob job(h.view, JobSetup(h.view, PrintColors));
    RecordingSurface surface;
    job.PrintPage(surface, 0);
    bool redAddress = false, blueHex = false;
    for (const auto& run : surface.lines.runs) {
        if (run.text.find("000010") != std::string::npos && run.text_color == 0x0000FF) redAddress = true;
        if (run.text.find("10 11") != std::string::npos && run.text_color == 0xFF0000) blueHex = true;
    }
    EXPECT_TRUE(redAddress);
    EXPECT_TRUE(blueHex);
}

TEST(PrintJob, SelectionPrintsItsRowsWithoutHeader)
{
    HexViewHarness h;
    h.Load(CountingBytes(121 * 16));
    h.view.SetCursorOffset(0x108, false);
    h.view.SelectTo(0x118, false);
    const std::optional<PrintRange> range = SelectionPrintRange(h.view);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->firstLine, 16);
    EXPECT_EQ(range->lineCount, 2);
    PrintJob job(h.view, JobSetup(h.view, PrintBlackOnWhite | PrintFrame, range));
    EXPECT_EQ(job.PageCount(), 1);
    RecordingSurface surface;
    job.PrintPage(surface, 0);
    ASSERT_EQ(surface.lines.runs.size(), 2u);
    EXPECT_EQ(surface.lines.runs[0].text.substr(0, 6), "000100");
    EXPECT_EQ(surface.lines.runs[1].text.substr(0, 6), "000110");
    EXPECT_TRUE(surface.headers.empty());
    EXPECT_EQ(surface.frames.size(), 1u);

    // Ends beyond the block are limited to it.
    EXPECT_EQ(BytesPrintRange(h.view, 0x700, 0x10000)->lineCount, 121 - 0x70);
}

TEST(RunJoining, JoinsOnlyContinuingRunsOfOneLook)
{
    RecordingDrawing target{{8, 16}, true};
    {
        RunJoiningDrawing joined(target);
        joined.DrawText(0, 0, "ab", 0, 1, 2);
        joined.DrawText(16, 0, "cd", 0, 1, 2);
        joined.DrawText(32, 0, "ef", 1, 1, 2);  // other font variant
        joined.DrawText(48, 0, "gh", 1, 3, 2);  // other colour
        joined.DrawText(64, 16, "ij", 1, 3, 2); // next row
        joined.DrawText(96, 16, "kl", 1, 3, 2); // a gap
    }
    ASSERT_EQ(target.runs.size(), 5u);
    EXPECT_EQ(target.runs[0].text, "abcd");
    EXPECT_EQ(target.runs[4].text, "kl");
    EXPECT_EQ(target.runs[4].x, 96);
}

}  // namespace
}  // namespace qv::test
