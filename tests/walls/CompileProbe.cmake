# cmake -DOBJECTS=... -DBUILD_DIR=... -DTARGET=... -P CompileProbe.cmake:
# builds TARGET after removing its objects, so its sources compile again; the
# compiler's output is the test's.
file(REMOVE ${OBJECTS})
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${TARGET})
