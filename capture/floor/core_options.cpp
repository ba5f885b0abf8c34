#include "capture/floor/core_options.h"

namespace zembrit {

SignalOptions signalOptionsOf(const ScopeSettings& settings) {
    return SignalOptions{settings.trigger, settings.autoGain, settings.channels, settings.delayMs};
}

int32_t dimensionFor(char scopeType, int32_t width, int32_t height) { return isHorizontal(scopeType) ? height : width; }

TraceShape traceShapeOf(const ScopeSettings& settings) {
    return {settings.bufferPoints.load(),
            dimensionFor(settings.scopeType.load(), settings.width.load(), settings.height.load())};
}

}  // namespace zembrit
