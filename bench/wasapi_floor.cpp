// The floor for WASAPI capture cost: the plugin's own engine on the default
// input, with a sink that only counts the spans it is handed, and the
// process's CPU time over the run. Nothing is reduced or painted.
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "bench/process_cpu.h"

#include "capture/wasapi/wasapi_engine.h"

namespace {

class CountingSink final : public zembrit::EngineSink {
public:
    void deliver(const uint8_t*, uint32_t, const zembrit::SourceLayout&) override { ++spans; }
    void stateChanged(zembrit::EngineState, HRESULT reason) override {
        std::printf("capture state changed: 0x%08lx\n", static_cast<unsigned long>(reason));
    }
    std::atomic<int> spans{0};
};

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
    printCpuOver(
        seconds, [&] { return sink.spans.load(); }, "spans");
    engine.stop();
    return 0;
}
