# Hardening of the elevated Windows executable (used by WindowsExecutable.cmake).
#
# orvelle_harden_executable(target): ASLR with a high-entropy 64-bit address
# space and DEP, set in the PE header explicitly (ld's defaults vary by
# version); --dynamicbase keeps the relocations ASLR needs. --tsaware marks it
# Terminal-Server-aware: on a Remote Desktop Session Host, Windows then gives it
# the system's Windows folder and registry, not the per-user copies it makes
# for programs that predate Remote Desktop.
#
# orvelle_delay_load(target dll function...): DLLs that are not KnownDLLs are
# looked up beside the executable first when they are static imports, before
# wWinMain can restrict the search to System32 (SetDefaultDllDirectories). Such
# a DLL is delay-loaded instead: its functions go through a delay-import table
# filled on first call by mingw-w64's __delayLoadHelper2, i.e. by LoadLibrary
# under the restricted search. tests/hardening/pe-header-test.sh checks both.
find_program(ORVELLE_DLLTOOL NAMES ${CMAKE_DLLTOOL} x86_64-w64-mingw32-dlltool dlltool REQUIRED)

function(orvelle_harden_executable target)
    target_link_options(${target} PRIVATE LINKER:--dynamicbase LINKER:--high-entropy-va
                                          LINKER:--nxcompat LINKER:--tsaware)
endfunction()

function(orvelle_delay_load target dll)
    string(TOLOWER "${dll}" name)
    string(REGEX REPLACE "\\.dll$" "" name "${name}")
    set(dir ${CMAKE_BINARY_DIR}/delayload)
    set(lib ${dir}/lib${name}_delay.a)
    # One library per DLL, shared by every executable that delay-loads it.
    get_property(made GLOBAL PROPERTY ORVELLE_DELAY_LOAD_${name})
    if(NOT made)
        set_property(GLOBAL PROPERTY ORVELLE_DELAY_LOAD_${name} TRUE)
        set(def ${dir}/${name}.def)
        list(JOIN ARGN "\n" exports)
        file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY \"${dll}\"\nEXPORTS\n${exports}\n" @ONLY)
        # dlltool names the library's symbols after its output path: a bare file
        # name keeps the build folder out of the executable.
        add_custom_command(OUTPUT ${lib}
            COMMAND ${ORVELLE_DLLTOOL} --input-def ${name}.def --dllname ${dll}
                    --output-delaylib lib${name}_delay.a
            WORKING_DIRECTORY ${dir}
            DEPENDS ${def}
            COMMENT "Delay-import library for ${dll}"
            VERBATIM)
        add_custom_target(orvelle_${name}_delay DEPENDS ${lib})
    endif()
    add_dependencies(${target} orvelle_${name}_delay)
    # Whole archive, ahead of every library: these definitions win over the
    # plain import library that the layers link.
    target_link_options(${target} PRIVATE "SHELL:-Wl,--whole-archive ${lib} -Wl,--no-whole-archive")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${lib})
endfunction()
