// SPDX-License-Identifier: GPL-3.0-or-later
// Printing commands of the line views: page setup (57605), printer setup (57606), print
// (57607, 57608) and print preview (57609). Every print and preview goes to the printer
// that the printer setup chose; it is kept for the whole process.
#include <QCoreApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <optional>

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "document/HexDoc.h"
#include "print/HexPrintRange.h"
#include "print/PrintJob.h"
#include "print/ui/PrintPainting.h"
#include "print/ui/PrintPreviewDialog.h"
#include "print/ui/PrintRun.h"
#include "print/ui/PrinterSetupDialog.h"
#include "view/AnsiView.h"
#include "view/HexView.h"

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
    PrintOnPrinter(*view, printer, onlySelection ? selection : std::nullopt, NotesOf(context), context.prompt,
                   context.mainWindow);
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
    PrinterSetupDialog dialog(ProcessPrinter(), context.mainWindow);
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
