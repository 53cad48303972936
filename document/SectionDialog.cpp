// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/SectionDialog.h"

#include "common/Expression.h"
#include "common/NumberText.h"
#include "document/HexDoc.h"
#include "view/HexView.h"

namespace qv {

namespace {

std::string Hex(uint64_t value) { return FormatNumber64(static_cast<int64_t>(value), kStyleHexPrefix); }
uint64_t Quick(const std::string& text) { return static_cast<uint64_t>(ParseNumber64(text, kNumberAuto)); }

uint64_t Evaluated(const std::string& text)
{
    int64_t value = 0;
    EvaluateExpression64(text, value);
    return static_cast<uint64_t>(value);
}

}  // namespace

SectionDialog::SectionDialog(uint64_t address, uint64_t length)
    : address_(Hex(address)), length_(Hex(length)), end_(Hex(address + length))
{
}

void SectionDialog::ChangeAddress(const std::string& text)
{
    address_ = text;
    Follow();
}

void SectionDialog::ChangeLength(const std::string& text)
{
    length_ = text;
    if (lengthTyped_) Follow();
}

void SectionDialog::ChangeEnd(const std::string& text)
{
    end_ = text;
    if (!lengthTyped_) Follow();
}

void SectionDialog::Follow()
{
    if (lengthTyped_)
        end_ = Hex(Quick(address_) + Quick(length_));
    else
        length_ = Hex(Quick(end_) - Quick(address_));
}

uint64_t SectionDialog::Address() const { return Evaluated(address_); }

uint64_t SectionDialog::Length() const
{
    return lengthTyped_ ? Evaluated(length_) : Evaluated(end_) - Address();
}

void ShowSectionDialog(CHexDoc& document, const CHexView& view, IDialogService& dialogs)
{
    int64_t start = 0;
    int64_t length = 0;
    const bool selected = view.GetSelectionRange(&start, &length, true, 0x400000) != 0;
    SectionDialog dialog(selected ? static_cast<uint64_t>(start) : document.BaseAddress(),
                         static_cast<uint64_t>(selected ? length : document.Length()));
    if (!dialogs.Run(dialog)) return;
    document.ShowSection(dialog.Address() - document.BaseAddress(), dialog.Length());
}

}  // namespace qv
