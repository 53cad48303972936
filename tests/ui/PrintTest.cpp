// SPDX-License-Identifier: GPL-3.0-or-later
// Printing for real: `--print-pdf` into PDF files checked with the poppler tools, the
// page setup dialog's checks, and the preview of a large dump.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
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
#include <filesystem>
#include <map>

#include "app/PrintPdfRun.h"
#include "print/ui/PdfOutput.h"
#include "platform/qt/QtSettingsStore.h"
#include "tests/support/SparseFile.h"
#include "tests/support/TempDir.h"
#include "view/HexView.h"
#include "print/PrintJob.h"
#include "print/ui/PageSetupDialog.h"
#include "print/ui/PrintPreviewDialog.h"

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
    QTimer::singleShot(0, [] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menu->actions().at(3)->trigger();  // "&Seitennummer"
            menu->close();
        }
    });
    dialog.headerCodes->click();
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
