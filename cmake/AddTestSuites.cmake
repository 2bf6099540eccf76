# Run by CTest as it starts, once for each GoogleTest binary (see vornel_test): one test per
# test suite of the binary, named "<area>.<Suite>", which runs the suite's cases in one
# process. A process per case would spend most of the suite's time loading libraries.
# Expects VORNEL_SUITE_BINARY, VORNEL_SUITE_PREFIX and VORNEL_SUITE_DIR.
set(binary "${VORNEL_SUITE_BINARY}")
set(prefix "${VORNEL_SUITE_PREFIX}")
if(NOT EXISTS "${binary}")
  # Not built: one test that fails and says so.
  add_test("${prefix}.NOT_BUILT" "${binary}")
  return()
endif()
execute_process(COMMAND "${binary}" --gtest_list_tests
                OUTPUT_VARIABLE listing ERROR_VARIABLE error RESULT_VARIABLE rc TIMEOUT 120)
if(NOT rc EQUAL 0)
  add_test("${prefix}.LISTING_FAILED" "${binary}" --gtest_list_tests)
  return()
endif()
# Suite lines start in the first column and end with "." (a typed suite adds "  # ...").
string(REGEX MATCHALL "\n[^ \n][^\n]*" lines "\n${listing}")
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  string(REGEX REPLACE "  +#.*$" "" line "${line}")
  if(NOT line MATCHES "^([^ ]+)\\.$")
    continue()
  endif()
  set(suite "${CMAKE_MATCH_1}")
  add_test("${prefix}.${suite}" "${binary}" "--gtest_filter=${suite}.*")
  set_tests_properties("${prefix}.${suite}" PROPERTIES ENVIRONMENT "LANG=C.UTF-8"
                       WORKING_DIRECTORY "${VORNEL_SUITE_DIR}")
endforeach()
