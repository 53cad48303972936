// SPDX-License-Identifier: GPL-3.0-or-later
// Clipboard texts from arbitrary bytes: pasting them as a value or a dump, overwriting or
// inserting, and reading them as a GUID answer must never crash, never change the block
// beyond what the step records, and one undo must bring the original bytes back.
#include <cstdint>
#include <string>
#include <vector>

#include "document/GuidText.h"
#include "view/HexView.h"

namespace {

class TextClipboard : public qv::IClipboard {
public:
    explicit TextClipboard(std::string text) : text_(std::move(text)) {}
    std::optional<std::string> GetText() override { return text_; }
    bool SetText(const std::string&) override { return false; }

private:
    std::string text_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    TextClipboard clipboard(text);
    const uint8_t mode = size > 0 ? data[0] : 0;
    std::vector<uint8_t> original(64);
    for (size_t i = 0; i < original.size(); ++i) original[i] = static_cast<uint8_t>(i * 37);

    qv::CHexView view;
    uint8_t* block = qv::ViewBuffer::Allocate(original.size());
    std::copy(original.begin(), original.end(), block);
    view.SetBuffer(block, static_cast<int64_t>(original.size()), 0,
                   qv::ViewWritable | qv::ViewOwnsBuffer | qv::InsertAllowed | ((mode & 1) ? qv::InsertOn : 0));
    view.SetCursorOffset(mode >> 2, false);
    if (mode & 2) view.SelectTo((mode >> 2) + 5, false);
    view.PasteFromClipboard(clipboard, (mode & 0x80) != 0);

    int64_t length = 0;
    view.GetBuffer(&length, nullptr);
    if (length < 64 || length > qv::kInsertLimit) __builtin_trap();
    if (view.Undo().UndoCount() > 1) __builtin_trap();
    if (view.CanUndo()) view.UndoRedo(-1);
    const uint8_t* bytes = view.GetBuffer(&length, nullptr);
    if (std::vector<uint8_t>(bytes, bytes + length) != original) __builtin_trap();

    qv::ParseGuidAnswer(text);
    return 0;
}
