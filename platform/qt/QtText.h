// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The crossing between the program's texts (Windows-1252, or UTF-8 where said) and Qt's strings.
#include <QString>
#include <string>
#include <string_view>

#include "common/CodePage.h"

namespace qv {

inline QString ToQt(std::string_view cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }
inline std::string FromQt(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

// Texts kept in UTF-8 inside the program (paths, user names, page headers).
inline QString Utf8ToQt(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace qv
