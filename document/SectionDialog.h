// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Abschnitt einblenden": the part of the document the view shows, as address and length
// or as address and end address. Whichever of length and end address is not typed follows
// the other fields as they change.
#include <cstdint>
#include <string>

#include "platform/DialogService.h"

namespace qv {

class SectionDialog : public DialogModel {
public:
    static constexpr const char* kName = "Section";
    const char* DialogName() const override { return kName; }

    SectionDialog(uint64_t address, uint64_t length);

    const std::string& AddressText() const { return address_; }
    const std::string& LengthText() const { return length_; }
    const std::string& EndText() const { return end_; }
    // "Endaddresse eingeben": checked, the length is typed and the end address follows;
    // unchecked, the end address is typed and the length follows.
    bool LengthTyped() const { return lengthTyped_; }

    void ChangeAddress(const std::string& text);
    void ChangeLength(const std::string& text);
    void ChangeEnd(const std::string& text);
    void ChangeLengthTyped(bool typed) { lengthTyped_ = typed; }

    // The values on OK, read as expressions.
    uint64_t Address() const;
    uint64_t Length() const;

private:
    void Follow();

    std::string address_;
    std::string length_;
    std::string end_;
    bool lengthTyped_ = true;
};

class CHexDoc;
class CHexView;

// Command 32828: proposes the selection (or the whole document), and on OK shows the part
// chosen with CHexDoc::ShowSection.
void ShowSectionDialog(CHexDoc& document, const CHexView& view, IDialogService& dialogs);

}  // namespace qv
