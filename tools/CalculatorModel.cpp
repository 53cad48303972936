// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CalculatorModel.h"

#include "common/CText.h"
#include "common/Expression.h"
#include "common/MultiString.h"
#include "common/NumberText.h"
#include "tools/CalculatorNames.h"

namespace qv {

CalculatorResult EvaluateCalculatorInput(std::string_view input)
{
    CalculatorResult result;
    EvaluateExpression(input, result.value, &result.valid, ResolveCalculatorName);
    result.decimal = FormatNumber(result.value, kStyleSigned);
    result.hexadecimal = FormatNumber(result.value, kStyleHexPrefix);
    result.octal = FormatNumber(result.value, kStyleOctPrefix);
    result.binary = FormatNumber(result.value & 0xFFFF, kStyleBinPrefix);  // the low 16 bits only
    char ansi[kCCharMaxText];
    result.ansi.assign(ansi, ByteToCChar(static_cast<uint8_t>(result.value & 0xFF), ansi, sizeof ansi, true));
    return result;
}

CalculatorModel::CalculatorModel(ISettingsStore* settings, ITimerService* timers, uint32_t initialValue)
    : settings_(settings), timers_(timers), initialValue_(initialValue)
{
}

CalculatorModel::~CalculatorModel()
{
    if (timers_ && timerId_) timers_->Stop(timerId_);
}

uint32_t CalculatorModel::InitialValue(const uint8_t* selected, size_t count)
{
    uint32_t value = 0;
    for (size_t i = 0; selected && i < count && i < 4; ++i) value |= uint32_t{selected[i]} << (8 * i);
    return value;
}

void CalculatorModel::Open()
{
    if (settings_)
        if (auto stored = settings_->ReadMultiString("", kCalculatorHistoryName))
            history_ = MultiString::FromList(*stored).ToList();
    input_ = FormatNumber(static_cast<int32_t>(initialValue_), kStyleHexPrefix);
    if (timers_ && !timerId_) timerId_ = timers_->Start(kCalculatorTickMs, [this] { Tick(); });
    Evaluate();
}

void CalculatorModel::Confirm()
{
    Cancel();
    if (input_.empty()) return;
    MultiString history = MultiString::FromList(history_);
    history.AddToHistory(input_, 16);
    history_ = history.ToList();
    if (settings_) settings_->WriteMultiString("", kCalculatorHistoryName, history_);
}

void CalculatorModel::Cancel()
{
    if (timers_ && timerId_) timers_->Stop(timerId_);
    timerId_ = 0;
}

void CalculatorModel::SetInputText(std::string_view text)
{
    input_ = std::string(text);
    selectedLine_ = -1;
    Evaluate();
}

void CalculatorModel::PickHistoryLine(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= history_.size()) return;
    input_ = history_[static_cast<size_t>(index)];
    selectedLine_ = index;
    Evaluate();
}

void CalculatorModel::Tick()
{
    if (selectedLine_ == lastEvaluatedLine_) return;
    Evaluate();
    if (onEvaluated) onEvaluated();
}

void CalculatorModel::Evaluate()
{
    bool fromList = selectedLine_ >= 0 && static_cast<size_t>(selectedLine_) < history_.size();
    if (fromList) input_ = history_[static_cast<size_t>(selectedLine_)];
    lastEvaluatedLine_ = selectedLine_;
    result_ = EvaluateCalculatorInput(input_);
}

void RunCalculator(IDialogService& dialogs, ISettingsStore* settings, ITimerService* timers, const uint8_t* selected,
                   size_t count)
{
    CalculatorModel model(settings, timers, CalculatorModel::InitialValue(selected, count));
    model.Open();
    if (dialogs.Run(model))
        model.Confirm();
    else
        model.Cancel();
}

}  // namespace qv
