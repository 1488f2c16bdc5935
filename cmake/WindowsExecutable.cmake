# OrvelleEx.exe: a GUI-subsystem program with a wide entry point (wWinMain),
# linked statically so it needs no mingw DLLs, carrying icon group 5, the
# version resource and the manifest (app/resources/). After each build the
# runnable folder dist/windows/ is staged: the exe beside res/ and config/.
enable_language(RC)

set(ORVELLE_RESOURCE_DIR ${CMAKE_SOURCE_DIR}/app/resources)
set(ORVELLE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/OrvelleExVersion.h.in
               ${ORVELLE_GENERATED_DIR}/OrvelleExVersion.h @ONLY)

if(NOT EXISTS ${CMAKE_SOURCE_DIR}/app/WinMain.cpp)
    message(WARNING "app/WinMain.cpp is missing: OrvelleEx.exe and dist/windows/ are not built")
    return()
endif()

include(${CMAKE_SOURCE_DIR}/cmake/HardenedExecutable.cmake)
# orvelle_program_executable(target [source...]): the program, with any further
# sources (the bench's measuring copies add theirs, bench/CMakeLists.txt).
function(orvelle_program_executable target)
    add_executable(${target} WIN32 ${CMAKE_SOURCE_DIR}/app/WinMain.cpp
                                   ${ORVELLE_RESOURCE_DIR}/OrvelleEx.rc ${ARGN})
    # WinMain.cpp is the app layer's, so the executable names what that layer uses.
    target_link_libraries(${target} PRIVATE orvelle_app orvelle_ui duilib hotfix kt_support
                                            duilib_win32)
    target_link_options(${target} PRIVATE -municode -mwindows)
    orvelle_harden_executable(${target})
    orvelle_delay_load(${target} VERSION.dll GetFileVersionInfoSizeW GetFileVersionInfoW
                       VerQueryValueW)
    orvelle_delay_load(${target} MSIMG32.dll AlphaBlend)
    orvelle_delay_load(${target} OLEACC.dll LresultFromObject CreateStdAccessibleObject)
    orvelle_delay_load(${target} COMCTL32.dll InitCommonControlsEx)
    # The servicing API, used only to remove a cumulative update (winapi/Dism_win.cpp).
    orvelle_delay_load(${target} DismApi.dll DismInitialize DismOpenSession DismRemovePackage
                       DismCloseSession DismShutdown DismGetLastErrorMessage DismDelete)
    # windres finds the icon and the manifest through the include path.
    target_include_directories(${target} PRIVATE ${ORVELLE_RESOURCE_DIR} ${ORVELLE_GENERATED_DIR})
endfunction()
orvelle_program_executable(OrvelleEx)
set_source_files_properties(${ORVELLE_RESOURCE_DIR}/OrvelleEx.rc PROPERTIES
    OBJECT_DEPENDS "${ORVELLE_RESOURCE_DIR}/OrvelleEx.ico;${ORVELLE_RESOURCE_DIR}/OrvelleEx.manifest;${ORVELLE_GENERATED_DIR}/OrvelleExVersion.h")

# The staged folder is rebuilt whole on every build, so a file removed from
# res/ or config/ does not linger in it.
set(ORVELLE_DIST_DIR ${CMAKE_SOURCE_DIR}/dist/windows CACHE PATH "Runnable Windows folder")
add_custom_target(orvelle_dist ALL
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${ORVELLE_DIST_DIR}/res ${ORVELLE_DIST_DIR}/config
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVELLE_DIST_DIR}/res ${ORVELLE_DIST_DIR}/config
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/res ${ORVELLE_DIST_DIR}/res
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/config ${ORVELLE_DIST_DIR}/config
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:OrvelleEx> ${ORVELLE_DIST_DIR}/
    DEPENDS OrvelleEx
    COMMENT "Staging ${ORVELLE_DIST_DIR}"
    VERBATIM)
