// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The crossing between the program's texts (Windows-1252) and Qt's strings.
#include <QString>
#include <string>
#include <string_view>

#include "common/CodePage.h"

namespace qv {

inline QString ToQt(std::string_view cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }
inline std::string FromQt(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

}  // namespace qv
