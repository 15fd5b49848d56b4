# velorin_add_gtest(NAME SOURCES... LIBS... LABEL label)
# One GoogleTest executable per unit; every test case becomes one CTest entry,
# named by the case name alone (parameterised tables give every case a name;
# the printed parameter would only repeat it, or dump raw bytes).
# A cross build finds its test cases when CTest runs, through the emulator
# (Wine), so that building never starts it.
# Under Wine a test that hangs (a crash waiting on a debugger, a process
# that never starts) is ended after VELORIN_WINE_TEST_TIMEOUT seconds, not
# left to hold up the run; the slowest test takes about half a minute.
if(CMAKE_CROSSCOMPILING)
  set(VELORIN_DISCOVERY_MODE PRE_TEST)
  set(VELORIN_WINE_TEST_TIMEOUT 300)
  set(velorin_test_timeout TIMEOUT ${VELORIN_WINE_TEST_TIMEOUT})
else()
  set(VELORIN_DISCOVERY_MODE POST_BUILD)
  set(velorin_test_timeout)
endif()

function(velorin_add_gtest name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    NO_PRETTY_VALUES
    PROPERTIES LABELS "${ARG_LABEL}" ${velorin_test_timeout}
    DISCOVERY_MODE ${VELORIN_DISCOVERY_MODE}
    DISCOVERY_TIMEOUT 60)
endfunction()

# velorin_test_path(VAR PATH): PATH as the test programs see it. Tests of a
# Windows build run under Wine, which shows the build machine's root as Z:.
function(velorin_test_path var path)
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    set(path "Z:${path}")
  endif()
  set(${var} "${path}" PARENT_SCOPE)
endfunction()
