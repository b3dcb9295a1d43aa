# Cross-compiling the Windows program on Linux with MinGW-w64, shared by the toolchain files
# beside it. Each names the processor (DAWATIK_MINGW_PROCESSOR: x86_64 or i686) and the compiler
# (DAWATIK_MINGW_COMPILER: gcc or clang). Both compilers use GCC's runtime with POSIX threads:
# GoogleTest does not build with the win32-thread one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${DAWATIK_MINGW_PROCESSOR})
set(triple ${DAWATIK_MINGW_PROCESSOR}-w64-mingw32)

if(DAWATIK_MINGW_COMPILER STREQUAL "clang")
    # Debian's clang finds the MinGW-w64 headers and libraries but not the C++ library of GCC's
    # POSIX-thread runtime, and does not link its thread library by itself: both are named.
    # LLVM's linker joins clang's objects to GCC's library quietly (GNU ld warns of every type
    # name the two compilers lay out differently).
    file(GLOB gcc_runtime LIST_DIRECTORIES true /usr/lib/gcc/${triple}/*-posix)
    if(NOT gcc_runtime)
        message(FATAL_ERROR "No GCC runtime with POSIX threads in /usr/lib/gcc/${triple}")
    endif()
    list(GET gcc_runtime -1 gcc_runtime)
    set(CMAKE_C_COMPILER clang)
    set(CMAKE_CXX_COMPILER clang++)
    set(CMAKE_C_COMPILER_TARGET ${triple})
    set(CMAKE_CXX_COMPILER_TARGET ${triple})
    set(CMAKE_SYSROOT /usr/${triple})
    set(CMAKE_CXX_FLAGS_INIT "-isystem ${gcc_runtime}/include/c++")
    string(APPEND CMAKE_CXX_FLAGS_INIT " -isystem ${gcc_runtime}/include/c++/${triple}")
    string(APPEND CMAKE_CXX_FLAGS_INIT " -isystem ${gcc_runtime}/include/c++/backward")
    set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_runtime} -pthread")
    set(DAWATIK_MINGW_LLD ON)
    set(CMAKE_DLLTOOL llvm-dlltool)
else()
    set(CMAKE_C_COMPILER ${triple}-gcc-posix)
    set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
    set(CMAKE_DLLTOOL ${triple}-dlltool)
endif()
set(CMAKE_RC_COMPILER ${triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
