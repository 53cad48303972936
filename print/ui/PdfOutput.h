// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Print output into a PDF file that never shows up half-written: the pages are made in
// memory and the file is saved atomically once they are complete.
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <functional>
#include <string>

namespace qv {

// `paint` draws the pages on the PDF device and returns false when it failed. On failure
// the file stays as it was and `error` holds a German message.
bool WritePdfFile(const std::string& path, const QPageLayout& layout, int resolution,
                  const std::function<bool(QPagedPaintDevice&)>& paint, std::string& error);

}  // namespace qv
