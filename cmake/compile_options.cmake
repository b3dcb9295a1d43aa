# Compile options of the project's own targets.

# Strict warnings for the project's own code (not for GoogleTest or other third-party code). GCC
# and clang also warn of the narrowing and the hidden names that MSVC's /W4 reports.
function(dawatik_strict target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX /permissive- /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wconversion -Werror)
        if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
            # As with GCC and /W4, a change of signedness alone (the platform's flag constants
            # are signed) is not narrowing.
            target_compile_options(${target} PRIVATE -Wno-sign-conversion)
        endif()
    endif()
endfunction()

# Precompiled system headers (and any named after the target, such as GoogleTest's): parsing
# them is otherwise most of a build's time.
function(dawatik_precompile target)
    target_precompile_headers(${target} PRIVATE
        <windows.h> <commctrl.h> <functional> <memory> <string> <string_view> <vector> ${ARGN})
endfunction()

# The same sources give the same program wherever they are built: no folder of the build in the
# binary, no time of the link in its header.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                        -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
    if(WIN32)
        add_link_options(-Wl,--no-insert-timestamp)
    endif()
endif()
