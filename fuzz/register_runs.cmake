# Registers a short run of each fuzzer built in NJ_FUZZ_BIN_DIR (a separate
# clang build) as a CTest test with the label "fuzz". A finding fails the run,
# and so does one input that takes longer than 20 s: a hang.
set(NJ_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzzer runs in the test suite")
foreach(fuzzer token_fuzz package_fuzz save_fuzz html_fuzz tree_edit_fuzz scene_fuzz mission_fuzz
        records_fuzz settings_fuzz replay_fuzz editor_fuzz)
  string(REPLACE "_fuzz" "" corpus ${fuzzer})
  set(work ${CMAKE_BINARY_DIR}/fuzz-runs/${corpus})
  file(MAKE_DIRECTORY ${work})
  add_test(NAME fuzz.${corpus}
    COMMAND ${NJ_FUZZ_BIN_DIR}/${fuzzer} -max_total_time=${NJ_FUZZ_SECONDS} -timeout=20 -rss_limit_mb=2048
            -print_final_stats=1 ${work} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${corpus}
    WORKING_DIRECTORY ${work})
  set_tests_properties(fuzz.${corpus} PROPERTIES LABELS fuzz TIMEOUT 300
    ENVIRONMENT "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
endforeach()
