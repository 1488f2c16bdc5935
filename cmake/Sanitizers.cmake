# Sanitizer and fuzzing builds (native only). Included before the layer
# libraries so that every layer, the tests and the fuzz targets are built alike.
#
# ORVELLE_SANITIZE=address  AddressSanitizer + UndefinedBehaviorSanitizer; any
#                           undefined behaviour stops the program (no recovery).
# ORVELLE_SANITIZE=thread   ThreadSanitizer (the load thread, the uninstall
#                           workers, the main-thread queue and the logger).
# ORVELLE_BUILD_FUZZERS=ON  libFuzzer targets under tests/fuzz (clang only); the
#                           layers get coverage instrumentation (fuzzer-no-link).
set(ORVELLE_SANITIZE "" CACHE STRING "Sanitizer build: address (ASan+UBSan), thread (TSan) or empty")
set_property(CACHE ORVELLE_SANITIZE PROPERTY STRINGS "" address thread)
option(ORVELLE_BUILD_FUZZERS "Build the libFuzzer targets (clang)" OFF)
option(ORVELLE_BUILD_BENCH "Build the benchmarks (Google Benchmark)" OFF)

if(WIN32 AND (ORVELLE_SANITIZE OR ORVELLE_BUILD_FUZZERS))
    message(FATAL_ERROR "Sanitizer and fuzzing builds are native (Linux) builds only")
endif()

set(ORVELLE_SANITIZER_FLAGS)
if(ORVELLE_SANITIZE STREQUAL "address")
    list(APPEND ORVELLE_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all)
elseif(ORVELLE_SANITIZE STREQUAL "thread")
    list(APPEND ORVELLE_SANITIZER_FLAGS -fsanitize=thread)
elseif(ORVELLE_SANITIZE)
    message(FATAL_ERROR "ORVELLE_SANITIZE must be address, thread or empty, not '${ORVELLE_SANITIZE}'")
endif()
if(ORVELLE_SANITIZER_FLAGS)
    # Frame pointers give whole stacks in every report, also through -O1 code.
    list(APPEND ORVELLE_SANITIZER_FLAGS -fno-omit-frame-pointer -g)
    add_compile_options(${ORVELLE_SANITIZER_FLAGS})
    add_link_options(${ORVELLE_SANITIZER_FLAGS})
endif()

if(ORVELLE_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "ORVELLE_BUILD_FUZZERS needs clang (configure with CXX=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
