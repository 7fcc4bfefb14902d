# Builds the fuzz targets (the project in this folder, with clang) into
# <build>/fuzz and runs each for a while as a test, which fails on any crash,
# sanitizer report, failed check, leak, timeout or out-of-memory. New inputs go
# to a scratch corpus in the build folder; the committed corpus is only read.
include(ExternalProject)
ExternalProject_Add(fuzz_targets
  SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)

set(POLMERA_FUZZ_SECONDS 60 CACHE STRING "How long each fuzz target runs in the tests")
# target and the committed corpus it starts from
set(fuzz_targets read_mesh:mesh round_trip:mesh xform_file:xform_file)
foreach(entry IN LISTS fuzz_targets)
  string(REPLACE ":" ";" entry ${entry})
  list(GET entry 0 target)
  list(GET entry 1 corpus)
  set(scratch ${CMAKE_BINARY_DIR}/fuzz/scratch/${target})
  file(MAKE_DIRECTORY ${scratch})
  set(inputs ${CMAKE_CURRENT_LIST_DIR}/corpus/${corpus})
  if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/regressions/${target})
    list(APPEND inputs ${CMAKE_CURRENT_LIST_DIR}/regressions/${target})
  endif()
  add_test(NAME fuzz.${target}
           COMMAND ${CMAKE_BINARY_DIR}/fuzz/fuzz_${target} ${scratch} ${inputs}
                   -max_total_time=${POLMERA_FUZZ_SECONDS} -rss_limit_mb=2048 -timeout=10
                   -close_fd_mask=2 -print_final_stats=1 -artifact_prefix=${scratch}/../${target}-)
  set_tests_properties(fuzz.${target} PROPERTIES TIMEOUT 600)
endforeach()
