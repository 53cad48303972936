// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Prompt for tests: answers from a script, records every message shown and every beep.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Prompt.h"

namespace qv::test {

class FakePrompt : public IPrompt {
public:
    struct Shown {
        std::string text;
        std::string caption;
        PromptIcon icon;
        PromptButtons buttons;
    };

    PromptAnswer Show(const std::string& text, const std::string& caption, PromptIcon icon, PromptButtons buttons,
                      PromptAnswer defaultButton) override
    {
        shown.push_back({text, caption, icon, buttons});
        if (onShow) onShow();
        if (answers.empty()) return defaultButton;
        PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Beep() override { ++beeps; }

    std::deque<PromptAnswer> answers;  // used in order; the default button when empty
    std::vector<Shown> shown;
    std::function<void()> onShow;  // runs while each message is up
    int beeps = 0;
};

}  // namespace qv::test
