// SPDX-License-Identifier: GPL-3.0-or-later
// The about box names the program's licence.
#include <gtest/gtest.h>

#include <QLabel>

#include "app/AboutDialog.h"

namespace qv {
namespace {

TEST(AboutDialog, NamesVersionAndLicence)
{
    AboutDialog dialog;
    QString shown;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) shown += label->text();
    EXPECT_TRUE(shown.contains(QV_VERSION));
    EXPECT_TRUE(shown.contains("GPL-3.0-or-later"));
}

}  // namespace
}  // namespace qv
