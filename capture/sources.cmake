list(APPEND ZEMBRIT_PORTABLE_SOURCES
  capture/recording_format.cpp
  capture/reduce.cpp
)
list(APPEND ZEMBRIT_WIN32_SOURCES
  capture/capture.cpp
  capture/capture_buffer.cpp
  capture/capture_worker.cpp
  capture/reduce_buffer.cpp
)
