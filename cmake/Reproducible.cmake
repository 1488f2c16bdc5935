# The same sources give the same executable on any machine and in any folder:
# no build folder inside the binary (__FILE__ in assertions and log lines, and
# debug information, name paths from the project folder), and no link time in
# the PE header (its TimeDateStamp stays 0; nothing in Windows reads it for an
# executable that binds no imports).
if(WIN32)
    add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
                        -ffile-prefix-map=${CMAKE_BINARY_DIR}/=
                        -fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=
                        -fmacro-prefix-map=${CMAKE_BINARY_DIR}/=)
    add_link_options(LINKER:--no-insert-timestamp)
endif()
