# Layers as walls the build enforces.
#
# A layer's headers are reachable only as "<folder>/<Header>.h" through an
# include root of its own in the build tree, which holds nothing but a link to
# the layer's folder. A target sees that root only when it links the layer, so
# an include that crosses the layer order names a folder the compiler cannot
# find, and the build fails.
#
# Files ending in _win.cpp build only for Windows; files ending in _posix.cpp
# or _headless.cpp only elsewhere (the winapi and support layers pick their
# platform this way; the toolkit's backends are targets of their own).

# orvelle_sources(out dir...): every .cpp under the dirs that builds on this platform.
function(orvelle_sources out)
    set(result)
    foreach(dir ${ARGN})
        file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
        foreach(f ${found})
            if(f MATCHES "_win\\.cpp$")
                if(WIN32)
                    list(APPEND result ${f})
                endif()
            elseif(f MATCHES "_(posix|headless)\\.cpp$")
                if(NOT WIN32)
                    list(APPEND result ${f})
                endif()
            else()
                list(APPEND result ${f})
            endif()
        endforeach()
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

# orvelle_expose(target visibility dir...): "<name of dir>/..." includes for the
# target (and, PUBLIC or INTERFACE, for what links it).
function(orvelle_expose target visibility)
    set(root ${CMAKE_BINARY_DIR}/layers/${target})
    file(MAKE_DIRECTORY ${root})
    # A link the target no longer names would keep its wall open in this build tree.
    file(GLOB links ${root}/*)
    foreach(link ${links})
        if(IS_SYMLINK ${link})
            file(REMOVE ${link})  # the link only, never what it points to
        endif()
    endforeach()
    foreach(dir ${ARGN})
        get_filename_component(name ${dir} NAME)
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${dir} ${root}/${name} SYMBOLIC RESULT failed)
        if(failed)
            # No symbolic links here (Windows without the privilege): build
            # without the wall rather than not at all.
            message(STATUS "${target}: no link for ${dir} (${failed}); layer walls off")
            get_filename_component(parent ${CMAKE_SOURCE_DIR}/${dir} DIRECTORY)
            target_include_directories(${target} ${visibility} ${parent})
        endif()
    endforeach()
    target_include_directories(${target} ${visibility} ${root})
endfunction()

# orvelle_layer(target dir...): a static library of the dirs' sources whose
# headers are included as "<dir name>/...".
function(orvelle_layer target)
    orvelle_sources(srcs ${ARGN})
    if(WIN32)
        # The Windows entry point is compiled into the executable itself (see WindowsExecutable.cmake).
        list(FILTER srcs EXCLUDE REGEX "/app/WinMain\\.cpp$")
    endif()
    if(NOT srcs)
        set(srcs ${CMAKE_BINARY_DIR}/empty_${target}.cpp)
        file(WRITE ${srcs} "// ${target} has no sources on this platform.\n")
    endif()
    add_library(${target} STATIC ${srcs})
    orvelle_expose(${target} PUBLIC ${ARGN})
endfunction()

# orvelle_backend(target dir): a toolkit backend. An object library, so its
# objects go straight into the executable or test that picks it, and the
# toolkit core (which calls into whichever backend is linked) links before it.
function(orvelle_backend target dir)
    orvelle_sources(srcs ${dir})
    add_library(${target} OBJECT ${srcs})
    orvelle_expose(${target} PUBLIC ${dir})
    target_link_libraries(${target} PUBLIC duilib)
endfunction()
