list(APPEND HOST_PORTABLE_SOURCES
  host/config_text.cpp
)
list(APPEND HOST_WIN32_SOURCES
  host/text_file.cpp
  host/shell_settings.cpp
  host/shell_style.cpp
  host/shell_windows.cpp
  host/shell_menu.cpp
  host/import_patch.cpp
  host/plugin_host.cpp
  host/screenshot.cpp
)
