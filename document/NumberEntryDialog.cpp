// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/NumberEntryDialog.h"

#include <string_view>

#include "common/Expression.h"
#include "common/HexText.h"
#include "common/NumberText.h"
#include "document/CTextGenerator.h"

namespace qv {

namespace {

constexpr int kTicksAfterChange = 3;
std::optional<NumberEntryDialog::Point> rememberedPosition;

}  // namespace

void NumberEntryDialog::SetNumber(int64_t value, bool hexStyle)
{
    text_ = FormatNumber64(value, hexStyle ? kStyleHexPrefix : kStyleSigned);
}

void NumberEntryDialog::SetPreviewData(const uint8_t* data, size_t count, ITimerService* timers)
{
    previewData_ = data;
    previewCount_ = count;
    timers_ = timers;
}

void NumberEntryDialog::ChangeText(const std::string& text)
{
    text_ = text;
    NoteChange();
}

void NumberEntryDialog::ChangeValueSize(int size)
{
    valueSize_ = SizeOfChoice(ChoiceOfSize(size));
    NoteChange();
}

void NumberEntryDialog::ChangeBigEndian(bool bigEndian)
{
    bigEndian_ = bigEndian;
    NoteChange();  // the preview shows the byte order too
}

void NumberEntryDialog::ChangeFormat(int format)
{
    format_ = (format >= 0 && format <= 3) ? format : 0;
    NoteChange();
}

std::array<const char*, 4> NumberEntryDialog::SizeLabels() const
{
    if (!withFormatGroup) return {"B&yte", "&Word", "&DWord", "QWort"};
    if (format_ == kCTextTypes) return {"Base 64", "HEX-Text", "MIN-Text", "Chars"};
    if (format_ == kCTextDump) return {"&Byte", "&Word", "&Dword", "---"};
    return {"&Byte", "&Word", "&Dword", "&QWord"};
}

int NumberEntryDialog::SizeOfChoice(int index)
{
    static constexpr int kSizes[4] = {1, 2, 4, 8};
    return (index >= 0 && index <= 3) ? kSizes[index] : 1;
}

int NumberEntryDialog::ChoiceOfSize(int size)
{
    switch (size) {
    case 2: return 1;
    case 4: return 2;
    case 8: return 3;
    default: return 0;
    }
}

int64_t NumberEntryDialog::Number() const
{
    std::string_view text(text_);
    const size_t start = text.find_first_not_of(" \t");
    if (start != std::string_view::npos && text[start] == ':') {
        uint8_t bytes[8] = {};
        const size_t count = HexTextToBytes(bytes, sizeof bytes, text.substr(start));
        uint64_t value = 0;
        for (size_t i = count; i-- > 0;) value = (value << 8) | bytes[i];
        return static_cast<int64_t>(value);
    }
    int64_t value = 0;
    EvaluateExpression64(text, value);
    return value;
}

void NumberEntryDialog::StartPreview()
{
    if (!HasPreview() || !timers_) return;
    StopPreview();
    ticksToPreview_ = 1;
    timerId_ = timers_->Start(kPreviewInterval, [this] { OnPreviewTick(); });
}

void NumberEntryDialog::StopPreview()
{
    if (timers_ && timerId_ != 0) timers_->Stop(timerId_);
    timerId_ = 0;
}

void NumberEntryDialog::OnPreviewTick()
{
    if (ticksToPreview_ > 0 && --ticksToPreview_ == 0) RefreshPreview();
}

void NumberEntryDialog::NoteChange()
{
    ticksToPreview_ = kTicksAfterChange;
}

void NumberEntryDialog::RefreshPreview()
{
    char text[kPreviewSize];
    const int lineSize = static_cast<int>(Number() & 0xFF);
    const int format = format_ | (bigEndian_ ? kCTextBigEndian : 0);
    const size_t length = GenerateCText(previewData_, previewCount_, valueSize_, format, lineSize, text, sizeof text);
    const std::string_view all(text, length);
    previewText_ = std::string(all.substr(0, all.find('\n')));
    if (onPreviewChanged) onPreviewChanged();
}

void NumberEntryDialog::RememberPosition(Point position)
{
    rememberedPosition = position;
}

std::optional<NumberEntryDialog::Point> NumberEntryDialog::PositionFor(const Screen& screen)
{
    if (!rememberedPosition) return std::nullopt;
    const Point p = *rememberedPosition;
    if (p.x < screen.left - 99 || p.y < screen.top - 9 || p.x > screen.right - 100 || p.y > screen.bottom - 100)
        return std::nullopt;
    return p;
}

void NumberEntryDialog::ForgetPosition()
{
    rememberedPosition.reset();
}

}  // namespace qv
