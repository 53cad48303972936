// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the registered widget of a model with a step that works on the open dialog and
// closes it, for the calculator, float and time dialog tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/qt/DialogRegistry.h"

namespace qv::test {

inline bool RunDialogWidget(DialogModel& model, const std::function<void(QDialog&)>& act)
{
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // Focus events reach only the active window.
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        act(*dialog);
    });
    return RegisteredDialogs().at(model.DialogName())(model, nullptr);
}

inline QColor BaseColourOf(QWidget* widget) { return widget->palette().color(QPalette::Base); }

}  // namespace qv::test
