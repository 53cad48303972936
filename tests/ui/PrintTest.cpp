// SPDX-License-Identifier: GPL-3.0-or-later
// Printing for real: `--print-pdf` into PDF files checked with the poppler tools, the
// page setup dialog's checks, and the preview of a large dump.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

#include "app/PrintPdfRun.h"
#include "print/ui/PdfOutput.h"
#include "platform/qt/QtSettingsStore.h"
#include "tests/support/SparseFile.h"
#include "tests/support/TempDir.h"
#include "view/HexView.h"
#include "print/PrintJob.h"
#include "print/ui/PageSetupDialog.h"
#include "print/ui/PrintPreviewDialog.h"
#include "print/ui/PrintRun.h"
#include "print/ui/PrinterSetupDialog.h"
#include "tests/support/FakePrompt.h"

namespace qv::test {
namespace {

std::string Output(const std::string& command)
{
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char chunk[4096];
        size_t n = 0;
        while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) text.append(chunk, n);
        ::pclose(pipe);
    }
    return text;
}

std::string PageText(const std::string& pdf, int page)
{
    return Output("pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + pdf +
                  "' -");
}

int PageCount(const std::string& pdf)
{
    const std::string info = Output("pdfinfo '" + pdf + "'");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// The rendered first page as a binary PPM (colour) or PGM (grey), without smoothing.
std::vector<uint8_t> RenderedPage(const std::string& pdf, bool grey, int& width, int& height)
{
    const std::string image = Output("pdftoppm -r 100 -aa no -aaVector no -f 1 -l 1 " +
                                     std::string(grey ? "-gray " : "") + "'" + pdf + "'");
    int maxValue = 0, consumed = 0;
    char magic[3] = {};
    if (std::sscanf(image.c_str(), "%2s %d %d %d%n", magic, &width, &height, &maxValue, &consumed) != 4) return {};
    return std::vector<uint8_t>(image.begin() + consumed + 1, image.end());
}

// Right edge (in points) of the words of the first page's row that begins with `first`.
double RowRightEdge(const std::string& pdf, const std::string& first)
{
    const std::string boxes = Output("pdftotext -bbox -f 1 -l 1 '" + pdf + "' -");
    double rowTop = -1, right = -1;
    size_t at = 0;
    while ((at = boxes.find("<word ", at)) != std::string::npos) {
        double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
        if (std::sscanf(boxes.c_str() + at, "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\"", &xMin, &yMin,
                        &xMax, &yMax) == 4) {
            const size_t text = boxes.find('>', at) + 1;
            if (boxes.compare(text, first.size(), first) == 0) rowTop = yMin;
            if (rowTop >= 0 && yMin == rowTop) right = std::max(right, xMax);
        }
        ++at;
    }
    return right;
}

// What the code under test writes to stderr while `run` runs.
template <typename Run>
std::string StderrOf(const TempDir& dir, Run run)
{
    const std::string path = dir.File("stderr.txt");
    std::fflush(stderr);
    const int saved = ::dup(2);
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(file, 2);
    ::close(file);
    run();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Top and bottom edges (in points) of the words on the first page that begin with `word`.
std::vector<std::pair<double, double>> WordRows(const std::string& pdf, const std::string& word)
{
    const std::string boxes = Output("pdftotext -bbox -f 1 -l 1 '" + pdf + "' -");
    std::vector<std::pair<double, double>> rows;
    size_t at = 0;
    while ((at = boxes.find("<word ", at)) != std::string::npos) {
        double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
        if (std::sscanf(boxes.c_str() + at, "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\"", &xMin, &yMin,
                        &xMax, &yMax) == 4 &&
            boxes.compare(boxes.find('>', at) + 1, word.size(), word) == 0)
            rows.emplace_back(yMin, yMax);
        ++at;
    }
    return rows;
}

class PrintPdf : public ::testing::Test {
protected:
    void SetUp() override { saved_ = ProcessPrintSettings(); }
    void TearDown() override
    {
        ProcessPrintSettings() = saved_;
        QtSettingsStore store(QSettings::UserScope);
        StorePrintSettings(store, "Hex", saved_);
        store.Sync();
    }

    void StoreSettings(uint32_t flags, const std::string& header, const std::string& footer)
    {
        PrintSettings settings;
        settings.flags = flags;
        settings.header = header;
        settings.footer = footer;
        QtSettingsStore store(QSettings::UserScope);
        StorePrintSettings(store, "Hex", settings);
        store.WriteDword("", "LineWidth", 16);  // other tests leave their layout behind
        store.Sync();
    }

    int Run(const QStringList& arguments) { return RunPrintPdf(QStringList{"quarnival"} + arguments).value_or(-1); }

    std::vector<uint8_t> Rows(size_t rows)
    {
        std::vector<uint8_t> bytes(rows * 16);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
        return bytes;
    }

    TempDir dir;
    PrintSettings saved_;
};

TEST_F(PrintPdf, PagesHeaderFooterAndSelection)
{
    StoreSettings(PrintBlackOnWhite, "Seite &N von &M", "&D");
    const std::string file = dir.Write("f121-\xC3\xA4.bin", Rows(121));  // "ä" in UTF-8
    const std::string pdf = dir.File("out.pdf");
    ASSERT_EQ(Run({"--print-pdf", QString::fromStdString(pdf), QString::fromStdString(file)}), 0);
    ASSERT_EQ(PageCount(pdf), 3);
    EXPECT_NE(PageText(pdf, 2).find("Seite 2 von 3"), std::string::npos);
    for (int page = 1; page <= 3; ++page)
        EXPECT_NE(PageText(pdf, page).find("f121-\xC3\xA4.bin"), std::string::npos) << page;
    EXPECT_NE(PageText(pdf, 3).find("000780"), std::string::npos);
    // 72 cells of the row fill the width between the margins exactly: A4 with 20 mm on the
    // left and 10 mm on the right ends at 200 mm (566.9 points).
    const double right = RowRightEdge(pdf, "000000");
    EXPECT_GT(right, 540.0);
    EXPECT_LT(right, 567.5);

    const std::string selection = dir.File("selection.pdf");
    ASSERT_EQ(Run({"--print-pdf", QString::fromStdString(selection), "/J:0x108:0x10", QString::fromStdString(file)}),
              0);
    ASSERT_EQ(PageCount(selection), 1);
    const std::string text = PageText(selection, 1);
    EXPECT_NE(text.find("000100"), std::string::npos);
    EXPECT_NE(text.find("000110"), std::string::npos);
    EXPECT_EQ(text.find("0000F0"), std::string::npos);
    EXPECT_EQ(text.find("000120"), std::string::npos);
    EXPECT_EQ(text.find("Seite"), std::string::npos);
    EXPECT_EQ(text.find("f121"), std::string::npos);
}

TEST_F(PrintPdf, JumpBeyondFourGiBPrintsItsRowsOfAMappedFile)
{
    StoreSettings(PrintBlackOnWhite, "", "");
    const std::string file = dir.File("big.bin");
    MakeSparseFile(file, int64_t{6} << 30, {{0x160000000, "Hello"}});
    const std::string pdf = dir.File("far.pdf");
    ASSERT_EQ(Run({"--print-pdf", QString::fromStdString(pdf), "/M", "/R", "/J:0x160000008:0x10",
                   QString::fromStdString(file)}),
              0);
    ASSERT_EQ(PageCount(pdf), 1);
    const std::string text = PageText(pdf, 1);
    EXPECT_NE(text.find("160000000"), std::string::npos);
    EXPECT_NE(text.find("160000010"), std::string::npos);
    EXPECT_NE(text.find("Hello"), std::string::npos);
    EXPECT_EQ(text.find("15FFFFFF0"), std::string::npos);
    EXPECT_EQ(text.find("160000020"), std::string::npos);
}

TEST_F(PrintPdf, GreyLevelsAndColours)
{
    const std::string file = dir.Write("grey.bin", Rows(40));
    StoreSettings(PrintGreyLevels, "", "");
    const std::string grey = dir.File("grey.pdf");
    ASSERT_EQ(Run({"--print-pdf", QString::fromStdString(grey), QString::fromStdString(file)}), 0);
    int width = 0, height = 0;
    std::map<int, int> levels;
    for (uint8_t level : RenderedPage(grey, true, width, height)) ++levels[level];
    ASSERT_GT(width, 0);
    // Default text (black) prints as level 55 on the white background; nothing else is drawn.
    EXPECT_GT(levels[55], 1000);
    EXPECT_GT(levels[255], 100000);
    EXPECT_EQ(levels.size(), 2u);

    StoreSettings(PrintColors, "", "");
    const std::string colour = dir.File("colour.pdf");
    ASSERT_EQ(Run({"--print-pdf", QString::fromStdString(colour), QString::fromStdString(file)}), 0);
    const std::vector<uint8_t> rgb = RenderedPage(colour, false, width, height);
    int red = 0, blue = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        if (rgb[i] == 255 && rgb[i + 1] == 0 && rgb[i + 2] == 0) ++red;
        if (rgb[i] == 0 && rgb[i + 1] == 0 && rgb[i + 2] == 255) ++blue;
    }
    EXPECT_GT(red, 500);   // the addresses
    EXPECT_GT(blue, 2000); // the hex digits
}

TEST_F(PrintPdf, FailuresLeaveNoFile)
{
    const std::string file = dir.Write("small.bin", Rows(2));
    const std::string missingFolder = dir.File("nix/out.pdf");
    EXPECT_EQ(Run({"--print-pdf", QString::fromStdString(missingFolder), QString::fromStdString(file)}), 1);
    EXPECT_FALSE(std::filesystem::exists(missingFolder));
    EXPECT_EQ(Run({"--print-pdf", QString::fromStdString(dir.File("x.pdf")), QString::fromStdString(dir.File("fehlt"))}),
              1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.pdf")));
    EXPECT_EQ(Run({"--print-pdf"}), 1);
    EXPECT_EQ(Run({QString::fromStdString(file)}), -1);  // no PDF asked for: the editor starts
}

TEST_F(PrintPdf, GlyphsFitTheirRows)
{
    StoreSettings(PrintBlackOnWhite, "", "");
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 40 * 16; ++i) bytes.push_back(static_cast<uint8_t>("gjpq"[i % 4]));
    const std::string file = dir.Write("gjpq.bin", bytes);
    const std::string pdf = dir.File("gjpq.pdf");
    ASSERT_EQ(Run({"--print-pdf", QString::fromStdString(pdf), QString::fromStdString(file)}), 0);
    // Each row's character cell (ascent to descent) ends before the next row begins, so
    // no row's background covers the descenders of the row above.
    const auto rows = WordRows(pdf, "gjpq");
    ASSERT_GE(rows.size(), 10u);
    for (size_t i = 1; i < rows.size(); ++i) EXPECT_LE(rows[i - 1].second, rows[i].first + 0.01) << i;
}

TEST_F(PrintPdf, JumpPastTheEndAndLargeFiles)
{
    StoreSettings(PrintBlackOnWhite, "", "");
    const std::string file = dir.Write("small.bin", Rows(4));
    const std::string pdf = dir.File("jump.pdf");
    std::string err = StderrOf(dir, [&] {
        EXPECT_EQ(Run({"--print-pdf", QString::fromStdString(pdf), "/J:0x40:0x10", QString::fromStdString(file)}), 1);
    });
    EXPECT_NE(err.find("0x40"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(pdf));

    // Over 2 MB: no question shows up, the file is printed from a read-only map.
    const std::string big = dir.Write("big.bin", std::vector<uint8_t>(3 << 20, 0x41));
    const std::string bigPdf = dir.File("big.pdf");
    err = StderrOf(dir, [&] {
        EXPECT_EQ(Run({"--print-pdf", QString::fromStdString(bigPdf), "/J:0x2F0000:0x20", QString::fromStdString(big)}),
                  0);
    });
    EXPECT_EQ(err, "");
    EXPECT_NE(PageText(bigPdf, 1).find("2F0010"), std::string::npos);
}

TEST_F(PrintPdf, NamesOutsideTheCodePageKeepTheirCharacters)
{
    StoreSettings(PrintBlackOnWhite, "&D \xE2\x98\xBA", "");  // "☺"
    const std::string file = dir.Write("\xCE\xA9mega.bin", Rows(2));  // "Ωmega.bin"
    const std::string pdf = dir.File("names.pdf");
    ASSERT_EQ(Run({"--print-pdf", QString::fromStdString(pdf), QString::fromStdString(file)}), 0);
    EXPECT_NE(PageText(pdf, 1).find("\xCE\xA9mega.bin \xE2\x98\xBA"), std::string::npos) << PageText(pdf, 1);
}

// Printing a 1 MiB dump (65536 rows, 1093 pages): the CPU time is what the program
// spends; the wall time also shows what a busy machine adds.
TEST_F(PrintPdf, OneMebibyteUnderTenSeconds)
{
    StoreSettings(PrintBlackOnWhite | PrintWrapLines, "Seite &N von &M", "&D");
    std::vector<uint8_t> bytes(1 << 20);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 131 + (i >> 8));
    const std::string file = dir.Write("big.bin", bytes);
    const std::string pdf = dir.File("big.pdf");
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    ASSERT_EQ(Run({"--print-pdf", QString::fromStdString(pdf), QString::fromStdString(file)}), 0);
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("[ time     ] 1 MiB to PDF: %.2f s CPU, %.2f s wall, %d pages\n", cpu, wall, PageCount(pdf));
#ifdef __SANITIZE_ADDRESS__
    // The sanitizers' checks make every drawn glyph several times slower; the figure is
    // for normal builds, this one only catches a runaway.
    EXPECT_LT(cpu, 60.0);
#else
    EXPECT_LT(cpu, 10.0);
#endif
}

TEST(PrintPreview, OpensAtOnceOnThePageOfTheTopLine)
{
    CHexView view;
    const int32_t length = 1 << 20;
    uint8_t* block = ViewBuffer::Allocate(length);
    std::fill(block, block + length, uint8_t{0x41});
    view.SetBuffer(block, length, 0, ViewOwnsBuffer);
    view.ScrollToOffset(0x10000, false);  // row 4096
    PrintSettings saved = ProcessPrintSettings();
    ProcessPrintSettings() = PrintSettings{};
    ProcessPrintSettings().flags = PrintBlackOnWhite;  // no wrapping: 60 rows a page

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const auto start = std::chrono::steady_clock::now();
    PrintJob job(view, MakePrintJobSetup(view, GeometryOf(printer), std::nullopt, HeaderFooterValues{}));
    PrintPreviewDialog preview(job, view.Style().font, printer, nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("[ time     ] preview of 65536 rows: first page after %.3f s\n", seconds);
    EXPECT_LT(seconds, 1.0);
    EXPECT_EQ(job.PageCount(), 1093);
    EXPECT_EQ(preview.CurrentPage(), 4096 / 60);
    EXPECT_EQ(preview.pageNumber->value(), 4096 / 60 + 1);
    // The page is drawn: dark text on the white sheet.
    const QImage& page = preview.PageImage();
    int dark = 0;
    for (int y = 0; y < page.height(); y += 2)
        for (int x = 0; x < page.width(); x += 2) dark += qGray(page.pixel(x, y)) < 128;
    EXPECT_GT(dark, 1000);
    preview.pageNumber->setValue(1093);
    EXPECT_EQ(preview.CurrentPage(), 1092);

    // A printer that cannot start reports it instead of pretending to have printed.
    QPrinter broken(QPrinter::HighResolution);
    broken.setOutputFormat(QPrinter::PdfFormat);
    broken.setOutputFileName("/nonexistent-folder/out.pdf");
    EXPECT_FALSE(PrintPages(broken, job, view.Style().font, 0, 1));

    // Cancelled after two pages: the job stops there and no PDF file appears.
    TempDir dir;
    int asked = 0;
    std::string error;
    const bool written = WritePdfFile(dir.File("cancelled.pdf"), printer.pageLayout(), 1200,
                                      [&](QPagedPaintDevice& device) {
                                          return PrintPages(device, job, view.Style().font, 0, 5,
                                                            [&](int32_t done, int32_t total) {
                                                                ++asked;
                                                                EXPECT_EQ(total, 6);
                                                                return done < 2;
                                                            });
                                      },
                                      error);
    EXPECT_FALSE(written);
    EXPECT_EQ(asked, 3);
    EXPECT_FALSE(std::filesystem::exists(dir.File("cancelled.pdf")));
    EXPECT_EQ(error, "Der Druck ist fehlgeschlagen.");
    ProcessPrintSettings() = saved;
}

// Opens a placeholder menu with its button and picks the entry at `index`.
void ChoosePlaceholder(QPushButton* button, int index)
{
    QTimer::singleShot(0, [index] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menu->actions().at(index)->trigger();
            menu->close();
        }
    });
    button->click();
}

class PrintOnPrinterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = ProcessPrintSettings();
        ProcessPrintSettings() = PrintSettings{};
        ProcessPrintSettings().flags = PrintBlackOnWhite;
        uint8_t* block = ViewBuffer::Allocate(200 * 16);
        std::fill(block, block + 200 * 16, uint8_t{0x41});
        view.SetBuffer(block, 200 * 16, 0, ViewOwnsBuffer);  // 200 rows: 4 pages
        printer.setOutputFormat(QPrinter::PdfFormat);
    }
    void TearDown() override { ProcessPrintSettings() = saved_; }

    CHexView view;
    QPrinter printer{QPrinter::HighResolution};
    FakePrompt prompt;
    TempDir dir;
    PrintSettings saved_;
};

TEST_F(PrintOnPrinterTest, APageRangePastTheEndLeavesTheFileAlone)
{
    const std::string pdf = dir.Write("kept.pdf", std::string("%PDF-1.4 old"));
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(5, 7);
    PrintOnPrinter(view, printer, std::nullopt, HeaderFooterValues{}, &prompt, nullptr);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text,
              "Es wurde nichts gedruckt: Der Druck hat nur 4 Seiten, gewählt waren die Seiten 5 bis 7.");
    std::ifstream in(pdf);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "%PDF-1.4 old");

    // A range reaching past the end prints the pages there are.
    printer.setFromTo(3, 9);
    PrintOnPrinter(view, printer, std::nullopt, HeaderFooterValues{}, &prompt, nullptr);
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(PageCount(pdf), 2);
}

