list(APPEND ZEMBRIT_PORTABLE_SOURCES
)
list(APPEND ZEMBRIT_WIN32_SOURCES
  plugin/plugin_info.cpp
  plugin/entry.cpp
  plugin/scope_window.cpp
  plugin/window_procedure.cpp
)
