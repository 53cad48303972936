// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ui/PrintRun.h"

#include <QProgressDialog>

#include "print/PageChoice.h"
#include "print/PrintJob.h"
#include "print/ui/PdfOutput.h"
#include "print/ui/PrintPainting.h"
#include "view/AnsiView.h"

namespace qv {

namespace {

constexpr int kProgressDelayMs = 500;

// Draws the pages with a progress box. The box lives only as long as the job: it shows
// itself by a timer, which would otherwise raise it later over a message.
bool PrintWithProgress(QPrinter& printer, PrintJob& job, const FontSpec& font, PageSpan pages, QWidget* parent,
                       bool& cancelled, std::string& error)
{
    QProgressDialog progress("Drucken...", "Abbrechen", 0, pages.last - pages.first + 1, parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressDelayMs);
    auto pageDone = [&progress](int32_t done, int32_t total) {
        progress.setMaximum(total);
        progress.setValue(done);
        return !progress.wasCanceled();
    };
    auto paint = [&](QPagedPaintDevice& device) {
        return PrintPages(device, job, font, pages.first, pages.last, pageDone);
    };
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    const bool printed = toFile ? WritePdfFile(printer.outputFileName().toStdString(), printer.pageLayout(),
                                               printer.resolution(), paint, error)
                                : paint(printer);
    cancelled = progress.wasCanceled();
    return printed;
}

}  // namespace

void PrintOnPrinter(CAnsiView& view, QPrinter& printer, const std::optional<PrintRange>& selection,
                    const HeaderFooterValues& notes, IPrompt* prompt, QWidget* parent)
{
    PrintJob job(view, MakePrintJobSetup(view, GeometryOf(printer), selection, notes));
    PageSpan pages = AllPages(job.PageCount());
    if (printer.printRange() == QPrinter::PageRange) {
        const std::optional<PageSpan> chosen = ChosenPages(job.PageCount(), printer.fromPage(), printer.toPage());
        if (!chosen) {
            if (prompt)
                prompt->Tell(NothingToPrintText(job.PageCount(), printer.fromPage(), printer.toPage()),
                             PromptIcon::Warning);
            return;
        }
        pages = *chosen;
    }
    std::string error = "Der Druck ist fehlgeschlagen.";
    bool cancelled = false;
    const bool printed = PrintWithProgress(printer, job, view.Style().font, pages, parent, cancelled, error);
    if (!printed && !cancelled && prompt) prompt->Tell(error, PromptIcon::Error);
}

}  // namespace qv
