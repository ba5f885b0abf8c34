#pragma once
#include <cstdint>

#include "capture/signal/signal_path.h"

// What wave-in is asked to record for the signal options, and how long its
// one buffer is.
namespace zembrit {

// One channel, or two when the channels are shown apart, at the stored
// depth. With every option off, a depth beyond 8 bits is read as 16-bit
// samples, as the plain reduction has always read it, so that path stays
// byte for byte what it was.
SourceLayout waveInLayout(int32_t sampleBits, const SignalOptions& options);

// Bytes of the buffer: one trace span of frames, two with the trigger on.
// points * 16 with every option off.
uint32_t waveInBufferBytes(int32_t points, const SourceLayout& layout, bool trigger);

}  // namespace zembrit
