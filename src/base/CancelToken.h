#pragma once

#include <atomic>

// Set by whoever wants a running pass to stop (the Stop button, a signal handler), read by the
// pass between its steps and by ToolRunner while a tool runs. Setting it is safe from a signal
// handler: the flag is a lock-free atomic.
class CancelToken
{
public:
    void cancel() noexcept { cancelled_.store(true, std::memory_order_relaxed); }
    bool isCancelled() const noexcept { return cancelled_.load(std::memory_order_relaxed); }
    void reset() noexcept { cancelled_.store(false, std::memory_order_relaxed); }

private:
    static_assert(std::atomic<bool>::is_always_lock_free);
    std::atomic<bool> cancelled_{false};
};
