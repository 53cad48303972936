// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RemoteControl.h"

#include <QTimer>

#include <algorithm>

#include "app/MainFrame.h"
#include "common/PathHelpers.h"
#include "document/HexDoc.h"
#include "app/RemoteServer.h"
#include "view/HexView.h"

namespace qv {

RemoteControl::RemoteControl(CMainFrame& frame, CHexDoc& document, CHexView& view)
    : frame_(frame), document_(document), view_(view), server_(std::make_unique<RemoteServer>(messages_))
{
}

RemoteControl::~RemoteControl() = default;

bool RemoteControl::Listen(std::string* error)
{
    return server_->Listen(error);
}

std::string RemoteControl::DocumentPath()
{
    return document_.PathName();
}

bool RemoteControl::PostCommand(int command)
{
    QTimer::singleShot(0, &frame_, [frame = &frame_, command] { frame->ExecuteCommand(command); });
    return true;
}

bool RemoteControl::RunCommand(int command)
{
    return frame_.ExecuteCommand(command);
}

bool RemoteControl::OpenFile(const std::string& path)
{
    frame_.OpenFile(path);
    return !document_.PathName().empty() && SamePath(document_.PathName(), path);
}

int64_t RemoteControl::ViewControl(int select, uint64_t argument)
{
    return view_.ViewControl(select, static_cast<int64_t>(argument));
}

uint32_t RemoteControl::LineViewControl(uint32_t select, uint32_t packedPosition)
{
    return view_.LineViewControl(select, packedPosition);
}

void RemoteControl::SelectRange(uint64_t offset, uint64_t length)
{
    // Only lengths of 1 to 255 select; an offset past the end puts the cursor on the end.
    const auto within = static_cast<int64_t>(std::min<uint64_t>(offset, INT64_MAX));
    frame_.SelectRange(within, length > 255 ? 0 : static_cast<int64_t>(length));
}

}  // namespace qv
