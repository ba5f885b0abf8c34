#pragma once
// The settings turned into the signal core's own records, which take plain
// numbers: the core never reads the settings itself.
#include <cstdint>

#include "capture/signal/signal_options.h"
#include "capture/signal/frequency_analyser.h"
#include "settings/scope_settings.h"

namespace zembrit {

// Taken when a capture starts.
SignalOptions signalOptionsOf(const ScopeSettings& settings);

// A horizontal trace swings across the window's height, any other across its width.
int32_t dimensionFor(char scopeType, int32_t width, int32_t height);

// Reads each shared setting once, so a reduction never sees two values of one setting.
TraceShape traceShapeOf(const ScopeSettings& settings);

// A frame's spectrum: the bands for the window's length now (bars run along
// it: across a horizontal scope, up a vertical one), the rest as the
// capture started.
SpectrumRequest spectrumRequestOf(const ScopeSettings& settings, const SignalOptions& options);

}  // namespace zembrit
