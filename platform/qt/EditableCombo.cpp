// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/EditableCombo.h"

#include <QComboBox>

namespace qv {

void SetEditableKeepingText(QComboBox* combo)
{
    combo->setEditable(true);  // creates the line edit together with the default completer
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
}

}  // namespace qv
