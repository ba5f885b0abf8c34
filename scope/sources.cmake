list(APPEND ZEMBRIT_PORTABLE_SOURCES
  scope/bar_geometry.cpp
  scope/beam.cpp
  scope/blend.cpp
  scope/dpi_scale.cpp
  scope/geometry.cpp
  scope/layering_style.cpp
)
list(APPEND ZEMBRIT_WIN32_SOURCES
  scope/back_buffer.cpp
  scope/late_system.cpp
  scope/renderer.cpp
  scope/scope_dpi.cpp
  scope/window_state.cpp
)