TEST_F(PrintOnPrinterTest, TheProgressBoxStaysAwayFromTheFailureMessage)
{
    printer.setOutputFileName("/nonexistent-folder/out.pdf");
    printer.setPrintRange(QPrinter::AllPages);
    bool progressShown = false;
    prompt.onShow = [&] {
        // The message stays up longer than the progress box's delay.
        QTest::qWait(800);
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog*>(widget) && widget->isVisible()) progressShown = true;
    };
    PrintOnPrinter(view, printer, std::nullopt, HeaderFooterValues{}, &prompt, nullptr);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].icon, PromptIcon::Error);
    EXPECT_FALSE(progressShown);
}

TEST(PrinterSetupWidget, OnlyChoosesAndWritesNothing)
{
    TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    PrinterSetupDialog dialog(printer);
    EXPECT_EQ(dialog.windowTitle(), "Druckereinrichtung");
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) EXPECT_NE(button->text(), "Drucken");
    dialog.printerChoice->setCurrentIndex(dialog.printerChoice->count() - 1);
    EXPECT_EQ(dialog.printerChoice->currentText(), "PDF-Datei");
    const std::string pdf = dir.File("chosen.pdf");
    dialog.pdfFile->setText(QString::fromStdString(pdf));
    dialog.landscape->setChecked(true);
    dialog.paper->setCurrentIndex(dialog.paper->findData(static_cast<int>(QPageSize::A5)));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName().toStdString(), pdf);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST(PageSetupWidget, TabOrderAndTextsBeyondTheCodePage)
{
    PrintSettings settings;
    settings.header = "\xE2\x98\xBA &D";  // "☺ &D"
    PageSetupDialog model{settings};
    PageSetupDialogWidget dialog(model);
    EXPECT_EQ(dialog.header->text(), QString::fromUtf8("\xE2\x98\xBA &D"));
    // Each placeholder button follows its own field.
    EXPECT_EQ(dialog.header->nextInFocusChain(), dialog.headerCodes);
    EXPECT_EQ(dialog.headerCodes->nextInFocusChain(), dialog.footer);
    EXPECT_EQ(dialog.footer->nextInFocusChain(), dialog.footerCodes);

    // A placeholder goes to the caret counted in characters, after a character of UTF-8.
    dialog.footer->setText(QString::fromUtf8("\xCE\xA9\xCE\xA9"));
    dialog.footer->setCursorPosition(1);
    ChoosePlaceholder(dialog.footerCodes, 2);  // "&Benutzername"
    EXPECT_EQ(dialog.footer->text(), QString::fromUtf8("\xCE\xA9&U\xCE\xA9"));
    EXPECT_EQ(dialog.footer->cursorPosition(), 3);
    dialog.accept();
    EXPECT_EQ(model.footer, "\xCE\xA9&U\xCE\xA9");

    // Stored and read back with every character.
    TempDir dir;
    QtSettingsStore store(QString::fromStdString(dir.File("print.ini")));
    PrintSettings written;
    model.ApplyTo(written);
    StorePrintSettings(store, "Hex", written);
    PrintSettings read;
    LoadPrintSettings(store, "Hex", read);
    EXPECT_EQ(read.header, settings.header);
    EXPECT_EQ(read.footer, "\xCE\xA9&U\xCE\xA9");
}

