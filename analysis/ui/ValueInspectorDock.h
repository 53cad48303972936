// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The value inspector "Werte" in a dock of the main window: the byte order switch and one
// row per type, following the hex view's cursor; a row's value is typed after a double
// click or F2.
#include <QDockWidget>
#include <QTableWidget>
#include <QTimer>

#include "analysis/ValueInspector.h"
#include "app/AppContext.h"

class QRadioButton;

namespace qv {

class CHexView;

// Double click and F2 edit the value of a row wherever they hit it; Ctrl+C copies the value.
class InspectorTable : public QTableWidget {
    Q_OBJECT
public:
    using QTableWidget::QTableWidget;
    // Wide enough for the names and the longest values (the time stamps).
    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
};

class ValueInspectorDock : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kValueColumn = 1;

    ValueInspectorDock(AppContext& context, CHexView& view, QWidget* parent);

    ValueInspector& Inspector() { return inspector_; }
    InspectorTable* Table() const { return table_; }
    QRadioButton* BigEndianButton() const { return bigEndian_; }

    // The hex view's notifications: the rows are read again once the command is done.
    void OnViewNotify(int code);
    // Reads the view now and shows the rows.
    void Refresh();
    // Writes a typed value (as the table's editor hands it over) at the inspected position.
    bool Write(InspectorRow row, const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowRows();

    AppContext& context_;
    CHexView& view_;
    ValueInspector inspector_;
    InspectorTable* table_ = nullptr;
    QRadioButton* littleEndian_ = nullptr;
    QRadioButton* bigEndian_ = nullptr;
    QTimer refresh_;
};

}  // namespace qv
