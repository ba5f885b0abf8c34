#pragma once
// How far a capture job got, written by the control thread as it goes and
// read by the shell's thread when it stops waiting: which start step it
// stands at, and whether the stop unprepared its header.
#include <atomic>

#include "capture/floor/capture_outcome.h"

namespace zembrit {

struct StepProgress {
    // The failure a start would have if it stopped where it is now.
    std::atomic<StartFailure> reached{StartFailure::DeviceNotOpened};
    std::atomic<bool> unprepared{false};
};

}  // namespace zembrit
