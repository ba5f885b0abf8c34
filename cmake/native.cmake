# Native Linux build of the Win32-free code: unit tests under sanitizers,
# benchmarks, and the fuzz target's corpus replay. The same file builds the
# 32-bit tree (toolchain linux-i386.cmake), which runs the unit tests only.
if(CMAKE_CROSSCOMPILING)
  include(${CMAKE_CURRENT_LIST_DIR}/native-i386.cmake)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

set(ZEMBRIT_SANITIZERS "address,undefined" CACHE STRING
    "Sanitizers for the unit tests: address,undefined or thread")

# The undefined-behaviour checks leave out a float converted to an integer
# it does not fit; the arithmetic does that with pixel coordinates.
set(sanitizers ${ZEMBRIT_SANITIZERS})
if(sanitizers MATCHES "undefined")
  string(APPEND sanitizers ",float-cast-overflow")
endif()

set(all_portable ${ZEMBRIT_PORTABLE_SOURCES} ${HOST_PORTABLE_SOURCES})
list(TRANSFORM all_portable PREPEND ${CMAKE_SOURCE_DIR}/)

add_library(portable_checked STATIC ${all_portable})
target_include_directories(portable_checked PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(portable_checked PUBLIC
    -Wall -Wextra -Werror=return-type
    -fsanitize=${sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_link_options(portable_checked PUBLIC -fsanitize=${sanitizers})

# The test files mirror the product's folders: tests/unit/scope/blend_test.cpp
# tests scope/blend.cpp.
if(ZEMBRIT_SANITIZERS STREQUAL "thread")
  file(GLOB_RECURSE unit_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/concurrency/*_test.cpp)
  set(unit_target concurrency_tests)
else()
  file(GLOB_RECURSE unit_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*_test.cpp)
  set(unit_target unit_tests)
endif()
find_package(Threads REQUIRED)
add_executable(${unit_target} ${unit_tests})
target_link_libraries(${unit_target} PRIVATE portable_checked GTest::gtest_main Threads::Threads)
# The tests' own code is not optimised: its speed matters to nothing, and
# optimising it under the sanitizers took most of the tree's build.
target_compile_options(${unit_target} PRIVATE -O0)
target_compile_definitions(${unit_target} PRIVATE ZEMBRIT_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(${unit_target} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 60)

if(NOT ZEMBRIT_SANITIZERS STREQUAL "thread" AND NOT CMAKE_CROSSCOMPILING)
  find_package(benchmark REQUIRED)
  add_library(portable_fast STATIC ${all_portable})
  target_include_directories(portable_fast PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(portable_fast PRIVATE -O2)
  add_executable(portable_bench ${CMAKE_SOURCE_DIR}/bench/reduce_bench.cpp ${CMAKE_SOURCE_DIR}/bench/beam_bench.cpp
                 ${CMAKE_SOURCE_DIR}/bench/bars_bench.cpp)
  target_compile_options(portable_bench PRIVATE -O2)
  target_link_libraries(portable_bench PRIVATE portable_fast benchmark::benchmark_main)
endif()

# The layout's include direction, the install script and the formatting,
# checked once per machine in the 64-bit tree.
if(NOT ZEMBRIT_SANITIZERS STREQUAL "thread" AND NOT CMAKE_CROSSCOMPILING)
  add_test(NAME include_direction COMMAND ${CMAKE_SOURCE_DIR}/tests/check-includes.sh ${CMAKE_SOURCE_DIR})
  add_test(NAME install_deps COMMAND ${CMAKE_SOURCE_DIR}/tests/install/install-deps-test.sh ${CMAKE_SOURCE_DIR})
  add_test(NAME formatting COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-format.sh ${CMAKE_SOURCE_DIR})
endif()

# The command matcher's fuzz target. With clang it is a libFuzzer binary;
# with GCC a small driver replays the same corpus. Either way ctest replays
# the checked-in corpus.
if(NOT ZEMBRIT_SANITIZERS STREQUAL "thread")
  set(fuzz_corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_executable(command_fuzz ${CMAKE_SOURCE_DIR}/tests/fuzz/command_fuzz.cpp
                   ${CMAKE_SOURCE_DIR}/commands/command_match.cpp)
    target_include_directories(command_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_options(command_fuzz PRIVATE -g -O1 -fno-omit-frame-pointer
                           -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
    target_link_options(command_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    add_test(NAME command_fuzz_corpus COMMAND command_fuzz -runs=0 ${fuzz_corpus})
  else()
    add_executable(command_fuzz_replay ${CMAKE_SOURCE_DIR}/tests/fuzz/command_fuzz.cpp
                   ${CMAKE_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
    target_link_libraries(command_fuzz_replay PRIVATE portable_checked)
    add_test(NAME command_fuzz_corpus COMMAND command_fuzz_replay ${fuzz_corpus})
  endif()
endif()
