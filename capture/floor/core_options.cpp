#include "capture/floor/core_options.h"

#include "settings/settings_rules.h"

namespace zembrit {

SignalOptions signalOptionsOf(const ScopeSettings& settings) {
    return SignalOptions{settings.trigger, settings.autoGain, settings.channels,      settings.delayMs,
                         settings.view,    settings.meter,    settings.spectrumFloor, settings.spectrumPeakHold};
}

int32_t dimensionFor(char scopeType, int32_t width, int32_t height) { return isHorizontal(scopeType) ? height : width; }

SpectrumRequest spectrumRequestOf(const ScopeSettings& settings, const SignalOptions& options) {
    const int32_t length = isHorizontal(settings.scopeType.load()) ? settings.width.load() : settings.height.load();
    return {spectrumBandsFor(settings.spectrumBands, length), options.spectrumFloorDb, options.peakHoldMs,
            options.channels == ChannelMode::stereo};
}

TraceShape traceShapeOf(const ScopeSettings& settings) {
    return {settings.bufferPoints.load(),
            dimensionFor(settings.scopeType.load(), settings.width.load(), settings.height.load())};
}

}  // namespace zembrit
