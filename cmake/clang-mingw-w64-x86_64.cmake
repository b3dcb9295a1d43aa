# Cross-compiles the Windows program on Linux for 64-bit Windows with clang, against the
# MinGW-w64 headers and libraries: the second compiler the project is kept clean for.
set(DAWATIK_MINGW_PROCESSOR x86_64)
set(DAWATIK_MINGW_COMPILER clang)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
