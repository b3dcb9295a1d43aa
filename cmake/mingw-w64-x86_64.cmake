# Cross-compiles the Windows program on Linux for 64-bit Windows with MinGW-w64's GCC.
set(DAWATIK_MINGW_PROCESSOR x86_64)
set(DAWATIK_MINGW_COMPILER gcc)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
