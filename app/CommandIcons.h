// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QIcon>
#include <string>

namespace qv {

// The toolbar and menu image of a command: the desktop theme's icon when it has one,
// else Qt's own standard image, else a small drawn label, so no button is ever blank.
QIcon CommandIcon(int command, const std::string& themeName);

}  // namespace qv