TEST(PageSetupWidget, RefusesOutOfRangeValuesWithTheirMessages)
{
    PageSetupDialog model{PrintSettings{}};
    PageSetupDialogWidget dialog(model);
    dialog.show();
    QStringList shown;
    auto answerBoxes = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown << box->text();
                box->accept();
            }
        });
    };
    dialog.top->setText("101");
    answerBoxes();
    dialog.accept();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], "Die Ränder müssen zwischen 0 und 100 mm liegen !");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.top);

    dialog.top->setText("20");
    dialog.lines->setText("19");
    answerBoxes();
    dialog.accept();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1], "Die Zeilenanzahl muss zwischen 20 und 250 liegen !");
    EXPECT_EQ(dialog.focusWidget(), dialog.lines);
    EXPECT_TRUE(dialog.isVisible());

    dialog.lines->setText("30");
    QTest::keyClicks(dialog.header, "Bericht");
    dialog.header->setCursorPosition(7);
    ChoosePlaceholder(dialog.headerCodes, 3);  // "&Seitennummer"
    EXPECT_EQ(dialog.header->text(), "Bericht Seite &N");
    dialog.greyLevels->setChecked(true);
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(model.lines, "30");
    EXPECT_EQ(model.header, "Bericht Seite &N");
    EXPECT_EQ(model.flags & (PrintBlackOnWhite | PrintGreyLevels | PrintColors), PrintGreyLevels);
}

}  // namespace
}  // namespace qv::test
