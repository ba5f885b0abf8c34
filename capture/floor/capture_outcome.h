#pragma once
#include <cstdint>

namespace zembrit {

// What a start could not do. Only AlreadyRunning and RecordingNotStarted
// leave a capture running; every other failure leaves nothing behind.
enum class StartFailure {
    None,
    AlreadyRunning,
    DeviceNotOpened,
    NoBufferMemory,
    HeaderNotPrepared,
    HeaderNotQueued,
    RecordingNotStarted,
    SourceNotStarted,  // a WASAPI source's thread could not be made; reported, never boxed
};

// What a stop could not do; nothing when capture was not running. A header
// not unprepared or a device not closed keeps the buffer's memory for good;
// a source that did not end within the wait ends by itself later.
struct StopOutcome {
    bool headerUnprepared = true;
    bool deviceClosed = true;
    bool sourceEnded = true;
};

// How a WASAPI source is doing. Its failures heal by themselves, so they are
// news for the shell's label, never a box; called on the user-interface thread.
enum class SourceHealth : uint8_t { failing, capturing };
using SourceReport = void (*)(SourceHealth health);

}  // namespace zembrit
