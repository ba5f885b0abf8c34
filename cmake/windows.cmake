# The plugin DLL, the stand-in shell, and the integration tests that run
# under Wine inside a private Xvfb.
set(win32_defines WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(warnings -Wall -Wextra -Werror=return-type)
# Only system DLLs may be needed beside ours: link the runtimes statically.
set(static_runtime -static -static-libgcc -static-libstdc++)

# Parts of the plugin that other programs build on too, compiled once: the
# Win32-free code (the Wine tests compare what the shell receives with what
# it builds) and the WASAPI engine (its Wine tests and its benchmark).
function(plugin_objects name)
  add_library(${name} OBJECT ${ARGN})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE ${win32_defines})
  target_compile_options(${name} PRIVATE ${warnings} -O2)
endfunction()
set(portable_sources ${ZEMBRIT_PORTABLE_SOURCES})
list(TRANSFORM portable_sources PREPEND ${CMAKE_SOURCE_DIR}/)
plugin_objects(zembrit_portable ${portable_sources})
set(wasapi_engine_sources capture/wasapi/wasapi_engine.cpp capture/wasapi/endpoint_names.cpp capture/floor/module_pin.cpp
    shell/own_module.cpp)
list(TRANSFORM wasapi_engine_sources PREPEND ${CMAKE_SOURCE_DIR}/)
plugin_objects(wasapi_engine ${wasapi_engine_sources})

set(plugin_sources ${ZEMBRIT_WIN32_SOURCES})
list(TRANSFORM plugin_sources PREPEND ${CMAKE_SOURCE_DIR}/)
list(REMOVE_ITEM plugin_sources ${wasapi_engine_sources})
add_library(Zembrit SHARED ${plugin_sources} $<TARGET_OBJECTS:zembrit_portable> $<TARGET_OBJECTS:wasapi_engine>
            ${CMAKE_SOURCE_DIR}/plugin/Zembrit.def)
