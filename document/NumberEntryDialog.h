// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Zahlen eingabe": a number with a value size and byte order, optionally with the format
// group of the source-text export and a preview of the text it makes. The widget binds to
// this model; the model holds the fields, the relabelling, the preview timer and the
// remembered screen position.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/DialogService.h"
#include "platform/Timers.h"

namespace qv {

class NumberEntryDialog : public DialogModel {
public:
    NumberEntryDialog() = default;
    ~NumberEntryDialog() override { StopPreview(); }
    NumberEntryDialog(const NumberEntryDialog&) = delete;
    NumberEntryDialog& operator=(const NumberEntryDialog&) = delete;

    const char* DialogName() const override { return "NumberEntry"; }

    static constexpr const char* kDefaultCaption = "Zahlen eingabe";
    static constexpr int kPreviewInterval = 200;  // ms
    static constexpr size_t kPreviewSize = 256;   // text generated for the preview

    // Set up by the caller before the dialog runs.
    std::string caption;  // empty: "Zahlen eingabe"
    std::string label;
    bool withFormatGroup = false;
    // Shows the number "0x" hexadecimal (hexStyle) or as signed decimal.
    void SetNumber(int64_t value, bool hexStyle);
    // The preview shows the first line of the text generated from these bytes; its timer
    // runs on timers while the dialog is open.
    void SetPreviewData(const uint8_t* data, size_t count, ITimerService* timers);
    bool HasPreview() const { return previewData_ != nullptr; }

    // The fields. The widget writes them through the Change... calls so that the preview follows.
    const std::string& Text() const { return text_; }
    int ValueSize() const { return valueSize_; }  // 1, 2, 4 or 8
    bool BigEndian() const { return bigEndian_; }
    int Format() const { return format_; }  // 0 C/C++, 1 Assembler, 2 Texttypen, 3 Dump
    void ChangeText(const std::string& text);
    void ChangeValueSize(int size);
    void ChangeBigEndian(bool bigEndian);
    void ChangeFormat(int format);

    std::string Caption() const { return caption.empty() ? kDefaultCaption : caption; }
    // The labels of the four size choices for the current format.
    std::array<const char*, 4> SizeLabels() const;
    static int SizeOfChoice(int index);  // 0..3 -> 1, 2, 4, 8
    static int ChoiceOfSize(int size);

    // The text read as on OK: a 64-bit expression, or after ":" a hex dump of up to 8 bytes
    // (the first byte lowest).
    int64_t Number() const;

    // Preview: the widget starts the timer when it opens and stops it when it closes.
    void StartPreview();
    void StopPreview();
    void OnPreviewTick();
    const std::string& PreviewText() const { return previewText_; }
    std::function<void()> onPreviewChanged;

    // The position of the last dialog of this kind in this run, when it still lies on the
    // screen: at most 99 pixels left of and 9 above it, at least 100 inside its right and
    // bottom edges.
    struct Point {
        int x = 0;
        int y = 0;
    };
    struct Screen {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    static void RememberPosition(Point position);
    static std::optional<Point> PositionFor(const Screen& screen);
    static void ForgetPosition();

private:
    void NoteChange();
    void RefreshPreview();

    std::string text_;
    int valueSize_ = 1;
    bool bigEndian_ = false;
    int format_ = 0;

    const uint8_t* previewData_ = nullptr;
    size_t previewCount_ = 0;
    std::string previewText_;
    ITimerService* timers_ = nullptr;
    int timerId_ = 0;
    int ticksToPreview_ = 0;
};

}  // namespace qv
