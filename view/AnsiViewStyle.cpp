// SPDX-License-Identifier: GPL-3.0-or-later
// Font, margin, colours, settings, context menu and commands of CAnsiView: everything
// that is shared by the views of one style.
#include <algorithm>
#include <cstdlib>

#include "view/AnsiView.h"
#include "view/ColorDialogModel.h"
#include "view/FontDialogModel.h"
#include "print/PageSetupDialog.h"
#include "print/PrintSettings.h"
#include "view/ViewStyleSettings.h"

namespace qv {

namespace {

// Each channel reduced by an eighth: the margin's grey derived from the button face.
Color Darken(Color color)
{
    auto channel = [&](int shift) {
        int32_t c = (color >> shift) & 0xFF;
        return (c - c / 8) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

}  // namespace

void CAnsiView::SetLeftMargin(int32_t pixels)
{
    if (pixels < 0 || pixels > kMaxLeftMargin) pixels = 0;
    for (CAnsiView* view : AllViews()) {
        if (view->style_ != style_) continue;
        view->leftMargin_ = pixels;
        view->RecountAllPanes();
        view->InvalidateAll();
        view->UpdateScroll(0);
    }
}

void CAnsiView::SetFont(int32_t height, std::string_view face)
{
    FontSpec spec = style_->font;
    std::string wanted = spec.FaceName();
    if (height != 0) {
        int32_t size = std::clamp(std::abs(height), kMinFontHeight, kMaxFontHeight);
        spec.height = height < 0 ? -size : size;
        spec.width = 0;
        spec.style = FontFixedPitch;
        spec.SetFaceName(face);
        wanted = std::string(face);
    }
    if (!host_) {
        style_->font = spec;  // made when the view gets its window
        return;
    }
    FontSpec base = spec;
    std::optional<CellMetrics> cell;
    for (const std::string& name : FontFaceFallbacks(wanted)) {
        base.SetFaceName(name);
        cell = host_->MeasureFont(base);
        if (cell) break;
    }
    if (!cell) return;  // no face works: the old font stays
    cell->width = std::max(1, cell->width);
    cell->height = std::max(1, cell->height);
    for (int v = 0; v < kFontVariantCount; ++v) {
        FontSpec variant = base;
        variant.style = FontFixedPitch | static_cast<uint32_t>(v);
        std::optional<CellMetrics> variantCell = host_->MeasureFont(variant);
        bool sameCell = variantCell && std::max(1, variantCell->width) == cell->width &&
                        std::max(1, variantCell->height) == cell->height;
        style_->variants[static_cast<size_t>(v)] = sameCell ? variant : base;
    }
    style_->font = spec;
    style_->cell = *cell;
    style_->fontCreated = true;
    for (CAnsiView* view : AllViews()) {
        if (view->style_ == style_) view->ApplyCell(*cell);
    }
}

void CAnsiView::ApplyFontSpec(const FontSpec& spec)
{
    style_->font = spec;
    SetFont(0, spec.FaceName());
}

void CAnsiView::ApplyCell(CellMetrics cell)
{
    cell.width = std::max(1, cell.width);
    cell.height = std::max(1, cell.height);
    if (cell.width != charWidth_ || cell.height != charHeight_) {
        if (host_) host_->ShowCaret(false);
        caretCreated_ = false;
    }
    charWidth_ = cell.width;
    charHeight_ = cell.height;
    RecountAllPanes();
    InvalidateAll();
    if (host_) host_->FontsChanged();
    UpdateScroll(0);
}

void CAnsiView::RedrawGroup()
{
    for (CAnsiView* view : AllViews()) {
        if (view->style_ != style_) continue;
        view->InvalidateAll();
        if (!view->redraw_.InBatch()) view->DrawPending();
    }
}

// ---- Settings ----

void CAnsiView::LoadSettings()
{
    if (noStyle_) return;
    for (const ISettingsStore* store : {settings_.machine, settings_.user}) {
        if (store) LoadFrom(*store);
    }
    RedrawGroup();
}

void CAnsiView::LoadFrom(const ISettingsStore& store)
{
    if (std::optional<FontSpec> spec = LoadFontSpec(store, style_->settingsPath)) {
        style_->font = *spec;
        SetFont(0, "Courier");
    }
    LoadColorEntries(store, style_->settingsPath, style_->colors);
    LoadPrintSettings(store, style_->settingsPath, ProcessPrintSettings());
}

void CAnsiView::StoreSettings()
{
    if (noStyle_ || !settings_.user) return;
    StoreFontSpec(*settings_.user, style_->settingsPath, style_->font);
    StoreColorEntries(*settings_.user, style_->settingsPath, style_->colors);
    StorePrintSettings(*settings_.user, style_->settingsPath, ProcessPrintSettings());
}

// ---- Dialogs ----

int CAnsiView::EditColors()
{
    if (noStyle_) return 2;
    if (!dialogs_) return 0;
    ColorDialogModel model(style_->colors, style_->font);
    if (!dialogs_->Run(model)) return 0;
    style_->colors = model.Table();
    StoreSettings();
    RedrawGroup();
    return 1;
}

int CAnsiView::EditFont()
{
    if (!dialogs_) return 0;
    FontDialogModel model(style_->font);
    if (!dialogs_->Run(model)) {
        Redraw(true);
        return 0;
    }
    ApplyFontSpec(model.Result());
    StoreSettings();
    RedrawGroup();
    return 1;
}

int CAnsiView::EditPageSetup()
{
    if (!dialogs_) return 0;
    PageSetupDialog model(ProcessPrintSettings());
    if (!dialogs_->Run(model)) return 0;
    model.ApplyTo(ProcessPrintSettings());
    StoreSettings();
    return 1;
}

// ---- Context menu and commands ----

MenuEntry CAnsiView::CommandEntry(int command, std::string text) const
{
    bool own = (command == CmdFont || command == CmdColors || command == CmdPageSetup) && dialogs_;
    bool enabled = own || (parent_ && parent_->IsCommandEnabled(command));
    return MenuEntry{command, std::move(text), enabled, false};
}

void CAnsiView::ShowContextMenu(int32_t x, int32_t y, ContextMenu& menu)
{
    menu.push_back(CommandEntry(CmdPageSetup, "&Seite einrichten"));
    if (!noStyle_) menu.push_back(CommandEntry(CmdColors, "&Farben einstellen"));
    menu.push_back(CommandEntry(CmdFont, "Schri&ften einstellen"));
    if (!host_) return;
    int command = host_->TrackPopupMenu(x, y, menu);
    if (command != 0) RunCommand(command);
}

bool CAnsiView::HandleCommand(int command)
{
    switch (command) {
    case CmdFont: EditFont(); return true;
    case CmdColors: EditColors(); return true;
    case CmdPageSetup: EditPageSetup(); return true;
    default: return false;
    }
}

bool CAnsiView::RunCommand(int command)
{
    bool own = command == CmdFont || command == CmdColors || command == CmdPageSetup;
    if (own && dialogs_) return HandleCommand(command);
    return parent_ && parent_->ExecuteCommand(command);
}

void CAnsiView::HandleSystemColorsChanged()
{
    Color face = host_ ? host_->SystemColorOf(SystemColor::ButtonFace) : kDefaultColor;
    marginColor_ = face == kDefaultColor ? 0xC0C0C0 : Darken(face);
    Redraw(false);
}

}  // namespace qv
