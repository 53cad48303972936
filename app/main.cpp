// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's entry point.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "app/HexApp.h"
#include "app/PrintPdfRun.h"
#include "app/TerminationSignals.h"

namespace {

bool HasDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv)
{
    // Printing into a PDF shows no window, so it needs no display.
    if (!HasDisplay() && qv::AsksForPdf(argc, argv)) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "quarnival: keine grafische Anzeige (DISPLAY ist leer) - ohne Anzeige hilft "
                     "quarnival-cli weiter (quarnival-cli --help).\n");
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName("QV");
    QApplication::setApplicationName("Quarnival");
    QApplication::setApplicationVersion(QV_VERSION);
    QApplication::setDesktopFileName("quarnival");
    QApplication::setWindowIcon(QIcon(":/icons/quarnival-48.png"));
    // The user interface is German throughout, so Qt's own dialogs (files, fonts) are too.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    if (std::optional<int> printed = qv::RunPrintPdf(QApplication::arguments())) return *printed;

    qv::CHexApp app;
    // A stop request secures the unsaved edits and ends the event loop; the application then
    // stores its settings on the way out.
    qv::TerminationSignals stopRequests([&app] { app.OnStopRequest(); });
    if (!app.Start(QApplication::arguments())) return 1;
    return QApplication::exec();
}
