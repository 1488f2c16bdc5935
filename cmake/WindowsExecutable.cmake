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

add_executable(OrvelleEx WIN32 ${CMAKE_SOURCE_DIR}/app/WinMain.cpp
                               ${ORVELLE_RESOURCE_DIR}/OrvelleEx.rc)
# WinMain.cpp is the app layer's, so the executable names what that layer uses.
target_link_libraries(OrvelleEx PRIVATE orvelle_app orvelle_ui duilib hotfix kt_support
                                        duilib_win32)
target_link_options(OrvelleEx PRIVATE -municode -mwindows)
include(${CMAKE_SOURCE_DIR}/cmake/HardenedExecutable.cmake)
orvelle_harden_executable(OrvelleEx)
orvelle_delay_load(OrvelleEx VERSION.dll GetFileVersionInfoSizeW GetFileVersionInfoW VerQueryValueW)
orvelle_delay_load(OrvelleEx MSIMG32.dll AlphaBlend)
orvelle_delay_load(OrvelleEx OLEACC.dll LresultFromObject CreateStdAccessibleObject)
orvelle_delay_load(OrvelleEx COMCTL32.dll InitCommonControlsEx)
# The servicing API, used only to remove a cumulative update (winapi/Dism_win.cpp).
orvelle_delay_load(OrvelleEx DismApi.dll DismInitialize DismOpenSession DismRemovePackage
                   DismCloseSession DismShutdown DismGetLastErrorMessage DismDelete)
# windres finds the icon and the manifest through the include path.
target_include_directories(OrvelleEx PRIVATE ${ORVELLE_RESOURCE_DIR} ${ORVELLE_GENERATED_DIR})
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
