// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The row layout of the hex view: how many bytes a row holds, where each byte's hex digits
// and character stand, and how many rows a block needs. Pure arithmetic on the display
// settings, shared by the view, printing and the CLI dump.
#include <array>
#include <cstddef>
#include <cstdint>

namespace qv {

// Bits of the hex view's option and state word that the layout reads.
enum HexLayoutFlagBits : uint32_t {
    FlagAutoWidth = 0x2,
    FlagRaster = 0x4,
    FlagWidthRaster = 0x8,
    FlagHideHex = 0x10,
    FlagHideText = 0x20,
    FlagHideAddress = 0x40,
    FlagPersist = 0x80,
    FlagRelayout = 0x4000,
};

// The bits whose change forces a recomputation of the layout.
inline constexpr uint32_t kLayoutFlagMask = 0x4076;

enum HexArea : int { AreaHex = 0, AreaText = 1, AreaAddress = 2 };

// Extra-space value meaning "no extra blank column": larger than any row.
inline constexpr int32_t kNoExtraSpace = 4096;
inline constexpr int32_t kMaxBytesPerRow = 256;

// The arguments of SetLayout after negative ones were replaced by the current values.
struct LayoutRequest {
    int32_t lineWidth = 16;
    int32_t extraSpace = 4;
    int32_t insertSpace = 1;
    int32_t addressDigits = 6;
    int32_t outputFormat = 0;
    int32_t invert = 0;
};

// Hex digits of a value without leading zeros (at least 1).
int32_t HexDigitsOf(uint64_t value);

class HexLayout {
public:
    HexLayout() { Recompute(0); }

    // Configured values (as stored in the settings).
    int32_t lineWidth = 16;
    int32_t extraSpace = 4;  // unrounded, 0 = off
    int32_t insertSpace = 1;
    int32_t addressLength = 6;
    int32_t outputFormat = 0;
    int32_t raster = 4;
    int32_t widthRaster = 4;

    // Effective values.
    int32_t bytesPerRow = 16;
    int32_t effectiveExtraSpace = 4;
    int32_t effectiveRaster = 4;
    int32_t effectiveWidthRaster = 4;
    int32_t invertMask = 0;
    int32_t addressColumnWidth = 8;  // digits + 2, even while the column is hidden
    // Digits the block's highest address needs: the column widens beyond addressLength so
    // that every address of a large block shows whole. 0 when the block does not say.
    int32_t addressDigitsNeeded = 0;

    // Column positions, recomputed by Recompute.
    int32_t addressWidth = 8;
    int32_t hexStart = 8;
    int32_t hexWidth = 52;
    int32_t textStart = 60;
    int32_t textWidth = 16;
    int32_t lineLength = 76;

    int32_t rowPhase = 0;  // 0..bytesPerRow-1; offset o lies in row (o + rowPhase) / bytesPerRow
    int activeArea = AreaHex;
    uint32_t flagsSnapshot = 0xFFFFFFFF;

    int32_t ElementSize() const { return 1 << outputFormat; }
    // Hex digits the address column shows: the configured count, or more when needed.
    int32_t AddressDigits() const;
    int32_t Phase() const { return bytesPerRow > 0 ? rowPhase % bytesPerRow : 0; }

    // Replaces negative arguments by the current values.
    LayoutRequest Complete(int32_t lineWidth, int32_t extraSpace, int32_t insertSpace, int32_t addressDigits,
                           int32_t outputFormat, int32_t invert) const;

    // Applies a completed request under the given option word (steps of SetLayout that do
    // not touch the cursor). Returns false when nothing changed and no recomputation was due;
    // then nothing was touched. On true, FlagRelayout is cleared in hexFlags and the columns,
    // the row phase limits and the active area are up to date.
    bool Apply(const LayoutRequest& request, uint32_t& hexFlags);

    // Recomputes the column positions from the effective values.
    void Recompute(uint32_t hexFlags);

    // Rows needed for a block of `length` bytes with the current phase.
    int64_t LineCount(int64_t length) const;

    // Byte index within a row <-> character column, in the given area.
    int32_t ColumnOfIndex(int32_t index, int area) const;
    int32_t IndexOfColumn(int32_t column, int area) const;
    int32_t ColumnOfIndex(int32_t index) const { return ColumnOfIndex(index, activeArea); }
    int32_t IndexOfColumn(int32_t column) const { return IndexOfColumn(column, activeArea); }

    // Hex column of the byte at index i of a row (inversion included), from a table.
    int32_t HexColumn(int32_t index) const { return hexColumn_[static_cast<std::size_t>(index) & 0xFF]; }

    // Bytes per row that fit into a pane of `paneColumns` columns (before the raster and
    // limits of SetLayout are applied).
    int32_t FitWidth(int32_t paneColumns, uint32_t hexFlags) const;

private:
    std::array<int32_t, kMaxBytesPerRow> hexColumn_{};
};

}  // namespace qv
