list(APPEND ZEMBRIT_PORTABLE_SOURCES
  capture/auto_gain.cpp
  capture/channels.cpp
  capture/delay_line.cpp
  capture/recording_format.cpp
  capture/reduce.cpp
  capture/sample_mix.cpp
  capture/signal_window.cpp
  capture/silence_decay.cpp
  capture/trigger.cpp
  capture/wave_in_layout.cpp
  capture/xy_figure.cpp
)
list(APPEND ZEMBRIT_WIN32_SOURCES
  capture/capture.cpp
  capture/capture_buffer.cpp
  capture/capture_worker.cpp
  capture/control_thread.cpp
  capture/endpoint_names.cpp
  capture/reduce_buffer.cpp
  capture/wasapi_capture.cpp
  capture/wasapi_engine.cpp
  capture/wave_in_capture.cpp
)
