list(APPEND ZEMBRIT_PORTABLE_SOURCES
  commands/command_match.cpp
  commands/menu_model.cpp
)
list(APPEND ZEMBRIT_WIN32_SOURCES
  commands/capture_control.cpp
  commands/dispatcher.cpp
  commands/docking.cpp
  commands/message_box.cpp
  commands/plugin_actions.cpp
  commands/report_toggle.cpp
  commands/scope_menu.cpp
  commands/shell_windows.cpp
)
