list(APPEND ZEMBRIT_PORTABLE_SOURCES
  capture/reduce.cpp
)
list(APPEND ZEMBRIT_WIN32_SOURCES
  capture/capture.cpp
)
