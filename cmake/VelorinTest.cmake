# velorin_add_gtest(NAME SOURCES... LIBS... LABEL label)
# One GoogleTest executable per unit; every test case becomes one CTest entry,
# named by the case name alone (parameterised tables give every case a name;
# the printed parameter would only repeat it, or dump raw bytes).
# Where starting a program is slow (under Wine, under the sanitizers) a
# program per case costs more than the cases: VELORIN_TESTS_PER_PROGRAM
# makes one CTest entry of each program, which runs all its cases and names
# the failed ones. A cross build runs its tests that way, through the
# emulator (Wine), so that building never starts it; a test program that
# hangs there (a crash waiting on a debugger, a process that never starts)
# is ended after VELORIN_WINE_TEST_TIMEOUT seconds, not left to hold up the
# run; the slowest program takes about two and a half minutes.
option(VELORIN_TESTS_PER_PROGRAM "One CTest entry per test program, not per test case"
       ${CMAKE_CROSSCOMPILING})
if(CMAKE_CROSSCOMPILING)
  set(VELORIN_WINE_TEST_TIMEOUT 900)
  set(velorin_test_timeout TIMEOUT ${VELORIN_WINE_TEST_TIMEOUT})
else()
  set(velorin_test_timeout)
endif()

function(velorin_add_gtest name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  if(VELORIN_TESTS_PER_PROGRAM)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1 WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABEL}" ${velorin_test_timeout})
    return()
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    NO_PRETTY_VALUES
    PROPERTIES LABELS "${ARG_LABEL}"
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
