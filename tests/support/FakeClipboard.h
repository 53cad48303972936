// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/Clipboard.h"

namespace qv::test {

class FakeClipboard : public IClipboard {
public:
    std::optional<std::string> GetText() override { return text; }
    bool SetText(const std::string& value) override
    {
        text = value;
        return true;
    }
    std::optional<std::string> text;
};

}  // namespace qv::test
