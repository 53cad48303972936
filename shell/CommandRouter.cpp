// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/CommandRouter.h"

namespace qv {

void CommandRouter::Add(CommandTarget target, int command, Handler handler)
{
    targets_[static_cast<size_t>(target)][command] = std::move(handler);
}

const CommandRouter::Handler* CommandRouter::Find(int command) const
{
    for (const auto& handlers : targets_) {
        auto it = handlers.find(command);
        if (it != handlers.end()) return &it->second;
    }
    return nullptr;
}

CommandState CommandRouter::State(int command) const
{
    const Handler* handler = Find(command);
    if (!handler) return {false, false};
    return handler->update ? handler->update() : CommandState{};
}

bool CommandRouter::Execute(int command) const
{
    const Handler* handler = Find(command);
    if (!handler || !State(command).enabled) return false;
    handler->execute();
    return true;
}

}  // namespace qv
