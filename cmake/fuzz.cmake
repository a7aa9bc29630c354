# Fuzzing of the content readers: a separate clang build in
# ${CMAKE_BINARY_DIR}/fuzz (libFuzzer needs clang), each fuzzer run for its
# share of about half a minute by CTest (the list: cmake/fuzz/fuzzers.cmake).
# Only in the plain build: the sanitizer build compiles with gcc's
# sanitizers, which cannot be mixed with the fuzzer's own.
if(NOT KRV_SANITIZE)
    find_program(KRV_CLANGXX NAMES clang++ clang++-14)
    if(NOT KRV_CLANGXX)
        message(WARNING "clang++ not found: the content reader fuzzers are not built (tools/ensure-packages.sh installs it)")
    else()
        include(ExternalProject)
        ExternalProject_Add(krv_fuzz
            SOURCE_DIR ${CMAKE_SOURCE_DIR}/cmake/fuzz
            BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
            CMAKE_ARGS -DCMAKE_CXX_COMPILER=${KRV_CLANGXX}
                       -DCMAKE_BUILD_TYPE=RelWithDebInfo
                       -DKRV_SOURCE_DIR=${CMAKE_SOURCE_DIR}
            BUILD_ALWAYS ON
            INSTALL_COMMAND ""
            USES_TERMINAL_BUILD ON)

        # Each fuzzer keeps what it learns in a corpus folder of its own.
        function(krv_fuzzer name target_source seconds)
            cmake_parse_arguments(PARSE_ARGV 3 FUZZ "" "" "SOURCES;SEEDS")
            # The fuzz build passes over a listed fuzzer whose source is not
            # there yet; so does its test.
            if(NOT EXISTS ${CMAKE_SOURCE_DIR}/${target_source})
                return()
            endif()
            set(seeds "")
            foreach(seed ${FUZZ_SEEDS})
                cmake_path(ABSOLUTE_PATH seed BASE_DIRECTORY ${CMAKE_SOURCE_DIR})
                list(APPEND seeds ${seed})
            endforeach()
            add_test(NAME ${name}
                COMMAND ${CMAKE_COMMAND}
                    -DFUZZER=${CMAKE_BINARY_DIR}/fuzz/${name}
                    -DCORPUS=${CMAKE_BINARY_DIR}/fuzz/corpus/${name}
                    "-DSEEDS=${seeds}"
                    -DSECONDS=${seconds}
                    -P ${CMAKE_SOURCE_DIR}/cmake/fuzz/run_fuzz.cmake
                WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
            set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 180)
        endfunction()

        include(${CMAKE_SOURCE_DIR}/cmake/fuzz/fuzzers.cmake)
    endif()
endif()
