// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Remote control of this editor by other programs: the messages act on the main frame,
// its document and its view, and arrive over the local socket of this process.
#include <memory>
#include <string>

#include "shell/RemoteMessages.h"

namespace qv {

class CHexDoc;
class CHexView;
class CMainFrame;
class RemoteServer;

class RemoteControl : public IRemoteTarget {
public:
    RemoteControl(CMainFrame& frame, CHexDoc& document, CHexView& view);
    ~RemoteControl() override;

    // Starts listening; false with a German reason when the socket cannot be made.
    bool Listen(std::string* error);
    RemoteMessages& Messages() { return messages_; }
    RemoteServer& Server() { return *server_; }

    // IRemoteTarget
    std::string DocumentPath() override;
    bool PostCommand(int command) override;
    bool RunCommand(int command) override;
    bool OpenFile(const std::string& path) override;
    bool HasView() override { return true; }
    int64_t ViewControl(int select, uint64_t argument) override;
    uint32_t LineViewControl(uint32_t select, uint32_t packedPosition) override;
    void SelectRange(uint64_t offset, uint64_t length) override;

private:
    CMainFrame& frame_;
    CHexDoc& document_;
    CHexView& view_;
    RemoteMessages messages_{*this};
    std::unique_ptr<RemoteServer> server_;
};

}  // namespace qv
