#pragma once
// The capture's locks and conditions on the platform's slim locks:
// no kernel object, nothing allocated, nothing to release. (The runtime's
// std::mutex makes events on first contention and never closes them.)
#include <windows.h>

#include <chrono>
#include <mutex>

namespace zembrit {

class SlimMutex {
public:
    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }
    SRWLOCK* native() { return &lock_; }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

class SlimCondition {
public:
    void notify_all() { WakeAllConditionVariable(&condition_); }

    template <class Predicate>
    bool wait_for(std::unique_lock<SlimMutex>& held, std::chrono::milliseconds bound, Predicate done) {
        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(bound.count());
        for (ULONGLONG now = GetTickCount64(); !done(); now = GetTickCount64()) {
            if (now >= end) return false;
            SleepConditionVariableSRW(&condition_, held.mutex()->native(), static_cast<DWORD>(end - now), 0);
        }
        return true;
    }

    template <class Predicate>
    void wait(std::unique_lock<SlimMutex>& held, Predicate done) {
        while (!done()) SleepConditionVariableSRW(&condition_, held.mutex()->native(), INFINITE, 0);
    }

private:
    CONDITION_VARIABLE condition_ = CONDITION_VARIABLE_INIT;
};

}  // namespace zembrit
