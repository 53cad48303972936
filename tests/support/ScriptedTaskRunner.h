// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs long work inline, records the titles it was given, and can play a user who presses
// "Abbrechen" before the work gets far: the work then starts with the cancel already set.
#include <string>
#include <vector>

#include "platform/LongTask.h"

namespace qv::test {

class ScriptedTaskRunner : public ILongTaskRunner {
public:
    bool Run(const std::string& title, const std::function<void(TaskProgress&)>& work) override
    {
        titles.push_back(title);
        TaskProgress progress;
        if (cancelNext) progress.Cancel();
        cancelNext = false;
        work(progress);
        return !progress.Cancelled();
    }

    bool cancelNext = false;
    std::vector<std::string> titles;
};

}  // namespace qv::test
