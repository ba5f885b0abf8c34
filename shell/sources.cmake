list(APPEND ZEMBRIT_WIN32_SOURCES
  shell/own_module.cpp
  shell/shell_api.cpp
)
