#pragma once
// A WASAPI source wired to the scope: its engine runs on the control
// thread's word, its spans go through the same feed and frame throttle as
// wave-in's buffers, and a timer on the user-interface thread carries its
// state to the toolbar label and lets a silent source's picture decay to
// flat.
#include <windows.h>

#include <cstdint>

#include "capture/floor/capture_outcome.h"
#include "capture/signal/signal_options.h"
#include "capture/wasapi/wasapi_engine.h"
#include "settings/capture_source.h"

namespace zembrit {

// User-interface thread: the engine's settings for the source, from the
// stored device and signal options.
EngineConfig engineConfigFor(CaptureSource source, const SignalOptions& options);
// User-interface thread: the label and decay timer of a running source. It
// ticks once a frame while there is anything to glide, and a few times a
// second once the picture rests flat, until samples come again.
void startWasapiTimer(HWND repaintWindow, SourceReport report);
void stopWasapiTimer();
// Any thread: no repaint request may name the window any more.
void forgetWasapiWindow();

// Control thread: starts the engine, false when its thread could not be
// made; stops it, waiting for its thread however long the platform takes,
// so that no two engines ever run and share what they remember.
bool startWasapiEngine(const EngineConfig& config, const SignalOptions& options, bool trails, HWND repaintWindow);
void stopWasapiEngine();
// Control thread: lists the active endpoints that play (render) or record
// for the Device menu (known_endpoints.h).
void listWasapiEndpoints(bool render);

}  // namespace zembrit
