#pragma once
// The capture's control thread: it makes every call into the audio stack
// that a start or a stop needs, one job at a time, so that the shell's
// thread only ever waits for it within a bound.
#include <memory>

#include "capture/control/capture_job.h"

namespace zembrit {

// While the platform has not answered a job the shell stopped waiting for,
// later jobs are waited for this long at most.
constexpr DWORD kStuckWaitMs = 100;

// What the shell's thread saw of a job it handed over.
struct Handed {
    JobWait wait;
    // As far as the job had got when the shell stopped waiting.
    StartFailure reached;
    bool unprepared;
};

// Shell's thread: runs the job on the control thread (started when none
// runs), waiting at most boundMs. When it is done, job still holds it;
// otherwise job is empty: an orphan is the control thread's, which honours
// job->reported as decided here from how far it got (reported is set to
// `reached` for a start). A device that answers slowly, but within boundMs,
// is waited for.
Handed handToControlThread(std::unique_ptr<CaptureJob>& job, DWORD boundMs);

// Shell's thread: queued jobs of this kind never run; true when there was one.
bool dropQueuedJobs(JobKind kind);

// Shell's thread: the control thread ends once its queue is empty; true
// when it ended within boundMs. It holds its own reference to the module,
// so it may finish after the module's last user let go.
bool endControlThread(DWORD boundMs);

}  // namespace zembrit
