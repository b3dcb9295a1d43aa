# GoogleTest is built from source (Debian's googletest package on Linux); on Windows point
# DAWATIK_GTEST_SOURCE at a GoogleTest checkout, or let find_package locate an installed one.
set(DAWATIK_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")

if(EXISTS "${DAWATIK_GTEST_SOURCE}/CMakeLists.txt")
    # The static runtime, as the program's (CMAKE_MSVC_RUNTIME_LIBRARY): one-file programs.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory("${DAWATIK_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
    set(DAWATIK_HAVE_GTEST ON)
else()
    find_package(GTest QUIET)
    set(DAWATIK_HAVE_GTEST ${GTest_FOUND})
endif()
if(NOT DAWATIK_HAVE_GTEST)
    message(WARNING "GoogleTest not found: tests are not built")
endif()
