// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The value inspector "Werte": the bytes at the hex view's cursor (the start of the
// selection while there is one) as every row type, in the byte order chosen in the panel,
// and a value typed into a row written back there as one undo step.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/InspectorRows.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"
#include "view/ByteSource.h"

namespace qv {

class CHexView;

class ValueInspector {
public:
    static constexpr const char* kSection = "ValueInspector";

    // "BigEndian" of the section; little endian when absent.
    void Load(const ISettingsStore* settings);
    void Save(ISettingsStore* settings) const;

    bool BigEndian() const { return bigEndian_; }
    // Rewrites the rows for the same bytes.
    void SetBigEndian(bool bigEndian);

    // Reads the bytes at the position and rebuilds every row.
    void Show(const IByteSource& source, int64_t position);
    // The view's bytes at its cursor or selection start.
    void ShowView(const CHexView& view);
    int64_t Position() const { return position_; }
    const std::string& Text(InspectorRow row) const { return texts_[static_cast<size_t>(row)]; }

    // Writes a typed value (UTF-8) at the view's inspected position as one undo step, and
    // rebuilds the rows. Refused with a message (and false) when the view is read-only, the
    // text is no value of the row's type, or its bytes would run past the end.
    bool Write(CHexView& view, IPrompt& prompt, InspectorRow row, std::string_view text);

    // Where the inspector reads in a view: the lower end of the selection, or the cursor.
    static int64_t PositionIn(const CHexView& view);

private:
    void Rebuild();

    bool bigEndian_ = false;
    int64_t position_ = 0;
    std::array<uint8_t, 8> bytes_{};
    size_t available_ = 0;  // bytes from the position to the end, at most 8
    std::array<std::string, kInspectorRowCount> texts_;
};

}  // namespace qv
