// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt widgets for the plain dialog models of platform/DialogService.h. Each ui/ folder
// registers a runner for the DialogName() of its models with QV_DIALOG_WIDGET.
#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "platform/DialogService.h"

namespace qv {

// Shows the widget for model modally over parent; true when the user confirmed.
using DialogRunner = std::function<bool(DialogModel& model, QWidget* parent)>;

std::map<std::string, DialogRunner>& RegisteredDialogs();

struct DialogRegistrar {
    DialogRegistrar(const char* name, DialogRunner run) { RegisteredDialogs()[name] = std::move(run); }
};

}  // namespace qv

#define QV_DIALOG_CONCAT_INNER(a, b) a##b
#define QV_DIALOG_CONCAT(a, b) QV_DIALOG_CONCAT_INNER(a, b)
#define QV_DIALOG_WIDGET(name, runner) \
    static ::qv::DialogRegistrar QV_DIALOG_CONCAT(qvDialogWidget, __LINE__)(name, runner)
