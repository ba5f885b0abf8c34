list(APPEND ZEMBRIT_PORTABLE_SOURCES
  settings/capture_source.cpp
  settings/settings_rules.cpp
  settings/signal_settings.cpp
)
list(APPEND ZEMBRIT_WIN32_SOURCES
  settings/settings_store.cpp
  settings/style.cpp
  settings/virtual_screen.cpp
)
