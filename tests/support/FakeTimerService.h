// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Timers for tests: nothing fires by itself; Fire() runs a timer's callback.
#include <map>

#include "platform/Timers.h"

namespace qv::test {

class FakeTimerService : public ITimerService {
public:
    int Start(int intervalMs, std::function<void()> onTick) override
    {
        timers[++lastId] = {intervalMs, std::move(onTick)};
        return lastId;
    }
    void Stop(int id) override { timers.erase(id); }
    bool Fire(int id)
    {
        auto it = timers.find(id);
        if (it == timers.end()) return false;
        auto tick = it->second.second;  // the callback may stop its own timer
        tick();
        return true;
    }
    std::map<int, std::pair<int, std::function<void()>>> timers;
    int lastId = 0;
};

}  // namespace qv::test
