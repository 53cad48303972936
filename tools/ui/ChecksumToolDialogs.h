// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the Qt dialogs of the checksum and CRC tools: the read-only result
// fields with the tools' light-yellow background, and the position a tool dialog reopens at.
#include <QDialog>
#include <QLineEdit>
#include <QPoint>
#include <optional>

namespace qv {

// A read-only line with the tools' result background.
QLineEdit* MakeToolResultField(QWidget* parent = nullptr);
// Paints a widget's base with a 0x00BBGGRR colour.
void SetToolFieldColor(QWidget* field, uint32_t colorBgr);

// Moves the dialog to its last place while that place is usable on the current screen.
void PlaceToolDialog(QDialog& dialog, const std::optional<QPoint>& lastPlace);

}  // namespace qv
