// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Message boxes and the information beep. Texts are UTF-8; the caption defaults to "Quarnival".
#include <string>

namespace qv {

enum class PromptIcon { None, Information, Question, Warning, Error };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

inline constexpr const char* kProgramCaption = "Quarnival";

class IPrompt {
public:
    virtual ~IPrompt() = default;
    // Shows a modal message and returns the button pressed. defaultButton is the preselected one.
    virtual PromptAnswer Show(const std::string& text, const std::string& caption, PromptIcon icon,
                              PromptButtons buttons, PromptAnswer defaultButton) = 0;
    virtual void Beep() = 0;

    PromptAnswer Ask(const std::string& text, const std::string& caption = kProgramCaption,
                     PromptButtons buttons = PromptButtons::YesNo, PromptAnswer defaultButton = PromptAnswer::Yes)
    {
        return Show(text, caption, PromptIcon::Question, buttons, defaultButton);
    }
    void Tell(const std::string& text, PromptIcon icon = PromptIcon::Information,
              const std::string& caption = kProgramCaption)
    {
        Show(text, caption, icon, PromptButtons::Ok, PromptAnswer::Ok);
    }
};

}  // namespace qv
