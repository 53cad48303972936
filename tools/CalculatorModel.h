// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number calculator "Zahlen umwandeln": an integer expression typed into a combo box
// is shown in decimal, hexadecimal, octal, binary and as a character while typing; the
// last 16 inputs are remembered in "CalculatorLast".
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DialogService.h"
#include "platform/SettingsStore.h"
#include "platform/Timers.h"

namespace qv {

inline constexpr const char* kCalculatorHistoryName = "CalculatorLast";
inline constexpr int kCalculatorTickMs = 150;
inline constexpr uint32_t kCalculatorInvalidColour = 0x8080FF;  // light red (255, 128, 128)

struct CalculatorResult {
    int32_t value = 0;
    bool valid = true;
    std::string decimal, hexadecimal, octal, binary, ansi;
};

// The texts of every result field for an input, as the dialog shows them.
CalculatorResult EvaluateCalculatorInput(std::string_view input);

class CalculatorModel : public DialogModel {
public:
    // settings and timers may be null.
    CalculatorModel(ISettingsStore* settings, ITimerService* timers, uint32_t initialValue);
    ~CalculatorModel() override;
    const char* DialogName() const override { return "Calculator"; }

    // The first up to four selected bytes, little-endian (missing high bytes 0).
    static uint32_t InitialValue(const uint8_t* selected, size_t count);

    // Reads the history, sets the input to the initial value, starts the timer, evaluates.
    void Open();
    // OK: a non-empty input goes to the front of the history, which is stored.
    void Confirm();
    // Escape: nothing is stored.
    void Cancel();

    // The edit text changed.
    void SetInputText(std::string_view text);
    // A line of the list was picked (mouse or Enter): it becomes the input.
    void PickHistoryLine(int index);
    // The list's highlighted line while browsing with the keyboard (-1: none); the timer
    // evaluates it.
    void SetSelectedLine(int index) { selectedLine_ = index; }
    void Tick();
    // Called when a tick evaluated the browsed line (the widget shows the new result).
    std::function<void()> onEvaluated;

    const std::string& InputText() const { return input_; }
    const std::vector<std::string>& History() const { return history_; }
    const CalculatorResult& Result() const { return result_; }
    uint32_t InputColour(uint32_t normalColour) const { return result_.valid ? normalColour : kCalculatorInvalidColour; }

private:
    void Evaluate();

    ISettingsStore* settings_;
    ITimerService* timers_;
    uint32_t initialValue_;
    std::string input_;
    std::vector<std::string> history_;
    int selectedLine_ = -1;
    int lastEvaluatedLine_ = -1;
    CalculatorResult result_;
    int timerId_ = 0;
};

// Command 32821: opens the calculator on the first up to four selected bytes; the history
// is stored only when the dialog is confirmed.
void RunCalculator(IDialogService& dialogs, ISettingsStore* settings, ITimerService* timers, const uint8_t* selected,
                   size_t count);

}  // namespace qv
