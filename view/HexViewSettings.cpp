// SPDX-License-Identifier: GPL-3.0-or-later
// CHexView: loading and storing the layout settings. The search's lists and options
// ("HexFind", "HexGroup", "HexFindFlags") lie beside them in the same section, but the
// search reads and writes them itself.
#include "view/HexView.h"

namespace qv {

namespace {
// Only these bits of a stored "HexFlags" are taken over.
constexpr uint32_t kStoredFlagBits = FlagAutoWidth | FlagRaster | FlagWidthRaster;
}  // namespace

void CHexView::LoadSettings()
{
    if (const ISettingsStore* store = Settings().user) {
        auto read = [store](const char* name, auto apply) {
            if (const auto value = store->ReadDword("", name)) apply(static_cast<int32_t>(*value));
        };
        read("InsertSpace", [this](int32_t v) { layout_.insertSpace = v != 0 ? 1 : 0; });
        read("ExtraSpace", [this](int32_t v) { layout_.extraSpace = v; });
        read("LineWidth", [this](int32_t v) { layout_.lineWidth = v; });
        read("Raster", [this](int32_t v) { layout_.raster = v; });
        read("WidthRaster", [this](int32_t v) { layout_.widthRaster = v; });
        read("InvertBytes", [this](int32_t v) { layout_.invertMask = v != 0 ? 1 : 0; });
        read("OutputFormat", [this](int32_t v) { layout_.outputFormat = v & 3; });
        read("SelectionRaster", [this](int32_t v) { selectionRaster_ = v; });
        read("StatusbarMode", [this](int32_t v) { statusbarMode_ = static_cast<uint32_t>(v) | StatusDirty; });
        read("AddressLength", [this](int32_t v) { layout_.addressLength = v; });
        read("HexFlags", [this](int32_t v) {
            hexFlags_ = (hexFlags_ & ~kStoredFlagBits) | (static_cast<uint32_t>(v) & kStoredFlagBits);
        });
        // A stored value always lays the rows out anew, even when it equals the defaults.
        hexFlags_ |= FlagRelayout;
        if (layout_.lineWidth <= 0) layout_.lineWidth = 16;
        layout_.effectiveRaster = layout_.raster;
        layout_.effectiveWidthRaster = layout_.widthRaster;
        SetLayout(-1, -1, -1, -1, -1, -1);
    }
    CAnsiView::LoadSettings();
}

void CHexView::SaveSettings()
{
    ISettingsStore* store = Settings().user;
    if (!store) return;
    auto write = [store](const char* name, int64_t value) {
        store->WriteDword("", name, static_cast<uint32_t>(value));
    };
    write("AddressLength", layout_.addressLength);
    write("InsertSpace", layout_.insertSpace);
    write("ExtraSpace", layout_.extraSpace);
    write("LineWidth", layout_.lineWidth);
    write("Raster", layout_.raster);
    write("HexFlags", hexFlags_);
    write("StatusbarMode", statusbarMode_ & ~static_cast<uint32_t>(StatusDirty));
    write("WidthRaster", layout_.widthRaster);
    write("InvertBytes", layout_.invertMask);
    write("OutputFormat", layout_.outputFormat);
    write("SelectionRaster", selectionRaster_);
}

}  // namespace qv
