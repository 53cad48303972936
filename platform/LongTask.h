// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work that can take long on a big file (searching, checksums, CRCs, hashes, module runs,
// compares): the runner shows its progress with "Abbrechen" once it has run for half a
// second, keeps the window painting meanwhile, and lets the work stop when the user cancels.
// The work reports and polls through TaskProgress once per chunk of its input.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace qv {

class TaskProgress {
public:
    // How far the work got, in any unit (usually bytes); cheap enough to call per chunk.
    void Report(int64_t done, int64_t total)
    {
        total_.store(total, std::memory_order_relaxed);
        done_.store(done, std::memory_order_relaxed);
    }
    bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }
    void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    int64_t Done() const { return done_.load(std::memory_order_relaxed); }
    int64_t Total() const { return total_.load(std::memory_order_relaxed); }

private:
    std::atomic<int64_t> done_{0};
    std::atomic<int64_t> total_{0};
    std::atomic<bool> cancelled_{false};
};

class ILongTaskRunner {
public:
    virtual ~ILongTaskRunner() = default;
    // Runs `work` to its end or until the user cancels; true when it ran to its end. The work
    // may run on a thread of its own: it reads bytes and its own state only, never the window,
    // the view or the document (nothing changes them while it runs).
    virtual bool Run(const std::string& title, const std::function<void(TaskProgress&)>& work) = 0;
};

// Whether long work is running anywhere in the process. While it runs, its worker reads the
// document's bytes: whatever would replace or release them (the main window's idle checks of
// the file on disk and of its map) waits until it ends.
namespace detail {
inline std::atomic<int> longTasksRunning{0};
}
inline bool LongTaskRunning() { return detail::longTasksRunning.load() > 0; }

// Marks the lifetime of one run of long work (runners hold one while their work runs).
class LongTaskScope {
public:
    LongTaskScope() { ++detail::longTasksRunning; }
    ~LongTaskScope() { --detail::longTasksRunning; }
    LongTaskScope(const LongTaskScope&) = delete;
    LongTaskScope& operator=(const LongTaskScope&) = delete;
};

// Runs the work at once on the calling thread, without a window (the CLI and tests).
class InlineTaskRunner final : public ILongTaskRunner {
public:
    bool Run(const std::string&, const std::function<void(TaskProgress&)>& work) override
    {
        LongTaskScope running;
        TaskProgress progress;
        work(progress);
        return !progress.Cancelled();
    }
};

}  // namespace qv
