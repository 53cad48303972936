// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Single-shot and repeating timers on the user-interface thread.
#include <functional>

namespace qv {

class ITimerService {
public:
    virtual ~ITimerService() = default;
    // Starts a repeating timer and returns its id (never 0).
    virtual int Start(int intervalMs, std::function<void()> onTick) = 0;
    virtual void Stop(int id) = 0;
};

}  // namespace qv
