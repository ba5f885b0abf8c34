# Cross-compiling for i686 Windows with MinGW-w64 (posix threads, so that
# GoogleTest's std::mutex works), with SSE2 floating point so that it draws
# exactly like the x86_64 build (reasons in i686-float.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/i686-float.cmake)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(ZEMBRIT_OBJDUMP i686-w64-mingw32-objdump)
set(ZEMBRIT_WINE_LOADER /usr/lib/wine/wine)
set(ZEMBRIT_WINE_PACKAGE wine32:i386)
