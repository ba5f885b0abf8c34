# The 32-bit tree's test runner and GoogleTest. Debian ships GoogleTest only
# as 64-bit libraries, so it is built here from its sources with the tree's
# flags. The tests run directly where the kernel runs 32-bit programs, and
# under qemu-i386-static where it refuses them.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(kernel_probe ${CMAKE_BINARY_DIR}/kernel-probe)
file(WRITE ${kernel_probe}/probe.cpp "int main() { return 0; }\n")
try_compile(probe_built ${kernel_probe}/build SOURCES ${kernel_probe}/probe.cpp
            COPY_FILE ${kernel_probe}/probe)
if(NOT probe_built)
  message(FATAL_ERROR "Cannot build 32-bit programs: is g++-multilib installed?")
endif()
execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tests/runs-here.sh ${kernel_probe}/probe
                RESULT_VARIABLE kernel_probe_result OUTPUT_VARIABLE kernel_refused
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(kernel_probe_result EQUAL 77)
  find_program(QEMU_I386 qemu-i386-static REQUIRED)
  message(STATUS "${kernel_refused}: the 32-bit tests run under ${QEMU_I386}")
  # The leak checker stops the world with ptrace, which qemu's user mode does
  # not emulate: it would hang at exit. Addresses are still checked.
  set(CMAKE_CROSSCOMPILING_EMULATOR env ASAN_OPTIONS=detect_leaks=0 ${QEMU_I386})
elseif(NOT kernel_probe_result EQUAL 0)
  message(FATAL_ERROR "A 32-bit program does not run here")
endif()
