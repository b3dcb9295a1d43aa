# Strict warnings for the project's own code (not for GoogleTest or other third-party code).
function(dawatik_strict target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX /permissive- /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    endif()
endfunction()

# Precompiled headers for the heavy system and test headers: most of a build's time otherwise.
function(dawatik_precompile target)
    target_precompile_headers(${target} PRIVATE
        <windows.h> <commctrl.h> <functional> <memory> <string> <string_view> <vector>)
endfunction()
function(dawatik_precompile_tests target)
    target_precompile_headers(${target} PRIVATE
        <windows.h> <commctrl.h> <functional> <memory> <string> <string_view> <vector>
        <gtest/gtest.h>)
endfunction()
