// The capture side of the reduction: the buffer in, TracePoints and the
// time of the repaint request out.
#include "capture/reduce_buffer.h"

#include <algorithm>

#include "capture/reduce.h"
#include "capture/trace_points.h"
#include "settings/settings_store.h"

namespace zembrit {
namespace {

bool claimRepaintWhenDue() {
    const auto interval = static_cast<uint32_t>(settings.frameIntervalMs.load());
    if (!repaintDue(GetTickCount(), lastRedrawTick, interval)) return false;
    lastRedrawTick = GetTickCount();
    return true;
}

}  // namespace

bool reduceBuffer(const WAVEHDR& header, int32_t sampleBits) {
    // A driver's byte count is never trusted beyond the buffer it was given.
    const DWORD recorded = std::min(header.dwBytesRecorded, header.dwBufferLength);
    const ReductionInput input =
        reductionInputFor(settings, reinterpret_cast<const uint8_t*>(header.lpData), recorded, sampleBits);
    reduceInto(input, TracePoints);
    return claimRepaintWhenDue();
}

bool reduceSamples(const uint8_t* bytes, uint32_t byteCount, const SourceLayout& layout) {
    ChannelScratch scratch;
    const MonoSamples first = extractChannel(bytes, byteCount, layout, 0, kChannelCapacity, scratch);
    reduceInto(reductionInputFor(settings, first.bytes, first.byteCount, first.sampleBits), TracePoints);
    return claimRepaintWhenDue();
}

}  // namespace zembrit
