// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's runner for long work. The work runs on a thread of its own and reads bytes
// only, while the window thread waits for it. Work that ends within half a second shows
// nothing but the wait cursor, and no event is handled meanwhile, so nothing can happen
// in between. Longer work brings up a modal progress dialog with "Abbrechen": the windows
// keep painting, every input goes to the dialog, and "Abbrechen", Escape or closing the
// dialog asks the work to stop; the runner then waits for the thread to end.
#include <QPointer>
#include <QWidget>

#include "platform/LongTask.h"

namespace qv {

class QtTaskRunner final : public ILongTaskRunner {
public:
    static constexpr int kShowAfterMs = 500;
    static constexpr int kPollMs = 50;

    explicit QtTaskRunner(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    // How long the work runs before the dialog shows (tests shorten it).
    void SetShowAfter(int ms) { showAfterMs_ = ms; }

    // Must be called on the window thread. An exception thrown by the work is thrown here
    // once its thread has ended.
    bool Run(const std::string& title, const std::function<void(TaskProgress&)>& work) override;

private:
    QPointer<QWidget> parent_;
    int showAfterMs_ = kShowAfterMs;
};

}  // namespace qv
