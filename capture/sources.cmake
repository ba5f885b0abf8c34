list(APPEND ZEMBRIT_PORTABLE_SOURCES
  capture/signal/auto_gain.cpp
  capture/signal/channels.cpp
  capture/signal/delay_line.cpp
  capture/wave_in/recording_format.cpp
  capture/signal/reduce.cpp
  capture/wasapi/sample_mix.cpp
  capture/signal/signal_window.cpp
  capture/signal/silence_decay.cpp
  capture/signal/trigger.cpp
  capture/wave_in/wave_in_layout.cpp
  capture/signal/xy_figure.cpp
)
list(APPEND ZEMBRIT_WIN32_SOURCES
  capture/capture.cpp
  capture/wave_in/capture_buffer.cpp
  capture/wave_in/capture_worker.cpp
  capture/control_thread.cpp
  capture/wasapi/endpoint_names.cpp
  capture/wave_in/reduce_buffer.cpp
  capture/wasapi/wasapi_capture.cpp
  capture/wasapi/wasapi_engine.cpp
  capture/wave_in/wave_in_capture.cpp
)
