// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key codes and flag bits of the input the host forwards to a line view. Key codes are
// the classic virtual-key numbers (letters and digits are their upper-case ASCII codes).
#include <cstdint>

namespace qv {

enum LineKey : int {
    KeyBack = 0x08,
    KeyTab = 0x09,
    KeyClear = 0x0C,
    KeyReturn = 0x0D,
    KeyShift = 0x10,
    KeyControl = 0x11,
    KeyMenu = 0x12,
    KeyEscape = 0x1B,
    KeySpace = 0x20,
    KeyPageUp = 0x21,
    KeyPageDown = 0x22,
    KeyEnd = 0x23,
    KeyHome = 0x24,
    KeyLeft = 0x25,
    KeyUp = 0x26,
    KeyRight = 0x27,
    KeyDown = 0x28,
    KeyInsert = 0x2D,
    KeyDelete = 0x2E,
    KeyF1 = 0x70,  // F1..F24 follow in order
};

// Flags passed with keys and characters (hooks OnKeyDown, OnKeyUp, OnCharKey).
inline constexpr uint32_t KeyFlagShift = 0x1;
inline constexpr uint32_t KeyFlagCtrl = 0x2;
inline constexpr uint32_t KeyFlagAlt = 0x4;
inline constexpr uint32_t KeyFlagRepeat = 0x4000;  // the key was already down (auto-repeat)

// Modifier state of the view: bit 0 Shift, bit 1 Ctrl.
inline constexpr uint32_t ModShift = 0x1;
inline constexpr uint32_t ModCtrl = 0x2;

// Flags passed with mouse events and the wheel (buttons held and modifiers).
inline constexpr uint32_t MouseLeft = 0x1;
inline constexpr uint32_t MouseRight = 0x2;
inline constexpr uint32_t MouseShift = 0x4;
inline constexpr uint32_t MouseCtrl = 0x8;
inline constexpr uint32_t MouseMiddle = 0x10;
inline constexpr uint32_t MouseExtra1 = 0x20;
inline constexpr uint32_t MouseExtra2 = 0x40;

// Codes added to the flags for OnMarginMouse.
inline constexpr uint32_t MarginRight = 0x0400;
inline constexpr uint32_t MarginLeft = 0x0800;
inline constexpr uint32_t MarginMove = 0x1000;
inline constexpr uint32_t MarginDouble = 0x2000;
inline constexpr uint32_t MarginDown = 0x4000;
inline constexpr uint32_t MarginUp = 0x8000;

enum class MouseButton { Left, Right, Middle, Extra1, Extra2 };

// Scroll-bar actions forwarded by the host.
enum class ScrollAction { LineUp, LineDown, PageUp, PageDown, Top, Bottom, ThumbTrack, ThumbPosition, EndScroll };

}  // namespace qv
