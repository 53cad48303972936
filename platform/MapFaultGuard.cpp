// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MapFaultGuard.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>

namespace qv {
namespace {

// The handler may only touch lock-free atomics and make system calls.
struct WatchedRange {
    std::atomic<uintptr_t> begin{0};  // 0 = slot free
    std::atomic<uintptr_t> end{0};
    std::atomic<bool> writable{false};
    std::atomic<bool> faulted{false};
};

constexpr int kSlots = 32;
WatchedRange ranges[kSlots];
uintptr_t pageSize = 4096;
struct sigaction previousAction {};

void OnBusError(int signal, siginfo_t* info, void* context)
{
    const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
    if (info->si_code > 0) {  // raised by an access, not sent by kill
        for (WatchedRange& range : ranges) {
            const uintptr_t begin = range.begin.load(std::memory_order_acquire);
            if (begin == 0 || address < begin || address >= range.end.load(std::memory_order_acquire)) continue;
            void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
            const int protection = PROT_READ | (range.writable.load() ? PROT_WRITE : 0);
            if (::mmap(page, pageSize, protection, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
                range.faulted.store(true);
                return;  // the access is repeated on the zero page
            }
        }
    }
    // Not a watched map: whoever handled bus errors before does, else the program ends.
    if ((previousAction.sa_flags & SA_SIGINFO) && previousAction.sa_sigaction) {
        previousAction.sa_sigaction(signal, info, context);
        return;
    }
    if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
        previousAction.sa_handler(signal);
        return;
    }
    ::signal(SIGBUS, SIG_DFL);
    ::raise(SIGBUS);  // delivered on return, with the default action
}

void InstallHandler()
{
    pageSize = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_SIGINFO;
    ::sigaction(SIGBUS, &action, &previousAction);
}

}  // namespace

int MapFaultGuard::Watch(void* start, size_t size, bool writable)
{
    static std::once_flag installed;
    std::call_once(installed, InstallHandler);
    for (int slot = 0; slot < kSlots; ++slot) {
        WatchedRange& range = ranges[slot];
        if (range.begin.load() != 0) continue;
        range.faulted.store(false);
        range.writable.store(writable);
        range.end.store(reinterpret_cast<uintptr_t>(start) + size, std::memory_order_release);
        range.begin.store(reinterpret_cast<uintptr_t>(start), std::memory_order_release);
        return slot;
    }
    return -1;
}

void MapFaultGuard::Unwatch(int slot)
{
    if (slot >= 0 && slot < kSlots) ranges[slot].begin.store(0, std::memory_order_release);
}

bool MapFaultGuard::Faulted(int slot)
{
    return slot >= 0 && slot < kSlots && ranges[slot].faulted.load();
}

}  // namespace qv
