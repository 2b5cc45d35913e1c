# Runs the fuzzer for a fixed time from the seeds, with memory limits, and fails on any finding.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -rss_limit_mb=1024 -malloc_limit_mb=64
    -max_len=65536 -print_final_stats=1 -artifact_prefix=${WORK}/artifacts/
    ${WORK}/corpus ${SEEDS}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "fuzz-entries found a fault (status ${status}); see ${WORK}/artifacts")
endif()
