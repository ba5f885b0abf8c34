# The Win32-free code and its unit tests as a native 32-bit Linux build, so
# that 32-bit code generation is tested on any machine. Where the kernel runs
# no 32-bit programs, the tests run under qemu-i386-static (see native.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/i686-float.cmake)
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
