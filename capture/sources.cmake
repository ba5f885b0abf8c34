# The front (start, stop, status, the latest picture) sits at the top; below
# it control/ runs the jobs, wave_in/ and wasapi/ are the two ways of
# capturing, which stand on floor/ and feed the portable core, signal/,
# through floor/trace_feed.h.
list(APPEND ZEMBRIT_PORTABLE_SOURCES
  capture/floor/core_options.cpp
  capture/signal/auto_gain.cpp
  capture/signal/band_layout.cpp
  capture/signal/channels.cpp
  capture/signal/delay_line.cpp
  capture/signal/frequency_analyser.cpp
  capture/signal/level_meter.cpp
  capture/signal/reduce.cpp
  capture/signal/signal_path.cpp
  capture/signal/silence_decay.cpp
  capture/signal/trace_picture.cpp
  capture/signal/trigger.cpp
  capture/signal/xy_figure.cpp
  capture/wasapi/sample_mix.cpp
  capture/wave_in/recording_format.cpp
  capture/wave_in/wave_in_layout.cpp
)
list(APPEND ZEMBRIT_WIN32_SOURCES
  capture/capture.cpp
  capture/control/control_thread.cpp
  capture/floor/module_pin.cpp
  capture/floor/trace_feed.cpp
  capture/wasapi/endpoint_names.cpp
  capture/wasapi/wasapi_capture.cpp
  capture/wasapi/wasapi_engine.cpp
  capture/wave_in/capture_buffer.cpp
  capture/wave_in/capture_worker.cpp
  capture/wave_in/feed_buffer.cpp
  capture/wave_in/wave_in_capture.cpp
)
