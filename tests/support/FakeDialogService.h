// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialog service for tests: each Run hands the model to the next scripted step, which
// fills it as a user would and returns OK (true) or Cancel (false).
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/DialogService.h"

namespace qv::test {

class FakeDialogService : public IDialogService {
public:
    using Step = std::function<bool(DialogModel&)>;

    bool Run(DialogModel& model) override
    {
        opened.push_back(model.DialogName());
        if (steps.empty()) return false;
        Step step = std::move(steps.front());
        steps.pop_front();
        return step(model);
    }

    std::deque<Step> steps;           // when empty, a dialog is cancelled
    std::vector<std::string> opened;  // names of the dialogs run, in order
};

}  // namespace qv::test
