// The control thread and the shell's side of handing it work.
#include "capture/control/control_thread.h"

#include <algorithm>
#include <chrono>

#include <objbase.h>

#include "capture/wasapi/wasapi_capture.h"
#include "shell/own_module.h"

namespace zembrit {
namespace {

CaptureHandover handover;

void run(CaptureJob& job) {
    switch (job.kind) {
    case JobKind::startWaveIn: job.started = startWaveIn(job.plan, job.window, job.progress); break;
    case JobKind::stopWaveIn: job.stopped = stopWaveIn(job.progress); break;
    case JobKind::startWasapi:
        job.started = startWasapiEngine(job.config, job.options, job.trails, job.window)
                          ? StartFailure::None
                          : StartFailure::SourceNotStarted;
        break;
    case JobKind::stopWasapi: stopWasapiEngine(); break;
    case JobKind::listEndpoints: listWasapiEndpoints(job.render); break;
    }
}

// The shell was told an orphaned start failed: nothing of it may stay. A
// start that was only late to begin recording counts as running, as a
// refused start of recording does.
void undoOrphan(const CaptureJob& job) {
    if (job.kind != JobKind::startWaveIn || job.reported == StartFailure::RecordingNotStarted) return;
    if (job.started != StartFailure::None && job.started != StartFailure::RecordingNotStarted) return;
    StepProgress progress;
    stopWaveIn(progress);
}

// Its own apartment, for listing endpoints; the shell's is never touched.
DWORD WINAPI controlThread(void* module) {
    const bool comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    while (CaptureJob* job = handover.take()) {
        run(*job);
        if (handover.finish(job)) continue;
        undoOrphan(*job);
        delete job;
    }
    if (comReady) CoUninitialize();
    FreeLibraryAndExitThread(static_cast<HMODULE>(module), 0);
}

// The thread holds a reference to the module of its own, so that a stuck
// call that returns after the shell let go of the module still returns into
// loaded code.
bool startControlThread() {
    HMODULE self = ownModule(0);
    if (!self) return false;
    HANDLE thread = CreateThread(nullptr, 0, controlThread, self, 0, nullptr);
    if (!thread) {
        FreeLibrary(self);
        return false;
    }
    CloseHandle(thread);
    return true;
}

}  // namespace

Handed handToControlThread(std::unique_ptr<CaptureJob>& job, DWORD boundMs) {
    const DWORD bound = handover.stuck() ? std::min(boundMs, kStuckWaitMs) : boundMs;
    CaptureJob* posted = job.get();
    if (handover.post(posted) && !startControlThread()) {
        handover.withdrawUnstarted(posted);
        job.reset();
        return Handed{JobWait::takenBack, StartFailure::DeviceNotOpened, false};
    }
    Handed handed{JobWait::done, StartFailure::None, false};
    handed.wait = handover.await(posted, std::chrono::milliseconds(bound), [&handed](CaptureJob& late) {
        handed.reached = late.progress.reached;
        handed.unprepared = late.progress.unprepared;
        late.reported = handed.reached;
    });
    if (handed.wait == JobWait::orphaned) job.release();
    if (handed.wait == JobWait::takenBack) job.reset();
    return handed;
}

bool dropQueuedJobs(JobKind kind) {
    return handover.dropQueued([kind](const CaptureJob& job) { return job.kind == kind; });
}

bool endControlThread(DWORD boundMs) {
    const DWORD bound = handover.stuck() ? std::min(boundMs, kStuckWaitMs) : boundMs;
    handover.quit();
    return handover.awaitThreadEnd(std::chrono::milliseconds(bound));
}

}  // namespace zembrit
