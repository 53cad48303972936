// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>

namespace qv {

// "Info über Quarnival": the icon, the program's name, version and licence, and OK.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace qv
