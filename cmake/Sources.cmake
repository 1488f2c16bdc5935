# orvelle_layer(target dir...): a static library of every .cpp under the dirs.
# Files ending in _win.cpp build only for Windows; files ending in _posix.cpp
# or _headless.cpp build only elsewhere.
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

function(orvelle_layer target)
    orvelle_sources(srcs ${ARGN})
    if(WIN32)
        # The Windows entry point is compiled into the executable itself (see WindowsExecutable.cmake).
        list(FILTER srcs EXCLUDE REGEX "/app/WinMain\\.cpp$")
    endif()
    if(NOT srcs)
        # A layer whose sources are not written yet still configures (and links as empty).
        set(srcs ${CMAKE_BINARY_DIR}/empty_${target}.cpp)
        file(WRITE ${srcs} "// ${target} has no sources yet.\n")
    endif()
    add_library(${target} STATIC ${srcs})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/platform
                                                ${CMAKE_SOURCE_DIR}/platform/duilib
                                                ${CMAKE_SOURCE_DIR}/platform/support
                                                ${CMAKE_SOURCE_DIR}/platform/winapi)
endfunction()
