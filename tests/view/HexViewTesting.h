// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for the hex view tests: a view over an owned copy of some bytes, recording the
// beeps, the status panes and the notifications.
#include <string>
#include <vector>

#include "tests/support/FakePrompt.h"
#include "view/HexView.h"

namespace qv::test {

class RecordingStatusPanes : public IStatusPanes {
public:
    void DefinePanes(const std::vector<StatusPaneSpec>& panes) override { defined.push_back(panes); texts.assign(panes.size(), ""); }
    bool SetPaneText(int index, const std::string& text) override
    {
        if (index < 0 || index >= static_cast<int>(texts.size())) return false;
        texts[static_cast<size_t>(index)] = text;
        ++writes;
        return true;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::vector<StatusPaneSpec>> defined;
    std::vector<std::string> texts;
    std::vector<std::string> messages;
    int writes = 0;
};

struct RecordedNotification {
    int code;
    int64_t a, b, c;
};

class RecordingEvents : public IHexViewEvents {
public:
    void OnHexViewNotify(CHexView&, int code, int64_t a, int64_t b, int64_t c) override { seen.push_back({code, a, b, c}); }
    std::vector<RecordedNotification> seen;
};

inline std::vector<uint8_t> CountingBytes(size_t n)
{
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

class HexViewHarness {
public:
    static constexpr uint32_t kEditable = ViewWritable | ViewOwnsBuffer | InsertAllowed;

    HexViewHarness() { view.SetPrompt(&prompt); }

    // Hands an owned copy of bytes to the view, as the document does after loading.
    void Load(const std::vector<uint8_t>& bytes, uint32_t flags = kEditable, uint32_t base = 0)
    {
        uint8_t* block = ViewBuffer::Allocate(bytes.size());
        std::copy(bytes.begin(), bytes.end(), block);
        view.SetBuffer(block, static_cast<int64_t>(bytes.size()), base, flags);
        view.SetModified(false);
    }

    std::vector<uint8_t> Bytes() const
    {
        int64_t length = 0;
        const uint8_t* data = view.GetBuffer(&length, nullptr);
        return std::vector<uint8_t>(data, data + length);
    }

    void Key(int key, uint32_t flags = 0) { view.HandleKeyDown(key, 1, flags); }
    void Type(const std::string& text)
    {
        for (char c : text) view.HandleChar(static_cast<uint8_t>(c), 1, 0);
    }
    void ToTextArea()
    {
        if (view.ActiveArea() != AreaText) view.HandleChar(KeyTab, 1, 0);
    }
    void SetInsertMode(bool on)
    {
        if (view.InsertActive() != on) Key(KeyInsert);
    }

    FakePrompt prompt;
    CHexView view;
};

}  // namespace qv::test
