// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ui/PdfOutput.h"

#include <QBuffer>
#include <QPdfWriter>

#include "platform/AtomicSave.h"

namespace qv {

bool WritePdfFile(const std::string& path, const QPageLayout& layout, int resolution,
                  const std::function<bool(QPagedPaintDevice&)>& paint, std::string& error)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        writer.setCreator("Quarnival");
        writer.setResolution(resolution);
        writer.setPageLayout(layout);
        painted = paint(writer);
    }  // the writer finishes the document when it goes
    if (!painted) {
        error = "Der Druck ist fehlgeschlagen.";
        return false;
    }
    const QByteArray& bytes = buffer.data();
    if (SaveFileAtomically(path, reinterpret_cast<const uint8_t*>(bytes.constData()),
                           static_cast<size_t>(bytes.size())) != SaveError::None) {
        error = "Die Datei " + path + " kann nicht geschrieben werden.";
        return false;
    }
    return true;
}

}  // namespace qv
