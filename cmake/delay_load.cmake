# The file dialogs and the shell serve only Open, Save As and Help Topics, yet loading their DLLs
# (and the many those pull in) is a good part of the program's start. They load on first use.
# dawatik_link_delay_loaded(<target> <visibility>) links them that way.

if(MINGW)
    # Import libraries made from the functions the program calls; a new call into these DLLs
    # needs its name in cmake/delay_load/<dll>.def, with its argument size as 32-bit Windows
    # decorates it (name@bytes). 32-bit libraries keep the decorated name for the linker and
    # import the plain one; 64-bit Windows has no decoration, so it is dropped.
    # GNU ld takes delay-load libraries made by dlltool. LLVM's linker makes the delay-load
    # tables itself, from import libraries of its own kind: with dlltool's it would put the
    # table the loader writes into read-only memory.
    set(DAWATIK_DELAY_LOAD_LIBS "")
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delay_load)
    foreach(dll comdlg32 shell32)
        set(def ${CMAKE_CURRENT_LIST_DIR}/delay_load/${dll}.def)
        set(lib ${CMAKE_BINARY_DIR}/delay_load/lib${dll}_delay.a)
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
        if(CMAKE_SIZEOF_VOID_P EQUAL 8)
            file(READ ${def} exports)
            string(REGEX REPLACE "@[0-9]+" "" exports "${exports}")
            set(def ${CMAKE_BINARY_DIR}/delay_load/${dll}.def)
            file(WRITE ${def} "${exports}")
            set(machine i386:x86-64)
            set(decoration "")
        else()
            set(machine i386)
            set(decoration --kill-at)
        endif()
        if(DAWATIK_MINGW_LLD)
            set(make_library ${CMAKE_DLLTOOL} -m ${machine} -d ${def} -l ${lib} ${decoration})
        else()
            set(make_library ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${lib}
                             ${decoration})
        endif()
        execute_process(COMMAND ${make_library} RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "${CMAKE_DLLTOOL} could not make ${lib}")
        endif()
        list(APPEND DAWATIK_DELAY_LOAD_LIBS ${lib})
    endforeach()
endif()

function(dawatik_link_delay_loaded target visibility)
    if(MINGW)
        target_link_libraries(${target} ${visibility} ${DAWATIK_DELAY_LOAD_LIBS} delayimp)
        if(DAWATIK_MINGW_LLD)
            target_link_options(${target} ${visibility}
                -Wl,--delayload=comdlg32.dll -Wl,--delayload=shell32.dll)
        endif()
    elseif(MSVC)
        target_link_libraries(${target} ${visibility} comdlg32 shell32 delayimp)
        target_link_options(${target} ${visibility}
            /DELAYLOAD:comdlg32.dll /DELAYLOAD:shell32.dll)
    else()
        target_link_libraries(${target} ${visibility} comdlg32 shell32)
    endif()
endfunction()
