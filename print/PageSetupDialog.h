// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Seite einrichten" dialog: header and footer with their placeholder menus, lines
// per page, margins, wrapping, frame, font and print colour choices.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/DialogService.h"
#include "print/PrintSettings.h"

namespace qv {

struct Placeholder {
    const char* menuText;  // UTF-8
    const char* code;
    bool blanksAround;  // a blank is put between the code and a neighbouring non-blank
};

// The entries of the placeholder menu, in menu order.
const std::array<Placeholder, 11>& Placeholders();

struct PlaceholderInsertion {
    std::string text;
    size_t caret = 0;  // after the inserted code
};

// Inserts the code at the caret (a byte offset of the UTF-8 text); a field already full (or
// that would overflow 255 characters) keeps its text.
PlaceholderInsertion InsertPlaceholder(const std::string& text, size_t caret, const Placeholder& placeholder);

class PageSetupDialog : public DialogModel {
public:
    const char* DialogName() const override { return "PageSetup"; }

    static constexpr const char* kCaption = "Seite einrichten";
    static constexpr const char* kMarginMessage = "Die Ränder müssen zwischen 0 und 100 mm liegen !";
    static constexpr const char* kLinesMessage = "Die Zeilenanzahl muss zwischen 20 und 250 liegen !";

    enum class Field { Top, Bottom, Left, Right, Lines };
    struct Problem {
        const char* message;  // UTF-8
        Field focus;
    };

    explicit PageSetupDialog(const PrintSettings& settings);

    // As typed (UTF-8 for the texts); the numbers are integer expressions.
    std::string header, footer;
    std::string lines, top, bottom, left, right;
    uint32_t flags = 0;  // the print colour radio shows black on white when none is set

    // The first rule the input breaks, in the order OK checks them.
    std::optional<Problem> Check() const;
    // Writes the fields into the settings; only valid after Check found nothing.
    void ApplyTo(PrintSettings& settings) const;
};

}  // namespace qv
