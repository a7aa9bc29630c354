# Fuzzing of the object file reader: a separate clang build in
# ${CMAKE_BINARY_DIR}/fuzz (libFuzzer needs clang), run for a minute by CTest.
# Only in the plain build: the sanitizer build compiles with gcc's
# sanitizers, which cannot be mixed with the fuzzer's own.
if(NOT KRV_SANITIZE)
    find_program(KRV_CLANGXX NAMES clang++ clang++-14)
    if(NOT KRV_CLANGXX)
        message(WARNING "clang++ not found: the model reader fuzzer is not built (tools/ensure-packages.sh installs it)")
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

        add_test(NAME model_reader_fuzz
            COMMAND ${CMAKE_COMMAND}
                -DFUZZER=${CMAKE_BINARY_DIR}/fuzz/model_reader_fuzz
                -DCORPUS=${CMAKE_BINARY_DIR}/fuzz/corpus
                "-DSEEDS=${CMAKE_SOURCE_DIR}/tests/geometry/fuzz_seeds;${KRV_GAME_DIR}/Objects"
                -DSECONDS=60
                -P ${CMAKE_SOURCE_DIR}/cmake/fuzz/run_fuzz.cmake
            WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
        set_tests_properties(model_reader_fuzz PROPERTIES LABELS fuzz TIMEOUT 180)
    endif()
endif()
