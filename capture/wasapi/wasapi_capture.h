#pragma once
// A WASAPI source wired to the scope: its engine runs on the control
// thread's word, its windows go through the same reduction and frame
// throttle as wave-in, and a timer on the user-interface thread carries its
// state to the toolbar label and lets a silent source's trace decay to flat.
#include <windows.h>

#include <cstdint>

#include "capture/capture_outcome.h"
#include "capture/wasapi/wasapi_engine.h"
#include "settings/capture_source.h"
#include "settings/signal_settings.h"

namespace zembrit {

// User-interface thread: the engine's settings for the source, from the
// stored device and signal options.
EngineConfig sourceConfigFor(CaptureSource source, const SignalOptions& options);
// User-interface thread: the label and decay timer of a running source. It
// ticks once a frame while there is anything to glide, and a few times a
// second once the trace rests flat, until samples come again.
void startSourceTimer(HWND repaintWindow, SourceReport report);
void stopSourceTimer();
// Any thread: no repaint request may name the window any more.
void forgetWasapiWindow();

// Control thread: starts the engine, false when its thread could not be
// made; stops it, waiting for its thread however long the platform takes,
// so that no two engines ever run and share what they remember.
bool startSourceEngine(const EngineConfig& config, const SignalOptions& options, bool trails, HWND repaintWindow);
void stopSourceEngine();
// Control thread: lists the active endpoints that play (render) or record
// for the Device menu (known_endpoints.h).
void listSourceEndpoints(bool render);

}  // namespace zembrit
