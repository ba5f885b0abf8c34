// The floor for WASAPI capture cost: the plugin's own engine on the default
// input, with a sink that only counts the windows it is handed, and the
// process's CPU time over the run. Nothing is reduced or painted.
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "capture/wasapi_engine.h"

namespace {

class CountingSink final : public zembrit::EngineSink {
public:
    void deliver(const uint8_t*, uint32_t, const zembrit::SourceLayout&) override { ++windows; }
    void stateChanged(zembrit::EngineState, HRESULT reason) override {
        std::printf("capture state changed: 0x%08lx\n", static_cast<unsigned long>(reason));
    }
    std::atomic<int> windows{0};
};

uint64_t cpuMicroseconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto micros = [](const FILETIME& t) { return ((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10; };
    return micros(kernel) + micros(user);
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    CountingSink sink;
    zembrit::WasapiEngine engine(zembrit::systemComFactory(), sink);
    if (!engine.start(zembrit::EngineConfig{})) {
        std::printf("cannot start the engine\n");
        return 1;
    }
    Sleep(1000);  // past the device's start-up
    const uint64_t cpuBefore = cpuMicroseconds();
    const int windowsBefore = sink.windows.load();
    const DWORD wallBefore = GetTickCount();
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double cpuMs = (cpuMicroseconds() - cpuBefore) / 1000.0;
    const DWORD wallMs = GetTickCount() - wallBefore;
    const int count = sink.windows.load() - windowsBefore;
    engine.stop();
    std::printf("cpu: %.1f ms over %lu ms = %.3f%% of one core (%d windows)\n", cpuMs,
                static_cast<unsigned long>(wallMs), 100.0 * cpuMs / wallMs, count);
    return 0;
}
