# Runs a fuzzer for a fixed time from its seed folders (those that exist),
# keeping what it learns in a corpus folder of the build.
#   cmake -DFUZZER=... -DCORPUS=... -DSEEDS="dir;dir" -DSECONDS=60 -P run_fuzz.cmake
file(MAKE_DIRECTORY ${CORPUS})
set(folders ${CORPUS})
foreach(seed ${SEEDS})
    if(IS_DIRECTORY ${seed})
        list(APPEND folders ${seed})
    endif()
endforeach()
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=20 -rss_limit_mb=2048
            -print_final_stats=1 ${folders}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${result}); the crashing input is in the working folder")
endif()
