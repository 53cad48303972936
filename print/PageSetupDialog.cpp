// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PageSetupDialog.h"

#include "common/CodePage.h"
#include "common/Expression.h"

namespace qv {

namespace {

constexpr uint32_t kColourModes = PrintBlackOnWhite | PrintGreyLevels | PrintColors;

// Read on 64 bits, so that a number past 2^32 is too large instead of wrapping around
// into the range.
std::optional<int64_t> NumberOf(const std::string& text)
{
    int64_t value = 0;
    bool ok = false;
    EvaluateExpression64(text, value, &ok);
    if (!ok) return std::nullopt;
    return value;
}

bool IsMargin(const std::string& text)
{
    std::optional<int64_t> mm = NumberOf(text);
    return mm && *mm >= 0 && *mm <= kMaxMargin;
}

// Only called once Check found every number in its range.
int32_t CheckedNumber(const std::string& text, int32_t fallback)
{
    return static_cast<int32_t>(NumberOf(text).value_or(fallback));
}

bool IsBlank(char c)
{
    return c == ' ';
}

}  // namespace

const std::array<Placeholder, 11>& Placeholders()
{
    static const std::array<Placeholder, 11> entries{{
        {"&Dateiname", "&D", true},
        {"Dateiname und &Pfad", "&P", true},
        {"&Benutzername", "&U", false},
        {"&Seitennummer", "Seite &N", true},
        {"Seiten&anzahl", "&M", false},
        {"Da&tum", "&T", true},
        {"&Zeit", "&Z", true},
        {"&Neue Zeile", "\\n", false},
        {"&Linksbündig", "&L", false},
        {"&Rechtsbündig", "&R", false},
        {"Zent&riert", "&C", true},
    }};
    return entries;
}

PlaceholderInsertion InsertPlaceholder(const std::string& text, size_t caret, const Placeholder& placeholder)
{
    caret = std::min(caret, text.size());
    std::string code = placeholder.code;
    if (placeholder.blanksAround) {
        if (caret > 0 && !IsBlank(text[caret - 1])) code.insert(code.begin(), ' ');
        if (caret < text.size() && !IsBlank(text[caret])) code += ' ';
    }
    if (Utf8Length(text) + code.size() > kMaxHeaderLength) return {text, caret};
    std::string result = text;
    result.insert(caret, code);
    // The caret goes after the code itself, before a blank added behind it.
    const bool blankAfter = placeholder.blanksAround && caret < text.size() && !IsBlank(text[caret]);
    return {result, caret + code.size() - (blankAfter ? 1 : 0)};
}

PageSetupDialog::PageSetupDialog(const PrintSettings& settings)
    : header(settings.header),
      footer(settings.footer),
      lines(std::to_string(settings.linesPerPage)),
      top(std::to_string(settings.topMargin)),
      bottom(std::to_string(settings.bottomMargin)),
      left(std::to_string(settings.leftMargin)),
      right(std::to_string(settings.rightMargin)),
      flags(settings.flags)
{
    if (!(flags & kColourModes)) flags |= PrintBlackOnWhite;
}

std::optional<PageSetupDialog::Problem> PageSetupDialog::Check() const
{
    const std::pair<const std::string*, Field> margins[] = {
        {&top, Field::Top}, {&bottom, Field::Bottom}, {&left, Field::Left}, {&right, Field::Right}};
    for (const auto& [text, field] : margins) {
        if (!IsMargin(*text)) return Problem{kMarginMessage, field};
    }
    std::optional<int64_t> count = NumberOf(lines);
    if (!count || *count < kMinLinesPerPage || *count > kMaxLinesPerPage) return Problem{kLinesMessage, Field::Lines};
    return std::nullopt;
}

void PageSetupDialog::ApplyTo(PrintSettings& settings) const
{
    settings.linesPerPage = CheckedNumber(lines, settings.linesPerPage);
    settings.topMargin = CheckedNumber(top, settings.topMargin);
    settings.bottomMargin = CheckedNumber(bottom, settings.bottomMargin);
    settings.leftMargin = CheckedNumber(left, settings.leftMargin);
    settings.rightMargin = CheckedNumber(right, settings.rightMargin);
    settings.flags = flags;
    settings.header = Utf8Prefix(header, kMaxHeaderLength);
    settings.footer = Utf8Prefix(footer, kMaxHeaderLength);
}

}  // namespace qv