set_target_properties(Zembrit PROPERTIES PREFIX "" OUTPUT_NAME Zembrit)
target_include_directories(Zembrit PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(Zembrit PRIVATE ${win32_defines})
target_compile_options(Zembrit PRIVATE ${warnings} -O2)
target_link_options(Zembrit PRIVATE ${static_runtime})
target_link_libraries(Zembrit PRIVATE user32 gdi32 winmm ole32)

# The stand-in shell: its exported functions and windows, shared by the
# demo program and the integration tests so that both see the same shell.
set(shell_sources ${HOST_PORTABLE_SOURCES} ${HOST_WIN32_SOURCES})
list(TRANSFORM shell_sources PREPEND ${CMAKE_SOURCE_DIR}/)
add_library(standin_shell OBJECT ${shell_sources})
target_include_directories(standin_shell PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(standin_shell PUBLIC ${win32_defines})
target_compile_options(standin_shell PRIVATE ${warnings})

add_executable(standin ${CMAKE_SOURCE_DIR}/host/main.cpp $<TARGET_OBJECTS:standin_shell>)
target_include_directories(standin PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(standin PRIVATE ${win32_defines})
target_link_options(standin PRIVATE ${static_runtime} -mwindows)
target_link_libraries(standin PRIVATE user32 gdi32 msimg32 shell32 comdlg32)
add_dependencies(standin Zembrit)

# GoogleTest from Debian's source package, built with this cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# The test programs' own code is not optimised: its speed matters to
# nothing, and optimising it took half of their build.
set(test_options ${warnings} -O0)
target_compile_options(gtest PRIVATE -O0)
target_compile_options(gtest_main PRIVATE -O0)

set(bench_dir ${CMAKE_BINARY_DIR}/wine-bench)
# Every program is built on every machine; only running them under Wine
# depends on the machine: some kernels refuse 32-bit programs and with them
# 32-bit Wine, and the i386 Wine runtime cannot be installed while Debian's
# i386 index is mid-sync. Any other failure of the loader is a broken install.
if(ZEMBRIT_WINE_PACKAGE AND NOT EXISTS ${ZEMBRIT_WINE_LOADER})
  set(wine_probe 77)
  set(wine_refused "${ZEMBRIT_WINE_LOADER} is missing: ${ZEMBRIT_WINE_PACKAGE} is not installed")
else()
  execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tests/runs-here.sh ${ZEMBRIT_WINE_LOADER} --version
                  RESULT_VARIABLE wine_probe OUTPUT_VARIABLE wine_refused ERROR_VARIABLE wine_error
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
set(wine_skip_reason_file ${CMAKE_BINARY_DIR}/wine-tests-skipped.txt)
file(REMOVE ${wine_skip_reason_file})
if(wine_probe EQUAL 0)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/wine/wine-run.sh ${bench_dir} ${ZEMBRIT_WINE_LOADER})
  set(bench_scripts_args ${bench_dir} ${ZEMBRIT_WINE_LOADER})
  add_test(NAME wine_bench_up COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/bench-up.sh ${bench_scripts_args})
  add_test(NAME wine_bench_down COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/bench-down.sh ${bench_scripts_args})
  set_tests_properties(wine_bench_up PROPERTIES FIXTURES_SETUP wine_bench TIMEOUT 300)
  set_tests_properties(wine_bench_down PROPERTIES FIXTURES_CLEANUP wine_bench)
  # A second bench whose prefix shows everything at 150 % (144 DPI), for the
  # display scale; every other test runs at 96 on the first.
  set(dpi_bench_args ${CMAKE_BINARY_DIR}/wine-bench-144 ${ZEMBRIT_WINE_LOADER})
  add_test(NAME wine_bench_144_up COMMAND env ZEMBRIT_LOG_PIXELS=144
           ${CMAKE_SOURCE_DIR}/tests/wine/bench-up.sh ${dpi_bench_args})
  add_test(NAME wine_bench_144_down COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/bench-down.sh ${dpi_bench_args})
  set_tests_properties(wine_bench_144_up PROPERTIES FIXTURES_SETUP wine_bench_144 TIMEOUT 300)
  set_tests_properties(wine_bench_144_down PROPERTIES FIXTURES_CLEANUP wine_bench_144)
  set(ZEMBRIT_RUN_WINE_TESTS ON)
elseif(wine_probe EQUAL 77)
  # The test command prints this reason once, beside its total.
  file(WRITE ${wine_skip_reason_file} "${wine_refused}\n")
  add_test(NAME wine_tests_skipped COMMAND sh -c "cat '${wine_skip_reason_file}'; exit 77")
  set_tests_properties(wine_tests_skipped PROPERTIES SKIP_RETURN_CODE 77)
  set(ZEMBRIT_RUN_WINE_TESTS OFF)
else()
  message(FATAL_ERROR "Wine does not run: ${wine_error}")
endif()
include(GoogleTest)

file(GLOB integration_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/integration/*_test.cpp)
file(GLOB integration_support CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/integration/support/*.cpp)
add_library(integration_support OBJECT ${integration_support})
target_include_directories(integration_support PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(integration_support PRIVATE ${win32_defines})
target_compile_options(integration_support PRIVATE ${test_options})
target_link_libraries(integration_support PRIVATE gtest)
add_executable(integration_tests ${integration_tests} $<TARGET_OBJECTS:integration_support>
               $<TARGET_OBJECTS:standin_shell> $<TARGET_OBJECTS:zembrit_portable>)
target_include_directories(integration_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(integration_tests PRIVATE ${win32_defines})
target_compile_options(integration_tests PRIVATE ${test_options})
# The system's and the test framework's headers, parsed once for all the files.
target_precompile_headers(integration_tests PRIVATE <windows.h> <mmsystem.h> <gtest/gtest.h> <functional> <string>
                          <vector>)
target_link_options(integration_tests PRIVATE ${static_runtime})
target_link_libraries(integration_tests PRIVATE gtest gtest_main user32 gdi32 msimg32 winmm shell32 comdlg32 ole32)
add_dependencies(integration_tests Zembrit)
if(ZEMBRIT_RUN_WINE_TESTS)
  gtest_discover_tests(integration_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
      TEST_FILTER "-DefaultInputFollowing.*"
      PROPERTIES FIXTURES_REQUIRED wine_bench TIMEOUT 120)
  # These change the bench prefix's default input, which every capture follows.
  gtest_discover_tests(integration_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
      TEST_FILTER "DefaultInputFollowing.*"
      PROPERTIES FIXTURES_REQUIRED wine_bench TIMEOUT 120 RUN_SERIAL TRUE)
endif()

# The display scale, on the 144-DPI bench.
file(GLOB scaled_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/integration/scaled/*_test.cpp)
add_executable(scaled_tests ${scaled_tests} $<TARGET_OBJECTS:integration_support> $<TARGET_OBJECTS:standin_shell>
               $<TARGET_OBJECTS:zembrit_portable>)
target_include_directories(scaled_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(scaled_tests PRIVATE ${win32_defines})
target_compile_options(scaled_tests PRIVATE ${test_options})
target_link_options(scaled_tests PRIVATE ${static_runtime})
target_link_libraries(scaled_tests PRIVATE gtest gtest_main user32 gdi32 msimg32 winmm shell32 comdlg32 ole32)
add_dependencies(scaled_tests Zembrit)
if(ZEMBRIT_RUN_WINE_TESTS)
  set_target_properties(scaled_tests PROPERTIES CROSSCOMPILING_EMULATOR
      "${CMAKE_SOURCE_DIR}/tests/wine/wine-run.sh;${dpi_bench_args}")
  gtest_discover_tests(scaled_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
      PROPERTIES FIXTURES_REQUIRED wine_bench_144 TIMEOUT 120)
endif()

# A real audio service that stops answering mid-capture, for each kind of source.
if(ZEMBRIT_RUN_WINE_TESTS)
  foreach(source wavein input)
    add_test(NAME stalled_service_${source}
             COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/stalled-service.sh ${bench_scripts_args}
                     $<TARGET_FILE:standin> $<TARGET_FILE:Zembrit> ${source})
    set_tests_properties(stalled_service_${source} PROPERTIES FIXTURES_REQUIRED wine_bench TIMEOUT 150)
  endforeach()
endif()

# The WASAPI engine against scripted fakes of the system's audio objects.
file(GLOB wasapi_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wasapi/*.cpp)
add_executable(wasapi_tests ${wasapi_tests} $<TARGET_OBJECTS:wasapi_engine> $<TARGET_OBJECTS:zembrit_portable>)
target_include_directories(wasapi_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(wasapi_tests PRIVATE ${win32_defines})
target_compile_options(wasapi_tests PRIVATE ${test_options})
target_link_options(wasapi_tests PRIVATE ${static_runtime})
target_link_libraries(wasapi_tests PRIVATE gtest gtest_main ole32)
if(ZEMBRIT_RUN_WINE_TESTS)
  gtest_discover_tests(wasapi_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
      PROPERTIES FIXTURES_REQUIRED wine_bench TIMEOUT 60)
endif()

# The DLL's export and import tables, checked from the Linux side.
add_test(NAME dll_exports_and_imports
         COMMAND ${CMAKE_SOURCE_DIR}/tests/check-dll-tables.sh ${ZEMBRIT_OBJDUMP} $<TARGET_FILE:Zembrit>)

# The stand-in shell looks for its style beside itself.
configure_file(${CMAKE_SOURCE_DIR}/host/default.style ${CMAKE_BINARY_DIR}/default.style COPYONLY)

add_executable(incomplete_shell ${CMAKE_SOURCE_DIR}/tests/integration/incomplete_shell.cpp
               ${CMAKE_SOURCE_DIR}/host/import_patch.cpp)
target_include_directories(incomplete_shell PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(incomplete_shell PRIVATE ${win32_defines})
target_compile_options(incomplete_shell PRIVATE ${test_options})
target_link_options(incomplete_shell PRIVATE ${static_runtime})
if(ZEMBRIT_RUN_WINE_TESTS)
add_test(NAME missing_shell_function_is_named COMMAND incomplete_shell $<TARGET_FILE:Zembrit>)
set_tests_properties(missing_shell_function_is_named PROPERTIES
    FIXTURES_REQUIRED wine_bench TIMEOUT 60
    PASS_REGULAR_EXPRESSION "box owner=0+ caption=\\[Zembrit v1.22b\\] topmost=1 error=1 text=\\[[^]]*\"WriteBool\"[^]]*\\]\r?\nresult=1 window=0 class=0")
endif()

# The floor of capture cost on this platform, for the CPU measurements.
add_executable(capture_floor ${CMAKE_SOURCE_DIR}/bench/capture_floor.cpp)
target_include_directories(capture_floor PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(capture_floor PRIVATE ${win32_defines})
target_link_options(capture_floor PRIVATE ${static_runtime})
target_link_libraries(capture_floor PRIVATE winmm)

# The same floor for WASAPI capture, through the plugin's engine.
add_executable(wasapi_floor ${CMAKE_SOURCE_DIR}/bench/wasapi_floor.cpp $<TARGET_OBJECTS:wasapi_engine>
               $<TARGET_OBJECTS:zembrit_portable>)
target_include_directories(wasapi_floor PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(wasapi_floor PRIVATE ${win32_defines})
target_compile_options(wasapi_floor PRIVATE ${warnings} -O2)
target_link_options(wasapi_floor PRIVATE ${static_runtime})
target_link_libraries(wasapi_floor PRIVATE ole32)

# The cost of one paint at three window sizes, with and without motion blur.
add_executable(paint_bench ${CMAKE_SOURCE_DIR}/bench/paint_bench.cpp $<TARGET_OBJECTS:standin_shell>)
target_include_directories(paint_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(paint_bench PRIVATE ${win32_defines})
target_compile_options(paint_bench PRIVATE ${warnings} -O2)
target_link_options(paint_bench PRIVATE ${static_runtime})
target_link_libraries(paint_bench PRIVATE user32 gdi32 msimg32 shell32 comdlg32)
add_dependencies(paint_bench Zembrit)
