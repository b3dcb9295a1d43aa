# The file dialogs and the shell serve only Open, Save As and Help Topics, yet loading their DLLs
# (and the many those pull in) is a good part of the program's start. They load on first use.
# dawatik_link_delay_loaded(<target> <visibility>) links them that way.

if(MINGW)
    # Delay-load import libraries made from the functions the program calls; a new call into
    # these DLLs needs its name in cmake/delay_load/<dll>.def.
    set(DAWATIK_DELAY_LOAD_LIBS "")
    foreach(dll comdlg32 shell32)
        set(def ${CMAKE_CURRENT_LIST_DIR}/delay_load/${dll}.def)
        set(lib ${CMAKE_BINARY_DIR}/delay_load/lib${dll}_delay.a)
        file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delay_load)
        execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${lib}
                        RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "dlltool could not make ${lib}")
        endif()
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
        list(APPEND DAWATIK_DELAY_LOAD_LIBS ${lib})
    endforeach()
endif()

function(dawatik_link_delay_loaded target visibility)
    if(MINGW)
        target_link_libraries(${target} ${visibility} ${DAWATIK_DELAY_LOAD_LIBS} delayimp)
    elseif(MSVC)
        target_link_libraries(${target} ${visibility} comdlg32 shell32 delayimp)
        target_link_options(${target} ${visibility}
            /DELAYLOAD:comdlg32.dll /DELAYLOAD:shell32.dll)
    else()
        target_link_libraries(${target} ${visibility} comdlg32 shell32)
    endif()
endfunction()
