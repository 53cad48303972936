// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One print of a line view on a printer the user has set up (page range, PDF file), with
// a progress box that offers "Abbrechen".
#include <QPrinter>
#include <optional>

#include "platform/Prompt.h"
#include "print/HeaderFooterText.h"
#include "print/PrintLayout.h"

class QWidget;

namespace qv {

class CAnsiView;

// Prints the selection's rows when one is given, else all lines. A page range past the
// last page prints nothing and says so, and a PDF file chosen as the target stays as it
// was. A failure is told once the progress box is gone; a cancelled job is not.
void PrintOnPrinter(CAnsiView& view, QPrinter& printer, const std::optional<PrintRange>& selection,
                    const HeaderFooterValues& notes, IPrompt* prompt, QWidget* parent);

}  // namespace qv
