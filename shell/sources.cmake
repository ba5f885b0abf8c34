list(APPEND ZEMBRIT_WIN32_SOURCES
  shell/shell_api.cpp
)
