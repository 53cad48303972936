// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ui/PrintPainting.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <array>
#include <optional>

#include "view/ui/FontResolver.h"
#include "view/ui/QtLineDrawing.h"
#include "platform/qt/QtText.h"

namespace qv {

namespace {

using PrinterFonts = std::array<QFont, kFontVariantCount>;

// The first face that can be made: the view's own if it is scalable, else the
// replacements for printing.
std::optional<QFont> PrinterFont(FontSpec spec, bool oneFont)
{
    const QString wanted = ToQt(spec.FaceName());
    std::vector<std::string> faces;
    if (oneFont || wanted.isEmpty() || QFontDatabase::isScalable(wanted)) faces.push_back(spec.FaceName());
    for (const char* face : {"Courier New", "Lucida Console", ""}) faces.push_back(face);
    for (const std::string& face : faces) {
        spec.SetFaceName(face);
        if (std::optional<QFont> font = ResolveFont(spec)) return font;
    }
    return std::nullopt;
}

// The largest pixel size at which the font's ascent plus descent fit into the line: a
// font's cell is taller than its em, and a glyph below the line would be painted over by
// the background of the next row.
int FittedPixelSize(QFont font, int lineHeight)
{
    font.setPixelSize(lineHeight);
    const int cell = QFontMetrics(font).height();
    int size = cell > lineHeight ? lineHeight * lineHeight / cell : lineHeight;
    for (; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= lineHeight) break;
    }
    return std::max(1, size);
}

// The face chosen for the printer (or the system's fixed face), sized to fit the line and,
// as far as the face allows, stretched to the character width.
QFont FittedPrinterFont(FontSpec spec, bool oneFont, int lineHeight)
{
    auto make = [&spec, oneFont] {
        std::optional<QFont> font = PrinterFont(spec, oneFont);
        QFont made = font ? *font : QFontDatabase::systemFont(QFontDatabase::FixedFont);
        made.setPixelSize(spec.height);
        return made;
    };
    spec.height = lineHeight;
    spec.height = FittedPixelSize(make(), lineHeight);
    return make();
}

PrinterFonts MakePrinterFonts(const FontSpec& viewFont, const PageMetrics& metrics, bool oneFont)
{
    FontSpec spec = viewFont;
    spec.width = metrics.charWidth;
    spec.style = (spec.style & ~(FontBold | FontItalic | FontUnderline)) | FontFixedPitch;
    PrinterFonts fonts;
    for (int variant = 0; variant < kFontVariantCount; ++variant) {
        FontSpec styled = spec;
        if (!oneFont) styled.style |= static_cast<uint32_t>(variant) & (FontBold | FontItalic | FontUnderline);
        fonts[static_cast<size_t>(variant)] = FittedPrinterFont(styled, oneFont, metrics.lineHeight);
    }
    return fonts;
}

// "Arial" 3.5 mm high, else "Courier New", else the system's face.
QFont HeaderFont(const PrinterGeometry& printer)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    for (const char* face : {"Arial", "Courier New"}) {
        if (QFontDatabase::hasFamily(face)) {
            font = QFont(face);
            break;
        }
    }
    font.setPixelSize(std::max(1, printer.pixelsDown * 7 / std::max(1, printer.mmDown) / 2));
    return font;
}

class QtPrintSurface : public IPrintSurface {
public:
    QtPrintSurface(QPainter& painter, const PrinterFonts& fonts, const PageMetrics& metrics, const QFont& header,
                   const QPaintDevice& device)
        : painter_(painter),
          lines_(painter, fonts, {metrics.charWidth, metrics.lineHeight}, Qt::white, Qt::black, true),
          header_(header),
          headerMetrics_(header, &device)
    {
    }

    ILineDrawing& Lines() override { return lines_; }

    void DrawFrame(const LineRect& rect, bool filled) override
    {
        painter_.save();
        painter_.setPen(QPen(Qt::black, 2));
        painter_.setBrush(filled ? QBrush(Qt::lightGray) : QBrush(Qt::NoBrush));
        painter_.drawRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
        painter_.restore();
    }

    int32_t HeaderLineHeight() const override { return std::max(1, headerMetrics_.height()); }

    int32_t HeaderTextWidth(std::string_view text) const override
    {
        return headerMetrics_.horizontalAdvance(Utf8ToQt(text));
    }

    void DrawHeaderText(int32_t x, int32_t y, std::string_view text) override
    {
        painter_.setFont(header_);
        painter_.setPen(Qt::black);
        painter_.drawText(QPoint(x, y + headerMetrics_.ascent()), Utf8ToQt(text));
    }

private:
    QPainter& painter_;
    QtLineDrawing lines_;
    QFont header_;
    QFontMetrics headerMetrics_;
};

bool PrinterGaveUp(const QPagedPaintDevice& device)
{
    const auto* printer = dynamic_cast<const QPrinter*>(&device);
    return printer && (printer->printerState() == QPrinter::Aborted || printer->printerState() == QPrinter::Error);
}

}  // namespace

PrinterGeometry GeometryOf(const QPaintDevice& device)
{
    return {device.width(), device.height(), device.widthMM(), device.heightMM(), device.logicalDpiX(),
            device.logicalDpiY()};
}

struct PagePainter::Fonts {
    PrinterFonts lines;
    QFont header;
};

PagePainter::PagePainter(PrintJob& job, const FontSpec& viewFont, const QPaintDevice& device)
    : job_(job), device_(device), fonts_(std::make_unique<Fonts>())
{
    const bool oneFont = (job.Setup().settings.flags & PrintOneFont) != 0;
    fonts_->lines = MakePrinterFonts(viewFont, job.Metrics(), oneFont);
    fonts_->header = HeaderFont(job.Setup().printer);
}

PagePainter::~PagePainter() = default;

void PagePainter::Paint(QPainter& painter, int32_t page)
{
    QtPrintSurface surface(painter, fonts_->lines, job_.Metrics(), fonts_->header, device_);
    job_.PrintPage(surface, page);
}

bool PrintPages(QPagedPaintDevice& device, PrintJob& job, const FontSpec& viewFont, int32_t first, int32_t last,
                const PrintProgress& progress)
{
    PagePainter pages(job, viewFont, device);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    bool complete = true;
    for (int32_t page = first; page <= last && complete; ++page) {
        if (progress && !progress(page - first, last - first + 1)) {
            if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->abort();
            complete = false;
            break;
        }
        complete = (page == first || device.newPage()) && !PrinterGaveUp(device);
        if (complete) pages.Paint(painter, page);
    }
    complete = complete && !PrinterGaveUp(device);
    return painter.end() && complete;
}

}  // namespace qv
