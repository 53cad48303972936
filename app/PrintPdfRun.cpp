// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PrintPdfRun.h"

#include <QPageLayout>
#include <QPageSize>
#include <cstdio>
#include <cstring>
#include <string>

#include "document/HexDoc.h"
#include "print/ui/PdfOutput.h"
#include "print/ui/PrintPainting.h"
#include "platform/qt/QtSettingsStore.h"
#include "shell/CommandLine.h"
#include "shell/StartPositions.h"
#include "print/HexPrintRange.h"
#include "view/HexView.h"
#include "print/PrintJob.h"

namespace qv {

namespace {

constexpr int kPdfResolution = 1200;

// Without a window nobody can answer: questions silently take their default answer, and
// only messages go to stderr.
class StderrPrompt : public IPrompt {
public:
    PromptAnswer Show(const std::string& text, const std::string& /*caption*/, PromptIcon /*icon*/,
                      PromptButtons buttons, PromptAnswer defaultButton) override
    {
        if (buttons == PromptButtons::Ok) std::fprintf(stderr, "quarnival: %s\n", text.c_str());
        return defaultButton;
    }
    void Beep() override {}
};

// The rows of /J:address:length, when the length is at least 1; an address outside the
// document is an error.
std::optional<PrintRange> JumpRange(const CommandLine& commandLine, const CHexView& view, std::string& error)
{
    if (!commandLine.jumpOption) return std::nullopt;
    const auto [address, length] = ReadNumberPair(*commandLine.jumpOption);
    if (length == 0) return std::nullopt;
    const int64_t first = view.OffsetOf(address, true);
    if (first < 0 || first >= view.Buffer().Length()) {
        char text[160];
        std::snprintf(text, sizeof text, "Die Adresse 0x%llX aus /J liegt nicht in der Datei; es wurde nichts gedruckt.",
                      static_cast<unsigned long long>(address));
        error = text;
        return std::nullopt;
    }
    // The end is limited to the block, so a length past its end prints to the last row.
    const int64_t last = length - 1 > static_cast<uint64_t>(INT64_MAX - first)
                             ? INT64_MAX
                             : first + static_cast<int64_t>(length - 1);
    return BytesPrintRange(view, first, last);
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "quarnival: %s\n", message.c_str());
    return 1;
}

}  // namespace

bool AsksForPdf(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--print-pdf") == 0) return true;
    }
    return false;
}

std::optional<int> RunPrintPdf(const QStringList& arguments)
{
    std::vector<std::string> args;
    for (const QString& argument : arguments.mid(1)) args.push_back(argument.toStdString());
    CommandLine commandLine = ParseCommandLine(args);
    if (!commandLine.printPdfPath) return std::nullopt;
    if (commandLine.printPdfPath->empty() || commandLine.fileName.empty())
        return Fail("Aufruf: quarnival --print-pdf AUSGABE.pdf DATEI");

    QtSettingsStore userSettings(QSettings::UserScope);
    QtSettingsStore machineSettings(QSettings::SystemScope);
    const SettingsStores stores{&userSettings, &machineSettings};
    StartOptions startOptions = commandLine.options;
    // Printing never writes: unless told otherwise, the file is opened read-only.
    if (startOptions.AccessMode == 0) startOptions.AccessMode = 1;
    StderrPrompt prompt;
    CHexView view(FlagPersist, stores);
    view.SetPrompt(&prompt);
    DocumentServices services;
    services.prompt = &prompt;
    services.settings = &userSettings;
    services.startOptions = &startOptions;
    CHexDoc document(services);
    document.AttachView(&view);
    if (!document.FileOpen(NormalizeStartPath(commandLine.fileName))) return 1;

    std::string jumpError;
    const std::optional<PrintRange> selection = JumpRange(commandLine, view, jumpError);
    if (!jumpError.empty()) return Fail(jumpError);
    const HeaderFooterValues notes = HeaderFooterValuesNow(document.PathName());
    auto paint = [&](QPagedPaintDevice& device) {
        PrintJob job(view, MakePrintJobSetup(view, GeometryOf(device), selection, notes));
        return PrintPages(device, job, view.Style().font, 0, job.PageCount() - 1);
    };
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                         QPageLayout::Millimeter);
    std::string error;
    if (!WritePdfFile(*commandLine.printPdfPath, a4, kPdfResolution, paint, error)) return Fail(error);
    return 0;
}

}  // namespace qv
