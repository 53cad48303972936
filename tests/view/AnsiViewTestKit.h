// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A line view that records its hook calls, wired to a fake host, for the line view tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/FakeLineViewHost.h"
#include "view/AnsiView.h"

namespace qv::test {

class RecordingLineView : public CAnsiView {
public:
    struct CursorCall {
        int32_t column;
        int64_t line;
        uint32_t flags;
        bool operator==(const CursorCall&) const = default;
    };

    explicit RecordingLineView(std::string_view name = "TestLines", int32_t lineLength = 80, int32_t extra = 0)
        : CAnsiView(name, lineLength, extra)
    {
    }

    void SetCursorPos(int32_t column, int64_t line, uint32_t flags) override
    {
        cursorCalls.push_back({column, line, flags});
        CAnsiView::SetCursorPos(column, line, flags);
    }
    int OnKeyDown(int key, uint32_t flags) override
    {
        keysDown.push_back(key);
        return handleKeys ? 1 : CAnsiView::OnKeyDown(key, flags);
    }
    int OnKeyUp(int key, uint32_t) override
    {
        keysUp.push_back(key);
        return 0;
    }
    int OnScrollKey(int key) override
    {
        scrollKeys.push_back(key);
        return 0;
    }
    void OnScrolled() override { ++scrolled; }
    void OnSizeChanged(int32_t columns, int32_t rows, int32_t columnDelta, int32_t rowDelta) override
    {
        sizeChanges.push_back({columns, rows, columnDelta, rowDelta});
    }
    int OnDoubleClick(uint32_t flags, int32_t x, int32_t y, int32_t column, int64_t line) override
    {
        doubleClicks.push_back({column, line, flags});
        (void)x;
        (void)y;
        return handleDoubleClick ? 1 : 0;
    }
    int OnMarginMouse(uint32_t code, int32_t, int32_t, int64_t line) override
    {
        marginCodes.push_back(code);
        marginLines.push_back(line);
        return 0;
    }
    int OnWheel(uint32_t, int32_t delta) override
    {
        wheelDeltas.push_back(delta);
        return 0;
    }
    int OnPanesChanged(uint32_t split, int32_t, int32_t) override
    {
        paneChanges.push_back(split);
        return 0;
    }
    int32_t PrintLine(ILineDrawing& dc, const LineRect& rect, int64_t line, int32_t first, int32_t count,
                      uint32_t flags) override
    {
        printed.push_back(line);
        return CAnsiView::PrintLine(dc, rect, line, first, count, flags);
    }

    bool handleKeys = false;
    bool handleDoubleClick = false;
    std::vector<CursorCall> cursorCalls;
    std::vector<int> keysDown;
    std::vector<int> keysUp;
    std::vector<int> scrollKeys;
    int scrolled = 0;
    std::vector<std::vector<int32_t>> sizeChanges;
    std::vector<CursorCall> doubleClicks;
    std::vector<uint32_t> marginCodes;
    std::vector<int64_t> marginLines;
    std::vector<int32_t> wheelDeltas;
    std::vector<uint32_t> paneChanges;
    std::vector<int64_t> printed;
};

// Cell 8 x 16, scroll strips 16 pixels: a client of 336 x 656 shows 40 columns and 40
// rows exactly (the vertical strip is always there, the horizontal one for 80 columns).
class LineViewFixture : public ::testing::Test {
protected:
    static constexpr int32_t kWidth = 40 * 8 + 16;
    static constexpr int32_t kHeight = 40 * 16 + 16;

    void SetUp() override
    {
        view.SetParent(&parent);
        view.AttachHost(&host);
        view.HandleSize(kWidth, kHeight);
    }
    void TearDown() override { view.DetachHost(); }

    FakeLineViewHost host;
    FakeLineViewParent parent;
    RecordingLineView view;
};

}  // namespace qv::test
