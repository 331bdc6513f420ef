# Registers a short run of each fuzzer built in NJ_FUZZ_BIN_DIR (a separate
# clang build) as a CTest test with the label "fuzz". A finding fails the run,
# and so does one input that takes longer than 20 s: a hang.
#
# The page engine's allocations make ASan cost it two thirds of its speed, so
# when NJ_FUZZ_FAST_BIN_DIR holds a coverage-only build of the page fuzzers,
# they explore there, and a second test runs every input they kept again
# under ASan and UBSan. (What they keep reaches every path the run reached; an
# input that reached nothing new and would trip only a sanitizer goes unseen.)
set(NJ_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzzer runs in the test suite")
set(NJ_FAST_FUZZERS html_fuzz tree_edit_fuzz)
foreach(fuzzer token_fuzz package_fuzz save_fuzz html_fuzz tree_edit_fuzz scene_fuzz mission_fuzz
        records_fuzz settings_fuzz replay_fuzz editor_fuzz)
  string(REPLACE "_fuzz" "" corpus ${fuzzer})
  set(work ${CMAKE_BINARY_DIR}/fuzz-runs/${corpus})
  set(seeds ${PROJECT_SOURCE_DIR}/fuzz/corpus/${corpus})
  file(MAKE_DIRECTORY ${work})
  set(explorer ${NJ_FUZZ_BIN_DIR}/${fuzzer})
  set(explores_fast OFF)
  if(NJ_FUZZ_FAST_BIN_DIR AND fuzzer IN_LIST NJ_FAST_FUZZERS)
    set(explorer ${NJ_FUZZ_FAST_BIN_DIR}/${fuzzer})
    set(explores_fast ON)
  endif()
  add_test(NAME fuzz.${corpus}
    COMMAND ${explorer} -max_total_time=${NJ_FUZZ_SECONDS} -timeout=20 -rss_limit_mb=2048
            -print_final_stats=1 ${work} ${seeds}
    WORKING_DIRECTORY ${work})
  set_tests_properties(fuzz.${corpus} PROPERTIES LABELS fuzz TIMEOUT 300
    ENVIRONMENT "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
  if(explores_fast)
    # -runs=0: run what the corpus folders hold once, and no new inputs.
    add_test(NAME fuzz.${corpus}_sanitized
      COMMAND ${NJ_FUZZ_BIN_DIR}/${fuzzer} -runs=0 -timeout=20 -rss_limit_mb=2048 ${work} ${seeds}
      WORKING_DIRECTORY ${work})
    set_tests_properties(fuzz.${corpus}_sanitized PROPERTIES LABELS fuzz TIMEOUT 300
      DEPENDS fuzz.${corpus} ENVIRONMENT "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
  endif()
endforeach()
