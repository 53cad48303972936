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
    bool SetUtf8Text(const std::string& value) override
    {
        utf8Text = value;
        return true;
    }
    std::optional<std::string> text;
    std::optional<std::string> utf8Text;  // what SetUtf8Text put there
};

}  // namespace qv::test
