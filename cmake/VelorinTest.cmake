# velorin_add_gtest(NAME SOURCES... LIBS... LABEL label)
# One GoogleTest executable per unit; every test case becomes one CTest entry,
# named by the case name alone (parameterised tables give every case a name;
# the printed parameter would only repeat it, or dump raw bytes).
function(velorin_add_gtest name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    NO_PRETTY_VALUES
    PROPERTIES LABELS "${ARG_LABEL}"
    DISCOVERY_TIMEOUT 60)
endfunction()
