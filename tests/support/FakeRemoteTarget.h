// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Target of remote-control messages for tests: records every call and answers from fields.
#include <functional>
#include <string>
#include <vector>

#include "shell/RemoteMessages.h"

namespace qv::test {

class FakeRemoteTarget : public IRemoteTarget {
public:
    std::string DocumentPath() override { return path; }
    bool PostCommand(int command) override
    {
        posted.push_back(command);
        return true;
    }
    bool RunCommand(int command) override
    {
        ran.push_back(command);
        return command == enabledCommand;
    }
    bool OpenFile(const std::string& file) override
    {
        opened.push_back(file);
        if (whileOpening) whileOpening();  // e.g. a question with its own event loop
        if (openSucceeds) path = file;
        return openSucceeds;
    }
    bool HasView() override { return hasView; }
    int64_t ViewControl(int select, uint64_t argument) override
    {
        viewCalls.push_back({select, argument});
        return viewResult;
    }
    uint32_t LineViewControl(uint32_t select, uint32_t packed) override
    {
        lineCalls.push_back({static_cast<int>(select), packed});
        return lineResult;
    }
    void SelectRange(uint64_t offset, uint64_t length) override { selections.push_back({offset, length}); }

    struct Call {
        int select;
        uint64_t argument;
        bool operator==(const Call&) const = default;
    };
    struct Range {
        uint64_t offset, length;
        bool operator==(const Range&) const = default;
    };

    std::string path;
    bool openSucceeds = true;
    bool hasView = true;
    int enabledCommand = 0;
    int64_t viewResult = 0;
    uint32_t lineResult = 0;
    std::function<void()> whileOpening;
    std::vector<int> posted, ran;
    std::vector<std::string> opened;
    std::vector<Call> viewCalls, lineCalls;
    std::vector<Range> selections;
};

}  // namespace qv::test
