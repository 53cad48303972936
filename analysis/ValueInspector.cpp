// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ValueInspector.h"

#include <algorithm>

#include "view/HexView.h"

namespace qv {

void ValueInspector::Load(const ISettingsStore* settings)
{
    if (!settings) return;
    if (auto bigEndian = settings->ReadDword(kSection, "BigEndian")) bigEndian_ = *bigEndian != 0;
}

void ValueInspector::Save(ISettingsStore* settings) const
{
    if (settings) settings->WriteDword(kSection, "BigEndian", bigEndian_ ? 1 : 0);
}

void ValueInspector::SetBigEndian(bool bigEndian)
{
    bigEndian_ = bigEndian;
    Rebuild();
}

void ValueInspector::Show(const IByteSource& source, int64_t position)
{
    position_ = position;
    std::vector<uint8_t> scratch;
    const auto bytes = source.Window(position, static_cast<int64_t>(bytes_.size()), scratch);
    available_ = bytes.size();
    std::copy(bytes.begin(), bytes.end(), bytes_.begin());
    Rebuild();
}

void ValueInspector::ShowView(const CHexView& view)
{
    Show(view.Bytes(), PositionIn(view));
}

void ValueInspector::Rebuild()
{
    const std::span<const uint8_t> bytes(bytes_.data(), available_);
    for (int i = 0; i < kInspectorRowCount; ++i) {
        const auto row = static_cast<InspectorRow>(i);
        texts_[static_cast<size_t>(i)] = InspectorRowText(row, bytes, bigEndian_);
    }
}

int64_t ValueInspector::PositionIn(const CHexView& view)
{
    int64_t length = 0;
    return static_cast<int64_t>(view.GetSelection(false, &length));
}

bool ValueInspector::Write(CHexView& view, IPrompt& prompt, InspectorRow row, std::string_view text)
{
    if (view.IsReadOnly()) {
        prompt.Tell("Das Dokument ist schreibgeschützt.\nDer Wert wird nicht geschrieben.", PromptIcon::Warning);
        return false;
    }
    const auto bytes = InspectorRowBytes(row, text, bigEndian_);
    if (!bytes) {
        prompt.Tell("\"" + std::string(text) + "\" ist kein Wert vom Typ " + InspectorRowName(row) + ".",
                    PromptIcon::Warning);
        return false;
    }
    const int64_t position = PositionIn(view);
    const int64_t remaining = std::max<int64_t>(view.Length() - position, 0);
    if (static_cast<int64_t>(bytes->size()) > remaining) {
        prompt.Tell("Der Wert braucht " + std::to_string(bytes->size()) + " Bytes, bis zum Ende des Dokuments sind es nur noch " +
                        std::to_string(remaining) + ".\nDer Wert wird nicht geschrieben.",
                    PromptIcon::Warning);
        return false;
    }
    view.OverwriteBytes(position, bytes->data(), static_cast<int64_t>(bytes->size()));
    ShowView(view);
    return true;
}

}  // namespace qv
