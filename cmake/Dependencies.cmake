set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)

# tinyxml2: Debian's package natively; for the Windows build its own source,
# taken from Debian's source package into the build tree (never committed).
add_library(orvelle_tinyxml2 INTERFACE)
if(WIN32)
    set(TINYXML2_SRC_ROOT ${CMAKE_BINARY_DIR}/_deps/tinyxml2)
    file(GLOB TINYXML2_DIR ${TINYXML2_SRC_ROOT}/tinyxml2-*/)
    if(NOT TINYXML2_DIR)
        file(MAKE_DIRECTORY ${TINYXML2_SRC_ROOT})
        execute_process(COMMAND apt-get source -qq tinyxml2
                        WORKING_DIRECTORY ${TINYXML2_SRC_ROOT}
                        RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
        file(GLOB TINYXML2_DIR ${TINYXML2_SRC_ROOT}/tinyxml2-*/)
        if(NOT TINYXML2_DIR)
            message(FATAL_ERROR "apt-get source tinyxml2 failed (${rc}); run scripts/setup.sh first")
        endif()
    endif()
    list(GET TINYXML2_DIR 0 TINYXML2_DIR)
    add_library(tinyxml2_static STATIC ${TINYXML2_DIR}/tinyxml2.cpp)
    target_include_directories(tinyxml2_static SYSTEM PUBLIC ${TINYXML2_DIR})
    target_link_libraries(orvelle_tinyxml2 INTERFACE tinyxml2_static)
else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(TINYXML2 REQUIRED IMPORTED_TARGET tinyxml2)
    target_link_libraries(orvelle_tinyxml2 INTERFACE PkgConfig::TINYXML2)
endif()
