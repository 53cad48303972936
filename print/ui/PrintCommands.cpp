// SPDX-License-Identifier: GPL-3.0-or-later
// Printing commands of the line views: page setup (57605), printer setup (57606), print
// (57607, 57608) and print preview (57609). Every print and preview goes to the printer
// that the printer setup chose; it is kept for the whole process.
#include <QCoreApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <optional>

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "document/HexDoc.h"
#include "print/ui/PdfOutput.h"
#include "print/ui/PrintPainting.h"
#include "view/AnsiView.h"
#include "print/HexPrintRange.h"
#include "view/HexView.h"
#include "print/PrintJob.h"
#include "print/ui/PrintPreviewDialog.h"

namespace qv {

namespace {

constexpr int CmdPrinterSetup = 57606;

QPrinter* processPrinter = nullptr;

QPrinter& ProcessPrinter()
{
    if (!processPrinter) {
        processPrinter = new QPrinter(QPrinter::HighResolution);
        // Released with the application, while the print system is still there.
        qAddPostRoutine([] {
            delete processPrinter;
            processPrinter = nullptr;
        });
    }
    return *processPrinter;
}

// The context's view, or else the line view that had the focus last.
CAnsiView* TargetView(AppContext& context)
{
    if (context.view) return context.view;
    return CAnsiView::ActiveView();
}

HeaderFooterValues NotesOf(AppContext& context)
{
    return HeaderFooterValuesNow(context.document ? context.document->PathName() : std::string());
}

void TellError(AppContext& context, const std::string& text)
{
    if (context.prompt) context.prompt->Tell(text, PromptIcon::Error);
}

void Print(AppContext& context)
{
    CAnsiView* view = TargetView(context);
    if (!view) return;
    QPrinter& printer = ProcessPrinter();
    const std::optional<PrintRange> selection =
        view == context.view ? SelectionPrintRange(*context.view) : std::nullopt;
    const PrintSettings& settings = ProcessPrintSettings();
    // Before the printer is known the page count can only be estimated.
    const int32_t estimate = (settings.flags & PrintWrapLines)
                                 ? 1000
                                 : static_cast<int32_t>(std::clamp<int64_t>(
                                       (view->LineCount() + settings.linesPerPage - 1) / settings.linesPerPage, 1,
                                       INT32_MAX));
    QPrintDialog dialog(&printer, context.mainWindow);
    dialog.setWindowTitle("Drucken");
    dialog.setMinMax(1, estimate);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selection.has_value());
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    printer.setPrintRange(selection ? QPrinter::Selection : QPrinter::AllPages);
    if (dialog.exec() != QDialog::Accepted) return;

    const bool onlySelection = selection && printer.printRange() == QPrinter::Selection;
    const bool pageRange = printer.printRange() == QPrinter::PageRange;
    const HeaderFooterValues notes = NotesOf(context);
    const FontSpec font = view->Style().font;
    QProgressDialog progress("Drucken...", "Abbrechen", 0, 1, context.mainWindow);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    auto pageDone = [&progress](int32_t done, int32_t total) {
        progress.setMaximum(total);
        progress.setValue(done);
        return !progress.wasCanceled();
    };
    auto paint = [&](QPagedPaintDevice& device) {
        PrintJob job(*view, MakePrintJobSetup(*view, GeometryOf(device), onlySelection ? selection : std::nullopt, notes));
        const int32_t first = pageRange ? std::max(0, printer.fromPage() - 1) : 0;
        const int32_t last = pageRange ? std::min(job.PageCount(), printer.toPage()) - 1 : job.PageCount() - 1;
        return first > last || PrintPages(device, job, font, first, last, pageDone);
    };
    std::string error = "Der Druck ist fehlgeschlagen.";
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    const bool printed = toFile ? WritePdfFile(printer.outputFileName().toStdString(), printer.pageLayout(),
                                               printer.resolution(), paint, error)
                                : paint(printer);
    // A job the user cancelled needs no message; nothing of it was kept.
    const bool cancelled = progress.wasCanceled();
    progress.hide();
    if (!printed && !cancelled) TellError(context, error);
}

void Preview(AppContext& context)
{
    CAnsiView* view = TargetView(context);
    if (!view) return;
    QPrinter& printer = ProcessPrinter();
    PrintJob job(*view, MakePrintJobSetup(*view, GeometryOf(printer), std::nullopt, NotesOf(context)));
    PrintPreviewDialog dialog(job, view->Style().font, printer, [&context] { Print(context); }, context.mainWindow);
    dialog.exec();
}

void PrinterSetup(AppContext& context)
{
    QPrintDialog dialog(&ProcessPrinter(), context.mainWindow);
    dialog.setWindowTitle("Druckereinrichtung");
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.exec();
}

void PageSetup(AppContext& context)
{
    CAnsiView* view = TargetView(context);
    if (!view) return;
    if (context.dialogs) view->SetDialogService(context.dialogs);
    view->EditPageSetup();
}

CommandState ViewState(AppContext& context)
{
    return {TargetView(context) != nullptr, false};
}

}  // namespace

QV_GUI_COMMAND(CmdPageSetup, PageSetup, ViewState);
QV_GUI_COMMAND(CmdPrinterSetup, PrinterSetup);
QV_GUI_COMMAND(CmdPrint, Print, ViewState);
QV_GUI_COMMAND(CmdPrintDirect, Print, ViewState);
QV_GUI_COMMAND(CmdPrintPreview, Preview, ViewState);

}  // namespace qv
