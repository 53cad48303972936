// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the document tells crash recovery, and asks of it, at the points of its cycle:
// a file about to be opened may have unsaved edits from an earlier run; new contents,
// a save and a close decide whether a journal of unsaved edits is needed.
#include <string>

namespace qv {

enum class DocumentEvent {
    Loaded,   // a file was opened
    Created,  // a new document was made
    Saved,    // the bytes were written to the file (or a part of them: the view says)
    Closing,  // the contents are about to go
};

enum class OpenOffer {
    Open,      // open the file as usual
    Restored,  // the document now holds the file with the edits of an earlier run
    Cancel,    // the user cancelled: nothing is opened
};

class IDocumentRecovery {
public:
    virtual ~IDocumentRecovery() = default;
    // Before path is opened (the save question is answered).
    virtual OpenOffer BeforeOpen(const std::string& path) = 0;
    virtual void OnDocumentEvent(DocumentEvent event) = 0;
};

}  // namespace qv
